#include "capture/encoder.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "capture/options.h"

namespace {

std::string Number(double value) {
    char text[64];
    std::snprintf(text, sizeof(text), "%.9g", value);
    return text;
}

}  // namespace

VideoEncoder::~VideoEncoder() {
    if (pipe_ >= 0) close(pipe_);
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

bool VideoEncoder::Start(const EncoderSettings& settings, std::string* error) {
    settings_ = settings;
    int pictureWidth, pictureHeight;
    FitPicture(settings.videoWidth, settings.videoHeight, &pictureWidth, &pictureHeight);
    std::string filter = "vflip,scale=" + std::to_string(pictureWidth) + ":" + std::to_string(pictureHeight) +
                         ":flags=bicubic,pad=" + std::to_string(settings.videoWidth) + ":" +
                         std::to_string(settings.videoHeight) + ":(ow-iw)/2:(oh-ih)/2:black,setsar=1";
    std::vector<std::string> args = {
        "ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y",
        "-f", "rawvideo", "-pix_fmt", "rgb24",
        "-s", std::to_string(settings.frameWidth) + "x" + std::to_string(settings.frameHeight),
        "-framerate", Number(settings.fps), "-i", "pipe:0"};
    if (!settings.soundtrack.empty()) {
        args.insert(args.end(), {"-ss", Number(settings.soundtrackStart), "-i", settings.soundtrack});
    }
    args.insert(args.end(), {"-map", "0:v"});
    if (!settings.soundtrack.empty()) {
        args.insert(args.end(), {"-map", "1:a", "-c:a", "aac", "-b:a", "192k", "-ac", "2"});
    }
    // A fixed thread count and preset keep two captures of the same frames bit-identical.
    args.insert(args.end(), {"-vf", filter, "-c:v", "libx264", "-preset", "veryfast", "-crf", "18",
                             "-pix_fmt", "yuv420p", "-threads", "2", "-t", Number(settings.duration),
                             "-movflags", "+faststart", settings.output});

    int fds[2];
    if (pipe(fds) != 0) {
        *error = "cannot make a pipe to ffmpeg";
        return false;
    }
    pid_ = fork();
    if (pid_ < 0) {
        close(fds[0]);
        close(fds[1]);
        *error = "cannot start ffmpeg";
        return false;
    }
    if (pid_ == 0) {
        dup2(fds[0], STDIN_FILENO);
        close(fds[0]);
        close(fds[1]);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        std::fprintf(stderr, "glimmerset-capture: cannot run ffmpeg (is it installed?)\n");
        _exit(127);
    }
    close(fds[0]);
    pipe_ = fds[1];
    // A dead ffmpeg must show up as a failed write, not end this process.
    signal(SIGPIPE, SIG_IGN);
    return true;
}

bool VideoEncoder::WriteFrame(const unsigned char* rgb) {
    if (pipe_ < 0) return false;
    size_t size = static_cast<size_t>(settings_.frameWidth) * settings_.frameHeight * 3;
    size_t done = 0;
    while (done < size) {
        ssize_t n = write(pipe_, rgb + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool VideoEncoder::Finish(std::string* error) {
    if (pipe_ >= 0) {
        close(pipe_);
        pipe_ = -1;
    }
    if (pid_ <= 0) {
        *error = "ffmpeg was not started";
        return false;
    }
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        *error = WIFEXITED(status) && WEXITSTATUS(status) == 127 ? "ffmpeg is not installed"
                                                                 : "ffmpeg could not write the video";
        return false;
    }
    return true;
}
