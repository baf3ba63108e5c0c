#include "demo/wobble.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/demo/effects/effect_fixtures.h"
#include "tools/models/shapes.h"

namespace {

using fixtures::Length;
using fixtures::MeshOf;
using fixtures::SameBits;

const double kPi = 3.14159265358979323846;

// An irregular tetrahedron, whose vertex normals have three different non-zero components, and a
// separate triangle in the plane z = 5, whose normals are (0, 0, 1).
ebr::MeshData Tetrahedron() {
    return MeshOf({{2.0f, 0.5f, 0.3f}, {-1.0f, 1.5f, -0.2f}, {-0.5f, -1.2f, 0.9f}, {0.1f, -0.3f, -1.8f},
                   {0, 0, 5}, {1, 0, 5}, {0, 1, 5}},
                  {0, 1, 2, 0, 3, 1, 0, 2, 3, 1, 3, 2, 4, 5, 6});
}

ebr::MeshData Sphere() {
    return ebr::ClosedSurface("ball", 12, 6, [](double theta, double phi) {
        return ebr::Point{30 * std::cos(phi) * std::cos(theta), 20 * std::cos(phi) * std::sin(theta), 25 * std::sin(phi)};
    }, false);
}

class Wobble : public fixtures::TwoCopies {};

TEST_F(Wobble, AtTimeZeroFrequenciesAre3_4_1AndAmplitude20) {
    Load({Tetrahedron()});
    WobblePhase(0.0f, *working, *rest);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const Vec3 n = R().normals[i], p = R().positions[i];
        ASSERT_NE(n.x, 0.0f);
        ASSERT_NE(n.y, 0.0f);
        ASSERT_NE(n.z, 0.0f);
        const double k = 20.0 * std::sin(3.0 * n.x) * std::sin(4.0 * n.y) * std::sin(1.0 * n.z);
        EXPECT_NEAR(W().positions[i].x, p.x + k * n.x, 2e-6);
        EXPECT_NEAR(W().positions[i].y, p.y + k * n.y, 2e-6);
        EXPECT_NEAR(W().positions[i].z, p.z + k * n.z, 2e-6);
        EXPECT_GT(Length(W().positions[i].x - p.x, W().positions[i].y - p.y, W().positions[i].z - p.z), 0.1);
    }
    // A normal with a zero component puts a sine of 0 into the product: those vertices stay put.
    for (int i = 4; i < 7; ++i) EXPECT_TRUE(SameBits(W().positions[i], R().positions[i])) << i;
}

TEST_F(Wobble, ZeroAmplitudeLeavesTheRestPositions) {
    Load({Sphere()});
    // sin(1.4 t) = -0.8 makes the amplitude 0; the float t nearest it leaves a few millionths.
    const float t = static_cast<float>((kPi + std::asin(0.8)) / 1.4);
    const double amplitude = 25.0 * std::sin(1.4 * t) + 20.0;
    ASSERT_LT(std::fabs(amplitude), 1e-4);
    WobblePhase(t, *working, *rest);
    for (int i = 0; i < W().vertexCount; ++i) {
        const Vec3 w = W().positions[i], r = R().positions[i];
        EXPECT_LE(Length(w.x - r.x, w.y - r.y, w.z - r.z), 1e-4) << i;
    }
}

TEST_F(Wobble, DisplacementFollowsTheRestNormalWithinTheAmplitude) {
    Load({Sphere()});
    for (float t : {0.37f, 2.0f, 5.1f, 13.7f, 45.2f, 70.9f}) {
        SCOPED_TRACE(t);
        WobblePhase(t, *working, *rest);
        const double amplitude = std::fabs(25.0 * std::sin(1.4 * t) + 20.0);
        double largest = 0;
        for (int i = 0; i < W().vertexCount; ++i) {
            const Vec3 w = W().positions[i], r = R().positions[i], n = R().normals[i];
            const double dx = double(w.x) - r.x, dy = double(w.y) - r.y, dz = double(w.z) - r.z;
            const double d = Length(dx, dy, dz);
            largest = std::fmax(largest, d);
            EXPECT_LE(d, amplitude + 1e-4) << i;
            // The part of the displacement across the normal is only rounding.
            EXPECT_LE(Length(dy * n.z - dz * n.y, dz * n.x - dx * n.z, dx * n.y - dy * n.x), 1e-4) << i;
        }
        EXPECT_GT(largest, 0.01 * amplitude);
        // The working normals follow the moved surface and stay unit vectors.
        for (int i = 0; i < W().vertexCount; ++i) {
            const Vec3 n = W().normals[i];
            EXPECT_NEAR(Length(n.x, n.y, n.z), 1.0, 1e-5) << i;
        }
    }
}

TEST_F(Wobble, EachFrameStartsFromTheRestCopyAlone) {
    Load({Sphere(), Tetrahedron()});
    const std::vector<Vec3> second(W(1).positions, W(1).positions + W(1).vertexCount);
    const std::vector<Vec3> secondNormals(W(1).normals, W(1).normals + W(1).vertexCount);
    WobblePhase(12.5f, *working, *rest);
    const std::vector<Vec3> first(W().positions, W().positions + W().vertexCount);
    const std::vector<Vec3> firstNormals(W().normals, W().normals + W().vertexCount);
    WobblePhase(3.0f, *working, *rest);
    WobblePhase(41.0f, *working, *rest);
    WobblePhase(12.5f, *working, *rest);
    for (int i = 0; i < W().vertexCount; ++i) {
        EXPECT_TRUE(SameBits(W().positions[i], first[i])) << i;
        EXPECT_TRUE(SameBits(W().normals[i], firstNormals[i])) << i;
    }
    // Only the first mesh moves; the second keeps its loaded positions and normals, and the rest
    // copy is never written.
    for (int i = 0; i < W(1).vertexCount; ++i) {
        EXPECT_TRUE(SameBits(W(1).positions[i], second[i])) << i;
        EXPECT_TRUE(SameBits(W(1).normals[i], secondNormals[i])) << i;
    }
    Model fresh("model.ebr");
    for (int i = 0; i < R().vertexCount; ++i) {
        EXPECT_TRUE(SameBits(R().positions[i], fresh.meshes[0]->positions[i])) << i;
        EXPECT_TRUE(SameBits(R().normals[i], fresh.meshes[0]->normals[i])) << i;
    }
}

TEST_F(Wobble, ModelsWithoutAFirstMeshAreLeftAlone) {
    Load({Tetrahedron()});
    Model missing("missing.ebr");
    ASSERT_EQ(missing.meshCount, 0);
    WobblePhase(5.0f, missing, missing);
    WobblePhase(5.0f, missing, *rest);
    const Vec3 before = W().positions[0];
    WobblePhase(5.0f, *working, missing);
    EXPECT_TRUE(SameBits(W().positions[0], before));
}

}  // namespace
