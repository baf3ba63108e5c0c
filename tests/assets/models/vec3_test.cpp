#include "assets/vec3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

const float kHalfPi = 1.57079632679489661923f;

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof(float)) == 0; }

void ExpectNear(Vec3 actual, Vec3 expected, float tolerance = 1e-6f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

double Length(Vec3 v) { return std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z); }

TEST(Rotate, QuarterTurnsFollowEachAxisOwnSense) {
    ExpectNear(RotateX({0, 1, 0}, kHalfPi), {0, 0, 1});
    ExpectNear(RotateY({1, 0, 0}, kHalfPi), {0, 0, 1});
    ExpectNear(RotateZ({0, 1, 0}, kHalfPi), {1, 0, 0});
    ExpectNear(RotateZ({1, 0, 0}, kHalfPi), {0, -1, 0});
    // The other quarter turns complete each sense of turning.
    ExpectNear(RotateX({0, 0, 1}, kHalfPi), {0, -1, 0});
    ExpectNear(RotateY({0, 0, 1}, kHalfPi), {-1, 0, 0});
}

TEST(Rotate, ZeroAngleReturnsTheVectorBitForBit) {
    const Vec3 v{0.1f, -3.7f, 1e-20f};
    for (Vec3 r : {RotateX(v, 0.0f), RotateY(v, 0.0f), RotateZ(v, 0.0f)}) {
        EXPECT_TRUE(SameBits(r.x, v.x));
        EXPECT_TRUE(SameBits(r.y, v.y));
        EXPECT_TRUE(SameBits(r.z, v.z));
    }
}

TEST(Rotate, OwnAxisComponentPassesThroughAndLengthIsKept) {
    const Vec3 v{0.30000001f, -7.123456f, 2.5e-7f};
    for (float angle : {0.1f, 1.0f, -2.5f, 3.14159265f, 100.0f}) {
        SCOPED_TRACE(angle);
        const Vec3 x = RotateX(v, angle), y = RotateY(v, angle), z = RotateZ(v, angle);
        EXPECT_TRUE(SameBits(x.x, v.x));
        EXPECT_TRUE(SameBits(y.y, v.y));
        EXPECT_TRUE(SameBits(z.z, v.z));
        for (Vec3 r : {x, y, z}) EXPECT_NEAR(Length(r), Length(v), 4e-7 * Length(v));
    }
}

TEST(Rotate, ResultsAreDoubleArithmeticOnTheFloatSineAndCosine) {
    // Widening the float sine and cosine and rounding once per component.
    const Vec3 v{1.1f, 2.2f, 3.3f};
    const float angle = 0.7f;
    const double s = std::sin(angle), c = std::cos(angle);
    const Vec3 r = RotateX(v, angle);
    EXPECT_EQ(r.y, static_cast<float>(c * double(v.y) - s * double(v.z)));
    EXPECT_EQ(r.z, static_cast<float>(s * double(v.y) + c * double(v.z)));
}

TEST(Cross, BasisOrderSelfAndZero) {
    const Vec3 z = Cross({1, 0, 0}, {0, 1, 0});
    EXPECT_EQ(z.x, 0.0f);
    EXPECT_EQ(z.y, 0.0f);
    EXPECT_EQ(z.z, 1.0f);
    const Vec3 u{1.5f, -2.0f, 0.25f}, v{-3.0f, 0.5f, 4.0f};
    const Vec3 uv = Cross(u, v), vu = Cross(v, u);
    EXPECT_EQ(uv.x, -vu.x);
    EXPECT_EQ(uv.y, -vu.y);
    EXPECT_EQ(uv.z, -vu.z);
    EXPECT_EQ(uv.x, -2.0f * 4.0f - 0.25f * 0.5f);
    EXPECT_EQ(uv.y, 0.25f * -3.0f - 1.5f * 4.0f);
    EXPECT_EQ(uv.z, 1.5f * 0.5f - -2.0f * -3.0f);
    for (Vec3 r : {Cross(u, u), Cross(u, {0, 0, 0})}) {
        EXPECT_EQ(r.x, 0.0f);
        EXPECT_EQ(r.y, 0.0f);
        EXPECT_EQ(r.z, 0.0f);
    }
}

TEST(Cross, ProductsAreExactBeforeTheOneRounding) {
    // 4097 * 4097 = 16785409 has no float; in float arithmetic the difference would be 0 or 2.
    const Vec3 r = Cross({0, 4097.0f, 16785408.0f}, {0, 1.0f, 4097.0f});
    EXPECT_EQ(r.x, 1.0f);
}

}  // namespace
