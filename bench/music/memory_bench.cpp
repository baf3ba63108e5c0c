// Memory of a playing stream against the file's length: plays a ten-minute and a ten-second MP3
// through the stream (exact-seek scan at creation, then decoding to the end with a spectrum query
// for every 1/60 s of music), each in a process of its own, and prints each process's peak resident
// memory. Decoding goes as it does when the device plays; the clock is virtual so that ten minutes
// of music take seconds.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/audio/bass.h"
#include "platform/audio/bass_seam.h"
#include "tools/soundtrack/mp3_encode.h"

namespace {

// Writes `seconds` of changing two-voice music a second at a time, so the writer stays small.
bool WriteMusic(const std::string& path, double seconds) {
    const double pi = std::acos(-1.0);
    const int rate = 44100;
    mp3encode::Settings settings;
    settings.kbps = 128;
    settings.quality = 7;
    mp3encode::FileWriter writer;
    if (!writer.Open(path, settings)) return false;
    std::vector<std::int16_t> second(2 * rate);
    std::size_t frame = 0;
    for (int s = 0; s < static_cast<int>(seconds); ++s) {
        for (int i = 0; i < rate; ++i, ++frame) {
            double t = static_cast<double>(frame) / rate;
            double a = 110.0 * (1 + (frame / (rate / 4)) % 7);
            second[2 * i] = static_cast<std::int16_t>(std::lrint(7000.0 * std::sin(2 * pi * a * t)));
            second[2 * i + 1] = static_cast<std::int16_t>(std::lrint(5000.0 * std::sin(2 * pi * 1.5 * a * t)));
        }
        if (!writer.Write(second.data(), rate)) return false;
    }
    return writer.Close();
}

// Plays the file to its end; the child's exit status says whether every query succeeded.
int PlayToTheEnd(const std::string& path) {
    double now = 0.0;
    bassseam::SetVirtualPlayback([&now] { return now; });
    if (!BASS_Init(1, 44100, 0, nullptr, nullptr)) return 2;
    HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_SEEK_EXACT);
    if (stream == 0 || !BASS_StreamPlay(stream, FALSE, 0)) return 3;
    double seconds = static_cast<double>(bassseam::StreamLength(stream)) / bassseam::StreamRate(stream);
    std::printf("  (%s: %.1f s of music)\n", path.c_str(), seconds);
    std::fflush(stdout);
    float bins[512];
    long queries = 0;
    long sounding = 0;
    for (long frame = 0; now < seconds; ++frame, ++queries) {
        now = frame / 60.0;
        if (BASS_ChannelGetData(stream, bins, BASS_DATA_FFT512) != 1024) return 4;
        if (*std::max_element(bins, bins + 256) > 0.01f) ++sounding;
    }
    // The music was really decoded: every query but the first few heard it.
    return sounding + 2 >= queries ? 0 : 5;
}

struct Measured {
    bool ok;
    long peakKilobytes;
    double seconds;
};

Measured InChild(const std::function<int()>& body) {
    auto start = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child == 0) _exit(body());
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) return {false, 0, 0.0};
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, usage.ru_maxrss, seconds};
}

}  // namespace

int main() {
    char folder[] = "/tmp/glimmerset-memory-XXXXXX";
    if (mkdtemp(folder) == nullptr) return 1;
    const std::string shortFile = std::string(folder) + "/short.mp3";
    const std::string longFile = std::string(folder) + "/long.mp3";
    if (!InChild([&] { return WriteMusic(shortFile, 10.0) ? 0 : 1; }).ok ||
        !InChild([&] { return WriteMusic(longFile, 600.0) ? 0 : 1; }).ok) {
        std::fprintf(stderr, "cannot write the test files in %s\n", folder);
        return 1;
    }
    Measured idle = InChild([] { return 0; });
    Measured brief = InChild([&] { return PlayToTheEnd(shortFile); });
    Measured full = InChild([&] { return PlayToTheEnd(longFile); });
    std::remove(shortFile.c_str());
    std::remove(longFile.c_str());
    rmdir(folder);
    if (!brief.ok || !full.ok) {
        std::fprintf(stderr, "playback failed\n");
        return 1;
    }
    std::printf("peak resident memory (KiB)\n");
    std::printf("  process that plays nothing:   %6ld\n", idle.peakKilobytes);
    std::printf("  10 s MP3 played to its end:   %6ld  (%.2f s)\n", brief.peakKilobytes, brief.seconds);
    std::printf("  10 min MP3 played to its end: %6ld  (%.2f s)\n", full.peakKilobytes, full.seconds);
    std::printf("  growth from 10 s to 10 min:   %6ld KiB\n", full.peakKilobytes - brief.peakKilobytes);
    return 0;
}
