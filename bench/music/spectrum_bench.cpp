// The spectrum query against the bare transform it is built on: BASS_ChannelGetData with the FFT
// flag on a live stream (dummy output), and FFTW's 512-point real transform alone on the same kind
// of data with a plan made the same way. Prints both and their ratio.
#include <benchmark/benchmark.h>
#include <fftw3.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/bass.h"
#include "platform/audio/bass_seam.h"
#include "tools/soundtrack/mp3_encode.h"

namespace {

HSTREAM g_stream = 0;
std::vector<float> g_samples;

std::vector<std::int16_t> Music(int rate, double seconds) {
    const double pi = std::acos(-1.0);
    std::size_t frames = static_cast<std::size_t>(seconds * rate);
    std::vector<std::int16_t> pcm(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / rate;
        double a = 220.0 * (1 + (i / (rate / 8)) % 5);
        double v = 8000.0 * std::sin(2 * pi * a * t) + 3000.0 * std::sin(2 * pi * 3.1 * a * t);
        pcm[2 * i] = pcm[2 * i + 1] = static_cast<std::int16_t>(std::lrint(v));
    }
    return pcm;
}

bool SetUp() {
    if (std::getenv("SDL_AUDIODRIVER") == nullptr) setenv("SDL_AUDIODRIVER", "dummy", 1);
    char folder[] = "/tmp/glimmerset-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) return false;
    std::string path = std::string(folder) + "/music.mp3";
    std::vector<std::int16_t> pcm = Music(44100, 30.0);
    mp3encode::FileWriter writer;
    mp3encode::Settings settings;
    if (!writer.Open(path, settings) || !writer.Write(pcm.data(), pcm.size() / 2) || !writer.Close()) return false;
    if (!BASS_Init(1, 44100, 0, nullptr, nullptr)) return false;
    g_stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_SEEK_EXACT);
    if (g_stream == 0 || !BASS_StreamPlay(g_stream, FALSE, 0)) return false;
    while (bassseam::CursorFrames(g_stream) < 22050) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    g_samples.resize(512);
    for (int n = 0; n < 512; ++n) g_samples[n] = (pcm[2 * (44100 + n)] + pcm[2 * (44100 + n) + 1]) / 65536.0f;
    std::remove(path.c_str());
    rmdir(folder);
    return true;
}

void BM_ChannelGetDataFft512(benchmark::State& state) {
    float buffer[512] = {};
    for (auto _ : state) {
        DWORD written = BASS_ChannelGetData(g_stream, buffer, BASS_DATA_FFT512);
        benchmark::DoNotOptimize(written);
        benchmark::DoNotOptimize(buffer[3]);
    }
}
BENCHMARK(BM_ChannelGetDataFft512);

void BM_BareFftwR2c512(benchmark::State& state) {
    float* in = fftwf_alloc_real(512);
    fftwf_complex* out = fftwf_alloc_complex(257);
    fftwf_plan plan = fftwf_plan_dft_r2c_1d(512, in, out, FFTW_MEASURE);
    for (int n = 0; n < 512; ++n) in[n] = g_samples[n];
    for (auto _ : state) {
        fftwf_execute(plan);
        benchmark::DoNotOptimize(out[3][0]);
    }
    fftwf_destroy_plan(plan);
    fftwf_free(out);
    fftwf_free(in);
}
BENCHMARK(BM_BareFftwR2c512);

// Keeps the mean time per iteration of every run next to the usual console report.
class Collector : public benchmark::ConsoleReporter {
public:
    Collector() : ConsoleReporter(OO_Tabular) {}
    std::map<std::string, double> nanoseconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.iterations > 0 && run.run_type == Run::RT_Iteration) {
                nanoseconds[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (!SetUp()) {
        std::fprintf(stderr, "cannot set up a playing stream\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    Collector reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    auto query = reporter.nanoseconds.find("BM_ChannelGetDataFft512");
    auto bare = reporter.nanoseconds.find("BM_BareFftwR2c512");
    if (query != reporter.nanoseconds.end() && bare != reporter.nanoseconds.end() && bare->second > 0) {
        std::printf("spectrum query / bare FFT: %.0f ns / %.0f ns = %.2fx (goal: at most 2x)\n", query->second,
                    bare->second, query->second / bare->second);
    }
    return 0;
}
