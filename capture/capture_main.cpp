// glimmerset-capture: the show, unchanged, on a platform with no display and a virtual clock; every
// presented frame goes to the video encoder.
#include <GL/gl.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "capture/encoder.h"
#include "capture/options.h"
#include "capture/progress.h"
#include "capture/soundtrack.h"
#include "capture/virtual_clock.h"
#include "platform/win32/common/codepage.h"
#include "platform/win32/win32.h"
#include "platform/win32/win32_seam.h"

namespace {

const char kSoundtrack[] = "velloro - trance4m.mp3";

std::string Absolute(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    char cwd[4096];
    if (getcwd(cwd, sizeof(cwd)) == nullptr) return path;
    return std::string(cwd) + "/" + path;
}

}  // namespace

int main(int argc, char** argv) {
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "glimmerset-capture: %s\n\n%s", error.c_str(), kCaptureUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(kCaptureUsage, stdout);
        return 0;
    }
    // The video lands where the user asked, relative to where they started the program; the show
    // itself reads its files from its own folder.
    std::string output = Absolute(options.output);
    if (chdir(options.assets.c_str()) != 0) {
        std::fprintf(stderr, "glimmerset-capture: cannot enter the asset folder %s\n", options.assets.c_str());
        return 2;
    }

    const int frames = static_cast<int>(std::lround(options.duration * options.fps));
    VirtualClock clock(options.fps, options.start, frames);

    EncoderSettings settings;
    settings.output = output;
    settings.videoWidth = options.width;
    settings.videoHeight = options.height;
    settings.fps = options.fps;
    settings.duration = frames / options.fps;
    if (access(kSoundtrack, R_OK) == 0) {
        settings.soundtrack = Absolute(kSoundtrack);
        settings.soundtrackStart = options.start;
    }
    VideoEncoder encoder;
    if (!encoder.Start(settings, &error)) {
        std::fprintf(stderr, "glimmerset-capture: %s\n", error.c_str());
        return 1;
    }

    win32seam::UseOffscreenDisplay();
    win32seam::SetCounter([&clock]() { return clock.Read(); }, VirtualClock::kFrequency);
    // Nobody is there to click a box away: say it and go on.
    win32seam::SetMessageBoxHook([](HWND, const char* text, const char* caption, UINT) {
        std::fprintf(stderr, "%s: %s\n", win32::AnsiToUtf8(caption).c_str(), win32::AnsiToUtf8(text).c_str());
        return IDOK;
    });
    // The spectrum of frame n is the soundtrack's at that frame's demo time.
    FollowSoundtrack([&clock]() { return clock.FrameTime(clock.frame()); }, options.start);

    std::vector<unsigned char> frame(800 * 600 * 3);
    bool encoderFailed = false;
    auto started = std::chrono::steady_clock::now();
    auto lastReport = started - std::chrono::seconds(1);
    win32seam::SetSwapHook([&](HDC) {
        if (clock.finished()) return;
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
        if (!encoderFailed && !encoder.WriteFrame(frame.data())) encoderFailed = true;
        clock.FrameDone();
        auto now = std::chrono::steady_clock::now();
        if (options.progress && (now - lastReport > std::chrono::milliseconds(250) || clock.finished())) {
            lastReport = now;
            double elapsed = std::chrono::duration<double>(now - started).count();
            std::fprintf(stderr, "\r%s", ProgressLine(clock.frame(), clock.frames(), elapsed).c_str());
        }
    });

    char commandLine[] = "";
    WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
    if (options.progress) std::fputc('\n', stderr);

    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!encoder.Finish(&error) || encoderFailed) {
        std::fprintf(stderr, "glimmerset-capture: %s\n", encoderFailed ? "ffmpeg stopped taking frames" : error.c_str());
        return 1;
    }
    if (clock.frame() < frames) {
        std::fprintf(stderr, "glimmerset-capture: the show ended after %d of %d frames\n", clock.frame(), frames);
        return 1;
    }
    std::fprintf(stderr, "Wrote %s: %d frames at %g fps in %.1f s (%.1f frames per second).\n", output.c_str(),
                 frames, options.fps, seconds, frames / seconds);
    return 0;
}
