#include "platform/audio/spectrum_fft.h"

#include <fftw3.h>

#include <cmath>
#include <mutex>

namespace bassimpl {

namespace {

// FFTW's planner is not thread-safe; executing finished plans is.
std::mutex& PlannerLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}

constexpr float kMagnitudeScale = 2.0f / kFftSize;

}  // namespace

SpectrumAnalyser::SpectrumAnalyser() {
    const double pi = std::acos(-1.0);
    for (int n = 0; n < kFftSize; ++n) {
        window_[n] = static_cast<float>(0.5 - 0.5 * std::cos(2.0 * pi * n / kFftSize));
    }
    std::lock_guard<std::mutex> hold(PlannerLock());
    input_ = fftwf_alloc_real(kFftSize);
    fftwf_complex* output = fftwf_alloc_complex(kFftSize / 2 + 1);
    output_ = output;
    // Measured once per analyser; the planner overwrites the arrays, which hold nothing yet.
    plan_ = fftwf_plan_dft_r2c_1d(kFftSize, input_, output, FFTW_MEASURE);
    for (int n = 0; n < kFftSize; ++n) input_[n] = 0.0f;
}

SpectrumAnalyser::~SpectrumAnalyser() {
    std::lock_guard<std::mutex> hold(PlannerLock());
    fftwf_destroy_plan(static_cast<fftwf_plan>(plan_));
    fftwf_free(output_);
    fftwf_free(input_);
}

void SpectrumAnalyser::Run(const float* mono, float* bins) {
    // Unaliased, so the window is applied several samples at a time.
    float* __restrict__ in = input_;
    const float* __restrict__ w = window_;
    const float* __restrict__ x = mono;
    for (int n = 0; n < kFftSize; ++n) in[n] = w[n] * x[n];
    fftwf_execute(static_cast<fftwf_plan>(plan_));
    Magnitudes(static_cast<const float*>(output_), bins);
}

void SpectrumAnalyser::Magnitudes(const float* __restrict__ interleaved, float* __restrict__ bins) {
    for (int k = 0; k < kFftBins; ++k) {
        float re = interleaved[2 * k];
        float im = interleaved[2 * k + 1];
        bins[k] = std::sqrt(re * re + im * im) * kMagnitudeScale;
    }
}

void SpectrumAnalyser::RunFrames(const std::int16_t* interleavedStereo, float* bins) {
    float mono[kFftSize];
    for (int n = 0; n < kFftSize; ++n) mono[n] = MonoOf(interleavedStereo + 2 * n);
    Run(mono, bins);
}

}  // namespace bassimpl
