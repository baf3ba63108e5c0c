// A working and a rest copy of one small model, loaded from a file written in a scratch folder.
#ifndef GLIMMERSET_TESTS_DEMO_EFFECTS_EFFECT_FIXTURES_H
#define GLIMMERSET_TESTS_DEMO_EFFECTS_EFFECT_FIXTURES_H

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "assets/model.h"
#include "tests/assets/models/mesh_fixtures.h"
#include "tests/support/test_support.h"

namespace fixtures {

class TwoCopies : public ::testing::Test {
protected:
    void Load(const std::vector<ebr::MeshData>& meshes) {
        dir_.Write("model.ebr", ebr::Encode(meshes));
        working.reset(new Model("model.ebr"));
        rest.reset(new Model("model.ebr"));
        ASSERT_TRUE(boxes_.boxes.empty());
        ASSERT_EQ(working->meshCount, static_cast<int>(meshes.size()));
    }
    Mesh& W(int mesh = 0) { return *working->meshes[mesh]; }
    Mesh& R(int mesh = 0) { return *rest->meshes[mesh]; }

    testing_support::ScratchDir dir_;
    testing_support::MessageBoxRecorder boxes_;
    std::unique_ptr<Model> working;
    std::unique_ptr<Model> rest;
};

inline bool SameBits(const Vec3& a, const Vec3& b) { return std::memcmp(&a, &b, sizeof(Vec3)) == 0; }

inline double Length(double x, double y, double z) { return std::sqrt(x * x + y * y + z * z); }

}  // namespace fixtures

#endif
