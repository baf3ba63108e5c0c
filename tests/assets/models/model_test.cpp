// Vertex normals and the independence of two loads of one file.
#include "assets/model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "tests/assets/models/mesh_fixtures.h"
#include "tests/support/test_support.h"

namespace {

using fixtures::FileOf;
using fixtures::MeshOf;
using testing_support::MessageBoxRecorder;
using testing_support::ScratchDir;

void ExpectNormal(const Mesh& mesh, int i, float x, float y, float z) {
    SCOPED_TRACE(i);
    EXPECT_EQ(mesh.normals[i].x, x);
    EXPECT_EQ(mesh.normals[i].y, y);
    EXPECT_EQ(mesh.normals[i].z, z);
}

class Normals : public ::testing::Test {
protected:
    // Loads the meshes through the reader, which computes their normals.
    const Mesh& Load(const std::vector<ebr::MeshData>& meshes) {
        dir_.Write("n.ebr", FileOf(meshes));
        model_.reset(new Model("n.ebr"));
        EXPECT_TRUE(boxes_.boxes.empty());
        EXPECT_EQ(model_->meshCount, static_cast<int>(meshes.size()));
        return *model_->meshes[0];
    }
    ScratchDir dir_;
    MessageBoxRecorder boxes_;
    std::unique_ptr<Model> model_;
};

TEST_F(Normals, SingleTriangleFacesTheCounterClockwiseSide) {
    const Mesh& ccw = Load({MeshOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2})});
    for (int i = 0; i < 3; ++i) ExpectNormal(ccw, i, 0, 0, 1);
    const Mesh& cw = Load({MeshOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 2, 1})});
    for (int i = 0; i < 3; ++i) ExpectNormal(cw, i, 0, 0, -1);
}

TEST_F(Normals, FaceNormalsWeighByArea) {
    // Vertex 0 is shared by a triangle in the x-y plane of area 2 (face normal (0, 0, 4)) and one in
    // the y-z plane of area 1/2 (face normal (1, 0, 0)): its sum is (1, 0, 4).
    const Mesh& m = Load({MeshOf({{0, 0, 0}, {2, 0, 0}, {0, 2, 0}, {0, 1, 0}, {0, 0, 1}}, {0, 1, 2, 0, 3, 4})});
    const double length = std::sqrt(17.0);
    ExpectNormal(m, 0, static_cast<float>(1.0 * (1.0 / length)), 0, static_cast<float>(4.0 * (1.0 / length)));
    ExpectNormal(m, 1, 0, 0, 1);
    ExpectNormal(m, 3, 1, 0, 0);
}

TEST_F(Normals, DegenerateTrianglesChangeNothing) {
    const Mesh& m = Load({MeshOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}},
                                 {0, 1, 2, 0, 0, 1, 1, 2, 2, 2, 3, 2, 0, 1, 0})});
    for (int i = 0; i < 3; ++i) ExpectNormal(m, i, 0, 0, 1);
    // Vertex 3 only appears in a triangle that names vertex 2 twice: its sum stays zero.
    EXPECT_TRUE(std::isnan(m.normals[3].x));
}

TEST_F(Normals, EqualPositionsGiveAZeroFaceNormal) {
    const Mesh& m = Load({MeshOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {2, 2, 2}, {2, 2, 2}, {2, 2, 2}},
                                 {0, 1, 2, 3, 4, 5})});
    for (int i = 3; i < 6; ++i) EXPECT_FALSE(std::isfinite(m.normals[i].y)) << i;
    for (int i = 0; i < 3; ++i) ExpectNormal(m, i, 0, 0, 1);
}

TEST_F(Normals, UnusedVerticesAndTriangleFreeMeshesAreNotFinite) {
    const Mesh& m = Load({MeshOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {3, 3, 3}}, {0, 1, 2}),
                          MeshOf({{1, 2, 3}, {4, 5, 6}}, {})});
    ExpectNormal(m, 0, 0, 0, 1);
    for (const Vec3& n : {m.normals[3], model_->meshes[1]->normals[0], model_->meshes[1]->normals[1]}) {
        EXPECT_FALSE(std::isfinite(n.x));
        EXPECT_FALSE(std::isfinite(n.y));
        EXPECT_FALSE(std::isfinite(n.z));
    }
}

TEST_F(Normals, RecomputingUnchangedPositionsGivesTheSameBits) {
    const Mesh& m = Load({MeshOf({{0.1f, 0.2f, 0.3f}, {1.7f, -0.4f, 0.9f}, {-0.3f, 1.1f, 0.2f}, {0.5f, 0.5f, 2.5f}},
                                 {0, 1, 2, 0, 3, 1, 1, 3, 2, 2, 3, 0})});
    std::vector<Vec3> before(m.normals, m.normals + m.vertexCount);
    for (int i = 0; i < m.vertexCount; ++i) model_->meshes[0]->normals[i] = Vec3{9, 9, 9};
    model_->ComputeNormals();
    EXPECT_EQ(0, std::memcmp(before.data(), m.normals, before.size() * sizeof(Vec3)));
    for (const Vec3& n : before) {
        EXPECT_NEAR(std::sqrt(double(n.x) * n.x + double(n.y) * n.y + double(n.z) * n.z), 1.0, 1e-6);
    }
}

TEST_F(Normals, SumsAreKeptInFloatInTriangleOrder) {
    // At vertex 0 the z sums run 1e8, then + 1 (lost in float), then - 1e8: zero. Only the unit
    // triangle in the y-z plane remains, so the normal is (1, 0, 0), not a mix of x and z.
    const Mesh& m = Load({MeshOf({{0, 0, 0}, {10000, 0, 0}, {0, 10000, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
                                 {0, 1, 2, 0, 3, 4, 0, 2, 1, 0, 4, 5})});
    ExpectNormal(m, 0, 1, 0, 0);
    ExpectNormal(m, 3, 0, 0, 1);
}

TEST(Model, TwoLoadsOfOneFileAreEqualButSeparate) {
    ScratchDir dir;
    MessageBoxRecorder boxes;
    dir.Write("twice.ebr", FileOf({MeshOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {0, 2, 1, 0, 1, 3, 0, 3, 2, 1, 2, 3}),
                                   MeshOf({{4, 4, 4}, {5, 4, 4}, {4, 5, 4}}, {0, 1, 2})}));
    Model a("twice.ebr");
    Model b("twice.ebr");
    ASSERT_EQ(a.meshCount, 2);
    ASSERT_EQ(b.meshCount, 2);
    for (int i = 0; i < 2; ++i) {
        const Mesh& ma = *a.meshes[i];
        const Mesh& mb = *b.meshes[i];
        ASSERT_EQ(ma.vertexCount, mb.vertexCount);
        ASSERT_EQ(ma.triangleCount, mb.triangleCount);
        EXPECT_NE(&ma, &mb);
        EXPECT_NE(ma.positions, mb.positions);
        EXPECT_NE(ma.normals, mb.normals);
        EXPECT_NE(ma.texCoords, mb.texCoords);
        EXPECT_NE(ma.indices, mb.indices);
        const std::size_t v = ma.vertexCount;
        EXPECT_EQ(0, std::memcmp(ma.positions, mb.positions, v * sizeof(Vec3)));
        EXPECT_EQ(0, std::memcmp(ma.normals, mb.normals, v * sizeof(Vec3)));
        EXPECT_EQ(0, std::memcmp(ma.texCoords, mb.texCoords, 2 * v * sizeof(float)));
        EXPECT_EQ(0, std::memcmp(ma.indices, mb.indices, 3 * ma.triangleCount * sizeof(int)));
    }
    // Changing one leaves the other as loaded.
    const Vec3 kept = b.meshes[0]->positions[1];
    a.meshes[0]->positions[1] = Vec3{7, 7, 7};
    a.ComputeNormals();
    EXPECT_EQ(b.meshes[0]->positions[1].x, kept.x);
    EXPECT_NE(a.meshes[0]->normals[0].x, b.meshes[0]->normals[0].x);
}

}  // namespace
