// The wobble and lag phases per vertex on models of 10k, 100k and 1M vertices (normal
// recomputation included), each beside a floor: the same sines and cosines in a bare loop over
// the same number of vertices.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "bench/models/floor_report.h"
#include "demo/lag.h"
#include "demo/wobble.h"
#include "tools/models/ebr_writer.h"
#include "tools/models/shapes.h"

namespace {

// The working and rest copies of a lumpy sphere of about `vertices` vertices, loaded from a file
// written once per size.
struct Copies {
    std::unique_ptr<Model> working;
    std::unique_ptr<Model> rest;
};

Copies& Load(int vertices) {
    static std::map<int, Copies> cache;
    Copies& copies = cache[vertices];
    if (copies.working) return copies;
    const int columns = static_cast<int>(std::sqrt(static_cast<double>(vertices)));
    const ebr::MeshData data = ebr::ClosedSurface("bench", columns, columns + 1, [](double theta, double phi) {
        const double r = 60.0 * (1.0 + 0.1 * std::sin(3 * theta) * std::cos(2 * phi));
        return ebr::Point{r * std::cos(phi) * std::cos(theta), r * std::cos(phi) * std::sin(theta), r * std::sin(phi)};
    }, false);
    char path[] = "/tmp/effects-bench-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0 || !ebr::WriteFile(path, ebr::Encode({data}))) std::abort();
    close(fd);
    copies.working.reset(new Model(path));
    copies.rest.reset(new Model(path));
    unlink(path);
    if (copies.working->meshCount != 1) std::abort();
    return copies;
}

void Wobble(benchmark::State& state) {
    Copies& c = Load(static_cast<int>(state.range(0)));
    float t = 1.0f;
    for (auto _ : state) {
        WobblePhase(t, *c.working, *c.rest);
        t += 0.016f;
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::to_string(c.working->meshes[0]->vertexCount) + " vertices");
}

void WobbleFloor(benchmark::State& state) {
    Copies& c = Load(static_cast<int>(state.range(0)));
    const Mesh& r = *c.rest->meshes[0];
    double t = 1.0;
    for (auto _ : state) {
        double sum = 0;
        for (int i = 0; i < r.vertexCount; ++i) {
            const Vec3 n = r.normals[i];
            sum += std::sin(3.0 * n.x + t) * std::sin(4.0 * n.y + t) * std::sin(5.0 * n.z + t);
        }
        benchmark::DoNotOptimize(sum);
        t += 0.016;
    }
}

void Lag(benchmark::State& state) {
    Copies& c = Load(static_cast<int>(state.range(0)));
    LagBuffers lag;
    LagSetup(lag, *c.working);
    float t = 1.0f;
    for (auto _ : state) {
        LagPhase(lag, t, 3e-6f, *c.working, *c.rest);
        t += 0.016f;
        benchmark::ClobberMemory();
    }
}

void LagFloor(benchmark::State& state) {
    Copies& c = Load(static_cast<int>(state.range(0)));
    const Mesh& r = *c.rest->meshes[0];
    float t = 1.0f;
    for (auto _ : state) {
        double sum = 0;
        for (int i = 0; i < r.vertexCount; ++i) {
            const float a = r.positions[i].x * 1e-3f + t;
            sum += std::sin(a) + std::cos(a) + std::sin(a + 1.0f) + std::cos(a + 1.0f) + std::sin(a + 2.0f) +
                   std::cos(a + 2.0f);
        }
        benchmark::DoNotOptimize(sum);
        t += 0.016f;
    }
}

BENCHMARK(Wobble)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(WobbleFloor)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(Lag)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(LagFloor)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return floor_report::Main(argc, argv); }
