// The model files the build makes for the show load cleanly, face the way they should, and stay
// within the sizes the frame budget allows.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "assets/model.h"
#include "tests/support/test_support.h"

namespace {

using testing_support::AssetDir;
using testing_support::MessageBoxRecorder;

// Six times the enclosed volume, signed: positive when every triangle faces outward.
double SignedVolume(const Mesh& m) {
    double sum = 0;
    for (int k = 0; k < m.triangleCount; ++k) {
        const Vec3 a = m.positions[m.indices[3 * k]];
        const Vec3 b = m.positions[m.indices[3 * k + 1]];
        const Vec3 c = m.positions[m.indices[3 * k + 2]];
        sum += a.x * (double(b.y) * c.z - double(b.z) * c.y) - a.y * (double(b.x) * c.z - double(b.z) * c.x) +
               a.z * (double(b.x) * c.y - double(b.y) * c.x);
    }
    return sum;
}

struct ShowModel {
    const char* file;
    bool outward;
    int minVertices;
    int maxTriangles;
};

class ShowModels : public ::testing::TestWithParam<ShowModel> {};

TEST_P(ShowModels, LoadsFacesItsWayAndFitsTheBudget) {
    const ShowModel& expected = GetParam();
    MessageBoxRecorder boxes;
    const std::string path = AssetDir() + "/" + expected.file;
    Model model(path.c_str());
    ASSERT_TRUE(boxes.boxes.empty()) << boxes.boxes[0].text;
    ASSERT_EQ(model.meshCount, 1);
    const Mesh& m = *model.meshes[0];
    EXPECT_GE(m.vertexCount, expected.minVertices);
    EXPECT_LE(m.triangleCount, expected.maxTriangles);
    const double volume = SignedVolume(m);
    if (expected.outward) {
        EXPECT_GT(volume, 0);
    } else {
        EXPECT_LT(volume, 0);
    }
    // Every vertex belongs to a triangle, so every normal is a finite unit vector, and the extent
    // suits the camera 440 units away.
    double farthest = 0;
    for (int i = 0; i < m.vertexCount; ++i) {
        const Vec3 n = m.normals[i];
        ASSERT_TRUE(std::isfinite(n.x) && std::isfinite(n.y) && std::isfinite(n.z)) << i;
        EXPECT_NEAR(std::sqrt(double(n.x) * n.x + double(n.y) * n.y + double(n.z) * n.z), 1.0, 1e-5);
        const Vec3 p = m.positions[i];
        farthest = std::fmax(farthest, std::sqrt(double(p.x) * p.x + double(p.y) * p.y + double(p.z) * p.z));
    }
    EXPECT_GT(farthest, 40.0);
    EXPECT_LT(farthest, 300.0);
}

INSTANTIATE_TEST_SUITE_P(Files, ShowModels,
                         ::testing::Values(ShowModel{"superfigur.ebr", true, 3000, 8000},
                                           ShowModel{"slimy.ebr", true, 3000, 8000},
                                           ShowModel{"tunnel.ebr", false, 500, 5000},
                                           ShowModel{"rommet.ebr", false, 500, 5000}),
                         [](const ::testing::TestParamInfo<ShowModel>& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
