// The 512-sample spectrum: a Hann window, one real-to-complex FFT (FFTW, single precision, planned
// once) and 256 magnitudes.
//
// Scale: bin k = |sum over n of w[n] x[n] e^(-2 pi i k n / 512)| / 256, with x the mono mix
// (left + right) / 2 of 16-bit samples divided by 32768, and w[n] = 0.5 - 0.5 cos(2 pi n / 512).
// A full-scale sine whose frequency is a bin's centre reads 0.5 in that bin (0.25 in each
// neighbour); a constant offset d reads d in bin 0; silence reads 0 everywhere.
#ifndef GLIMMERSET_PLATFORM_AUDIO_SPECTRUM_FFT_H
#define GLIMMERSET_PLATFORM_AUDIO_SPECTRUM_FFT_H

#include <cstdint>

namespace bassimpl {

constexpr int kFftSize = 512;
constexpr int kFftBins = 256;
// One 16-bit stereo frame to one mono sample: (left + right) * kMonoScale.
constexpr float kMonoScale = 1.0f / 65536.0f;

class SpectrumAnalyser {
public:
    SpectrumAnalyser();
    ~SpectrumAnalyser();
    SpectrumAnalyser(const SpectrumAnalyser&) = delete;
    SpectrumAnalyser& operator=(const SpectrumAnalyser&) = delete;

    // Windows 512 mono samples (full scale = 1), transforms them and writes the 256 magnitudes to
    // bins[0..255].
    void Run(const float* mono, float* bins);

    // The same for 512 interleaved 16-bit stereo frames, mixed to mono first.
    void RunFrames(const std::int16_t* interleavedStereo, float* bins);

private:
    static void Magnitudes(const float* interleaved, float* bins);

    float window_[kFftSize];
    float* input_;
    void* output_;
    void* plan_;
};

// One 16-bit stereo frame as a mono sample; the history of played frames stores these.
inline float MonoOf(const std::int16_t* frame) {
    return (static_cast<float>(frame[0]) + frame[1]) * kMonoScale;
}

}  // namespace bassimpl

#endif
