#include "demo/lag.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/demo/effects/effect_fixtures.h"

namespace {

using fixtures::MeshOf;
using fixtures::SameBits;

// 9765625 / 2^22 = (3125 / 2^11)^2: a vertex this far out has the lag factor 3125 / 2^11 exactly,
// which is also 100000 * 2^-16, so with a delta of 2^-16 its angles close exactly their whole gap.
const float kWholeGapDistance = 9765625.0f / 4194304.0f;
const float kWholeGapLag = 3125.0f / 2048.0f;
const float kDelta = 1.0f / 65536.0f;

// Vertices at distances 1, 4, 16 and kWholeGapDistance on the axes, and (3, 4, 0) at 5, joined by
// triangles so every vertex has a finite normal.
ebr::MeshData Spread() {
    return MeshOf({{1, 0, 0}, {0, 4, 0}, {0, 0, 16}, {kWholeGapDistance, 0, 0}, {3, 4, 0}},
                  {0, 1, 2, 3, 2, 1, 0, 4, 1, 3, 1, 4});
}

float Target(double rate, double offset, float t) {
    return static_cast<float>(13.0 * std::sin(rate * t) + offset);
}

class Lag : public fixtures::TwoCopies {
protected:
    LagBuffers lag;
};

TEST_F(Lag, SetupFactorsAreTheRootOfTheDistanceAndAnglesStartAtZero) {
    Load({Spread()});
    LagSetup(lag, *working);
    ASSERT_EQ(lag.vertexCount, 5);
    EXPECT_EQ(lag.lagFactors[0], 1.0f);
    EXPECT_EQ(lag.lagFactors[1], 2.0f);
    EXPECT_EQ(lag.lagFactors[2], 4.0f);
    EXPECT_EQ(lag.lagFactors[3], kWholeGapLag);
    EXPECT_EQ(lag.lagFactors[4], static_cast<float>(std::sqrt(5.0)));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(lag.lagAngles[i].x, 0.0f);
        EXPECT_EQ(lag.lagAngles[i].y, 0.0f);
        EXPECT_EQ(lag.lagAngles[i].z, 0.0f);
    }
}

TEST_F(Lag, AFractionOfOneLandsOnTheTargets) {
    Load({Spread()});
    LagSetup(lag, *working);
    LagPhase(lag, 0.0f, kDelta, *working, *rest);
    // At time 0 the targets are 9, 5 and 1.
    EXPECT_EQ(lag.lagAngles[3].x, 9.0f);
    EXPECT_EQ(lag.lagAngles[3].y, 5.0f);
    EXPECT_EQ(lag.lagAngles[3].z, 1.0f);
    const float t = 23.75f;
    LagPhase(lag, t, kDelta, *working, *rest);
    EXPECT_EQ(lag.lagAngles[3].x, Target(0.2, 9.0, t));
    EXPECT_EQ(lag.lagAngles[3].y, Target(0.1, 5.0, t));
    EXPECT_EQ(lag.lagAngles[3].z, Target(0.12, 1.0, t));
}

TEST_F(Lag, FartherVerticesCloseASmallerShareOfTheGap) {
    Load({Spread()});
    LagSetup(lag, *working);
    LagPhase(lag, 0.0f, kDelta, *working, *rest);
    // From 0 each angle moves to target * kWholeGapLag / lag factor: at distance 1 it passes the
    // target and ends closer (share 1.53), at 4 and 16 it stops short, each half as far as the last.
    const float targets[3] = {9.0f, 5.0f, 1.0f};
    const float lagFactors[3] = {1.0f, 2.0f, 4.0f};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const Vec3 a = lag.lagAngles[i];
        const float reached[3] = {a.x, a.y, a.z};
        for (int k = 0; k < 3; ++k) {
            EXPECT_FLOAT_EQ(reached[k], targets[k] * (kWholeGapLag / lagFactors[i]));
        }
    }
    EXPECT_LT(std::fabs(lag.lagAngles[0].x - 9.0f), 9.0f);
    // A second frame from there: the vertex at distance 1 overshoots again, back toward the target.
    const float before = lag.lagAngles[0].x;
    LagPhase(lag, 0.0f, kDelta, *working, *rest);
    EXPECT_NEAR(lag.lagAngles[0].x, 9.0f + (before - 9.0f) * (1.0f - kWholeGapLag), 1e-5);
}

TEST_F(Lag, PositionsAreTheRestPositionsTurnedByTheAngles) {
    Load({Spread()});
    LagSetup(lag, *working);
    // With a delta of 0 every angle stays 0 and every vertex sits exactly at its rest position.
    LagPhase(lag, 10.0f, 0.0f, *working, *rest);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(SameBits(W().positions[i], R().positions[i])) << i;

    LagPhase(lag, 0.0f, kDelta, *working, *rest);
    // Vertex 3 lies on the x axis with angles (9, 5, 1): the first turn leaves it alone, the turn in
    // the x-z plane takes x toward +z, the one in the x-y plane takes +x toward -y.
    const double d = kWholeGapDistance;
    const double c2 = std::cos(5.0f), s2 = std::sin(5.0f), c3 = std::cos(1.0f), s3 = std::sin(1.0f);
    const Vec3 p = W().positions[3];
    EXPECT_NEAR(p.x, c3 * c2 * d, 1e-6);
    EXPECT_NEAR(p.y, -s3 * c2 * d, 1e-6);
    EXPECT_NEAR(p.z, s2 * d, 1e-6);
    // Every turn keeps the distance from the origin.
    for (int i = 0; i < 5; ++i) {
        const Vec3 w = W().positions[i], r = R().positions[i];
        EXPECT_NEAR(fixtures::Length(w.x, w.y, w.z), fixtures::Length(r.x, r.y, r.z), 2e-6 * 16) << i;
    }
}

TEST_F(Lag, ADeltaOfZeroKeepsTheLastShape) {
    Load({Spread()});
    LagSetup(lag, *working);
    LagPhase(lag, 3.0f, 1e-6f, *working, *rest);
    LagPhase(lag, 4.0f, 2e-6f, *working, *rest);
    const std::vector<Vec3> angles(lag.lagAngles, lag.lagAngles + 5);
    const std::vector<Vec3> positions(W().positions, W().positions + 5);
    LagPhase(lag, 60.0f, 0.0f, *working, *rest);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(SameBits(lag.lagAngles[i], angles[i])) << i;
        EXPECT_TRUE(SameBits(W().positions[i], positions[i])) << i;
    }
    // A negative delta moves away from the targets.
    const float gap = std::fabs(Target(0.2, 9.0, 60.0f) - lag.lagAngles[0].x);
    LagPhase(lag, 60.0f, -1e-6f, *working, *rest);
    EXPECT_GT(std::fabs(Target(0.2, 9.0, 60.0f) - lag.lagAngles[0].x), gap);
}

TEST_F(Lag, AVertexAtTheOriginFollowsAtOnceAndStaysFinite) {
    // A tetrahedron with one corner at the origin.
    Load({MeshOf({{0, 0, 0}, {10, 0, 0}, {0, 10, 0}, {0, 0, 10}}, {0, 2, 1, 0, 1, 3, 0, 3, 2, 1, 2, 3})});
    LagSetup(lag, *working);
    ASSERT_EQ(lag.lagFactors[0], 0.0f);
    for (float t : {0.5f, 1.5f, 2.5f}) {
        LagPhase(lag, t, 3e-6f, *working, *rest);
        EXPECT_EQ(lag.lagAngles[0].x, Target(0.2, 9.0, t));
        EXPECT_EQ(lag.lagAngles[0].y, Target(0.1, 5.0, t));
        EXPECT_EQ(lag.lagAngles[0].z, Target(0.12, 1.0, t));
    }
    // Also with a delta of 0, where 0 / 0 would appear.
    LagPhase(lag, 9.0f, 0.0f, *working, *rest);
    EXPECT_EQ(lag.lagAngles[0].x, Target(0.2, 9.0, 9.0f));
    EXPECT_EQ(W().positions[0].x, 0.0f);
    EXPECT_EQ(W().positions[0].y, 0.0f);
    EXPECT_EQ(W().positions[0].z, 0.0f);
    for (int i = 0; i < 4; ++i) {
        const Vec3 n = W().normals[i];
        EXPECT_TRUE(std::isfinite(n.x) && std::isfinite(n.y) && std::isfinite(n.z)) << i;
    }
}

TEST_F(Lag, ModelsWithoutAFirstMeshAreLeftAlone) {
    Load({Spread()});
    Model missing("missing.ebr");
    ASSERT_EQ(missing.meshCount, 0);
    LagSetup(lag, missing);
    EXPECT_EQ(lag.vertexCount, 0);
    EXPECT_EQ(lag.lagFactors, nullptr);
    EXPECT_EQ(lag.lagAngles, nullptr);
    LagPhase(lag, 5.0f, 1e-6f, missing, missing);
    // Buffers that do not match the model (never set up for it) leave it alone too.
    const Vec3 before = W().positions[1];
    LagPhase(lag, 5.0f, 1e-3f, *working, *rest);
    EXPECT_TRUE(SameBits(W().positions[1], before));
    LagSetup(lag, *working);
    LagPhase(lag, 5.0f, 1e-6f, *working, missing);
    EXPECT_TRUE(SameBits(W().positions[1], before));
}

}  // namespace
