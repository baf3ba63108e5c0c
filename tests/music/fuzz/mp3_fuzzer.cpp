// libFuzzer target for the audio layer's MP3 streams: every input is written to a file, opened with
// BASS_StreamCreateFile and played virtually, the clock walking through the file, back, far past
// its end and before its start, with a seek in between, a spectrum taken at every step; then the
// file is decoded once more from its start. Sanitizers catch misuse of memory, libFuzzer's timeout a
// decoder that hangs, and the checks below a query that fails or gives impossible magnitudes.
//
// The seeds in corpus/ are short tones encoded with tools/soundtrack's mp3_encode (44100 Hz stereo
// at 64 kbps, 22050 Hz mono at 32 kbps, 48000 Hz stereo at 64 kbps), and the first of them cut in
// half, with garbage in its middle, and behind an ID3 tag that claims far more than there is.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/audio/bass.h"
#include "platform/audio/bass_seam.h"

namespace {

std::string inputPath;
double clockNow = 0.0;

void Check(bool ok) {
    if (!ok) std::abort();
}

// Every magnitude lies in [0, 1]: |sum w x| / 256 cannot exceed sum w / 256 = 1 within full scale.
void QueryAt(HSTREAM stream, double seconds) {
    clockNow = seconds;
    float bins[512];
    for (float& b : bins) b = -7.0f;
    Check(BASS_ChannelGetData(stream, bins, BASS_DATA_FFT512) == 256 * sizeof(float));
    for (int k = 0; k < 256; ++k) Check(bins[k] >= 0.0f && bins[k] <= 1.0001f);
    for (int k = 256; k < 512; ++k) Check(bins[k] == -7.0f);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/mp3-fuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    inputPath = std::string(pattern) + "/input.mp3";
    bassseam::SetVirtualPlayback([] { return clockNow; });
    Check(BASS_Init(1, 44100, 0, nullptr, nullptr) != FALSE);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(inputPath.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);

    // Both ways of opening: with the exact-seek scan and without it.
    const DWORD flags = (size & 1) ? 0 : BASS_SEEK_EXACT;
    clockNow = 0.0;
    HSTREAM stream = BASS_StreamCreateFile(FALSE, inputPath.c_str(), 0, 0, flags);
    if (stream != 0) {
        const int rate = bassseam::StreamRate(stream);
        Check(rate >= 8000 && rate <= 48000);
        const std::int64_t length = bassseam::StreamLength(stream);
        const double seconds = length >= 0 ? static_cast<double>(length) / rate : 1.0;
        QueryAt(stream, 0.0);  // not playing yet: silence
        Check(BASS_StreamPlay(stream, FALSE, 0) != FALSE);
        const double span = std::min(seconds + 0.1, 3.0);
        for (int i = 0; i <= 24; ++i) QueryAt(stream, span * i / 24);
        for (double t : {span / 3, 0.001, 1e6, -5.0, span / 2}) QueryAt(stream, t);
        BASS_ChannelSetPosition(stream, static_cast<QWORD>(length > 0 ? length / 2 : 0) * 4);
        for (int i = 0; i < 4; ++i) QueryAt(stream, span / 2 + 0.05 * i);
    }

    bassseam::DecodeFile(inputPath.c_str(), [](const std::int16_t*, std::size_t, int) {});
    return 0;
}
