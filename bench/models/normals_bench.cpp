// Mesh::ComputeNormals on closed meshes of 10k, 100k and 1M vertices, beside a floor that makes the
// same three passes over the same arrays with no arithmetic: clear, one gather-and-add of each
// triangle's positions into its corners, and one pass over the normals.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "assets/model.h"
#include "bench/models/floor_report.h"
#include "tools/models/shapes.h"

namespace {

// A lumpy sphere of about `vertices` vertices: columns * (columns + 1) + 2 with a square grid.
std::unique_ptr<Mesh> MakeMesh(int vertices) {
    const int columns = static_cast<int>(std::sqrt(static_cast<double>(vertices)));
    const ebr::MeshData data = ebr::ClosedSurface("bench", columns, columns + 1, [](double theta, double phi) {
        const double r = 60.0 * (1.0 + 0.1 * std::sin(3 * theta) * std::cos(2 * phi));
        return ebr::Point{r * std::cos(phi) * std::cos(theta), r * std::cos(phi) * std::sin(theta), r * std::sin(phi)};
    }, false);
    auto mesh = std::make_unique<Mesh>(static_cast<int>(data.vertices.size()), static_cast<int>(data.indices.size() / 3));
    for (int i = 0; i < mesh->vertexCount; ++i) {
        const ebr::Vertex& v = data.vertices[i];
        mesh->positions[i] = Vec3{v.x, v.y, v.z};
        mesh->texCoords[2 * i] = v.s;
        mesh->texCoords[2 * i + 1] = v.t;
    }
    std::memcpy(mesh->indices, data.indices.data(), data.indices.size() * sizeof(int));
    return mesh;
}

void ComputeNormals(benchmark::State& state) {
    auto mesh = MakeMesh(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        mesh->ComputeNormals();
        benchmark::DoNotOptimize(mesh->normals);
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::to_string(mesh->vertexCount) + " vertices, " + std::to_string(mesh->triangleCount) + " triangles");
}

void ComputeNormalsFloor(benchmark::State& state) {
    auto mesh = MakeMesh(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Vec3* n = mesh->normals;
        const Vec3* p = mesh->positions;
        for (int i = 0; i < mesh->vertexCount; ++i) n[i] = Vec3{0, 0, 0};
        for (int k = 0; k < 3 * mesh->triangleCount; k += 3) {
            const int a = mesh->indices[k], b = mesh->indices[k + 1], c = mesh->indices[k + 2];
            n[a].x += p[b].x;
            n[b].y += p[c].y;
            n[c].z += p[a].z;
        }
        for (int i = 0; i < mesh->vertexCount; ++i) n[i].x += n[i].y;
        benchmark::DoNotOptimize(n);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(ComputeNormals)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(ComputeNormalsFloor)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return floor_report::Main(argc, argv); }
