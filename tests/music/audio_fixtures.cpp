#include "tests/music/audio_fixtures.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/audio/bass_seam.h"
#include "tools/soundtrack/mp3_encode.h"

namespace audio_fixtures {

std::vector<std::int16_t> Tone(int rate, int channels, double seconds, double hz, double amplitude,
                               double toneStart, double toneEnd) {
    const double pi = std::acos(-1.0);
    std::size_t frames = static_cast<std::size_t>(std::llround(seconds * rate));
    long first = std::lround(toneStart * rate);
    long last = toneEnd > seconds ? static_cast<long>(frames) : std::lround(toneEnd * rate);
    std::vector<std::int16_t> pcm(frames * channels, 0);
    for (long i = std::max(first, 0L); i < last && i < static_cast<long>(frames); ++i) {
        double v = amplitude * kFullScale * std::sin(2.0 * pi * hz * (i - first) / rate);
        for (int c = 0; c < channels; ++c) pcm[i * channels + c] = static_cast<std::int16_t>(std::lrint(v));
    }
    return pcm;
}

std::string WriteMp3(const std::string& path, const std::vector<std::int16_t>& pcm, int rate, int channels,
                     int kbps) {
    mp3encode::Settings settings;
    settings.rate = rate;
    settings.channels = channels;
    settings.kbps = kbps;
    settings.quality = 2;
    std::string bytes = mp3encode::Encode(pcm.data(), pcm.size() / channels, settings);
    WriteFile(path, bytes);
    return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::int16_t> Decode(const std::string& path, int* rate) {
    std::vector<std::int16_t> pcm;
    int r = 0;
    bassseam::DecodeFile(path.c_str(), [&](const std::int16_t* p, std::size_t frames, int fileRate) {
        pcm.insert(pcm.end(), p, p + frames * 2);
        r = fileRate;
    });
    if (rate != nullptr) *rate = r;
    return pcm;
}

std::vector<double> ReferenceBins(const std::vector<std::int16_t>& stereo, long end) {
    const double pi = std::acos(-1.0);
    std::vector<double> x(512, 0.0);
    long frames = static_cast<long>(stereo.size() / 2);
    for (long n = 0; n < 512; ++n) {
        long f = end - 512 + n;
        double mono = (f >= 0 && f < frames) ? (stereo[2 * f] + static_cast<double>(stereo[2 * f + 1])) / 65536.0 : 0.0;
        x[n] = (0.5 - 0.5 * std::cos(2.0 * pi * n / 512)) * mono;
    }
    std::vector<double> bins(256);
    for (int k = 0; k < 256; ++k) {
        double re = 0.0;
        double im = 0.0;
        for (int n = 0; n < 512; ++n) {
            re += x[n] * std::cos(2.0 * pi * k * n / 512);
            im -= x[n] * std::sin(2.0 * pi * k * n / 512);
        }
        bins[k] = std::hypot(re, im) / 256.0;
    }
    return bins;
}

ChildResult RunInChild(double timeoutSeconds, const std::function<bool()>& body) {
    pid_t child = fork();
    if (child == 0) {
        bool ok = body();
        _exit(ok ? 0 : 1);
    }
    if (child < 0) return {ChildEnd::kCrashed, -1};
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    int status = 0;
    for (;;) {
        pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) break;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return {ChildEnd::kTimedOut, 0};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (WIFSIGNALED(status)) return {ChildEnd::kCrashed, WTERMSIG(status)};
    return {ChildEnd::kExited, WEXITSTATUS(status)};
}

}  // namespace audio_fixtures
