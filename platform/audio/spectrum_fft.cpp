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

void SpectrumAnalyser::Run(float* bins) {
    fftwf_execute(static_cast<fftwf_plan>(plan_));
    const fftwf_complex* out = static_cast<const fftwf_complex*>(output_);
    for (int k = 0; k < kFftBins; ++k) {
        float re = out[k][0];
        float im = out[k][1];
        bins[k] = std::sqrt(re * re + im * im) * kMagnitudeScale;
    }
}

void SpectrumAnalyser::RunFrames(const std::int16_t* interleavedStereo, float* bins) {
    for (int n = 0; n < kFftSize; ++n) {
        float mono = (static_cast<float>(interleavedStereo[2 * n]) + interleavedStereo[2 * n + 1]) * kMonoScale;
        input_[n] = window_[n] * mono;
    }
    Run(bins);
}

}  // namespace bassimpl
