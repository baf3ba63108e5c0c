// Sound made in the test: PCM of known content, encoded to MP3 with libmp3lame (independent of the
// decoder under test), a plain DFT to check spectra against, and a child process to run what might
// crash or hang.
#ifndef GLIMMERSET_TESTS_MUSIC_AUDIO_FIXTURES_H
#define GLIMMERSET_TESTS_MUSIC_AUDIO_FIXTURES_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace audio_fixtures {

constexpr double kFullScale = 32767.0;

// Interleaved stereo (or mono) PCM of `seconds`, silent but for a sine of `hz` at `amplitude`
// (1 = full scale) from `toneStart` to `toneEnd` seconds.
std::vector<std::int16_t> Tone(int rate, int channels, double seconds, double hz, double amplitude,
                               double toneStart = 0.0, double toneEnd = 1e9);

// Writes the PCM as an MP3 file (LAME tag included); returns the file's bytes too.
std::string WriteMp3(const std::string& path, const std::vector<std::int16_t>& pcm, int rate, int channels,
                     int kbps = 256);

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// The whole file as the stream decodes it: interleaved stereo frames, and its rate.
std::vector<std::int16_t> Decode(const std::string& path, int* rate = nullptr);

// Bins 0..255 of the 512 frames before `end`, by a direct DFT in double precision with the
// documented window and scale: |sum w[n] x[n] e^(-2 pi i k n / 512)| / 256, x = (L + R) / 65536.
std::vector<double> ReferenceBins(const std::vector<std::int16_t>& stereo, long end);

enum class ChildEnd { kExited, kCrashed, kTimedOut };
struct ChildResult {
    ChildEnd end;
    int value;  // exit status or signal
};
// Runs body in a child process; its result is the exit status (0 when body returns true).
ChildResult RunInChild(double timeoutSeconds, const std::function<bool()>& body);

}  // namespace audio_fixtures

#endif
