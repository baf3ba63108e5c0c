// Drawing into the show's real window: sphere mapping follows the normals, the client arrays end
// disabled, and a model without meshes draws nothing.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include "assets/model.h"
#include "shell/glwindow.h"
#include "tests/assets/models/mesh_fixtures.h"
#include "tests/support/test_support.h"

namespace {

using fixtures::FileOf;
using testing_support::MessageBoxRecorder;
using testing_support::PixelAt;
using testing_support::ReadFrame;
using testing_support::Rgb;
using testing_support::ScratchDir;

const int kWidth = 800;
const int kHeight = 600;

// A roof seen from the front: the left slope faces up-left toward -x, the right slope toward +x,
// each with vertices of its own so its normals are its face's. Every stored texture coordinate is
// (0.375, 0.5), which lies in the green texel.
ebr::MeshData Roof() {
    ebr::MeshData mesh;
    mesh.name = "roof";
    const float z = -4.0f;
    auto add = [&mesh](float x, float y, float zz) { mesh.vertices.push_back({x, y, zz, 0.375f, 0.5f}); };
    add(-1, -1, z - 1); add(0, -1, z); add(0, 1, z); add(-1, 1, z - 1);   // left slope
    add(0, -1, z); add(1, -1, z - 1); add(1, 1, z - 1); add(0, 1, z);     // right slope
    mesh.indices = {0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7};
    return mesh;
}

// Four texels in a row: red, green, blue, yellow; sampled without filtering.
GLuint MakeStripeTexture() {
    const unsigned char texels[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 4, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glEnable(GL_TEXTURE_2D);
    return name;
}

void SetUpView() {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 4.0 / 3.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void ExpectColour(Rgb pixel, int r, int g, int b) {
    EXPECT_EQ(pixel.r, r);
    EXPECT_EQ(pixel.g, g);
    EXPECT_EQ(pixel.b, b);
}

// Pixels in the middle of the left slope, the right slope, and beside the roof.
const int kLeftX = 342, kRightX = 458, kMiddleY = 300, kOutsideX = 100;

class Drawing : public ::testing::Test {
protected:
    void SetUp() override {
        dir_.Write("roof.ebr", FileOf({Roof()}));
        model_.reset(new Model("roof.ebr"));
        ASSERT_EQ(model_->meshCount, 1);
        texture_ = MakeStripeTexture();
        SetUpView();
    }
    void TearDown() override { glDeleteTextures(1, &texture_); }

    ScratchDir dir_;
    MessageBoxRecorder boxes_;
    GLWindow window_{kWidth, kHeight, 32, false, "model draw test"};
    std::unique_ptr<Model> model_;
    GLuint texture_ = 0;
};

TEST_F(Drawing, SphereMappingTakesTexCoordsFromTheNormals) {
    // Seen head-on, a normal tilted toward -x reflects into the left of the map and one tilted
    // toward +x into the right: s is near 0.15 on the left slope and 0.85 on the right.
    SphereMapOn();
    model_->Draw();
    SphereMapOff();
    const auto frame = ReadFrame(kWidth, kHeight);
    ExpectColour(PixelAt(frame, kWidth, kLeftX, kMiddleY), 255, 0, 0);
    ExpectColour(PixelAt(frame, kWidth, kRightX, kMiddleY), 255, 255, 0);
    ExpectColour(PixelAt(frame, kWidth, kOutsideX, kMiddleY), 0, 0, 0);
}

TEST_F(Drawing, WithoutSphereMappingTheStoredTexCoordsShow) {
    model_->Draw();
    const auto frame = ReadFrame(kWidth, kHeight);
    ExpectColour(PixelAt(frame, kWidth, kLeftX, kMiddleY), 0, 255, 0);
    ExpectColour(PixelAt(frame, kWidth, kRightX, kMiddleY), 0, 255, 0);
}

TEST_F(Drawing, ChangedNormalsShowInTheNextDraw) {
    // Turning the left slope's normals toward +x moves its reflection to the right of the map.
    Mesh& mesh = *model_->meshes[0];
    for (int i = 0; i < 4; ++i) mesh.normals[i] = mesh.normals[4];
    SphereMapOn();
    model_->Draw();
    SphereMapOff();
    const auto frame = ReadFrame(kWidth, kHeight);
    ExpectColour(PixelAt(frame, kWidth, kLeftX, kMiddleY), 255, 255, 0);
}

TEST_F(Drawing, BackFacesAreCulled) {
    // The same roof wound the other way faces away from the camera and leaves the frame black.
    Mesh& mesh = *model_->meshes[0];
    for (int k = 0; k < mesh.triangleCount; ++k) std::swap(mesh.indices[3 * k + 1], mesh.indices[3 * k + 2]);
    model_->Draw();
    const auto frame = ReadFrame(kWidth, kHeight);
    ExpectColour(PixelAt(frame, kWidth, kLeftX, kMiddleY), 0, 0, 0);
    ExpectColour(PixelAt(frame, kWidth, kRightX, kMiddleY), 0, 0, 0);
}

TEST_F(Drawing, DrawLeavesTheClientArraysDisabled) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    model_->Draw();
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Drawing, ModelWithoutMeshesDrawsNothing) {
    Model missing("missing.ebr");
    ASSERT_EQ(missing.meshCount, 0);
    glEnableClientState(GL_NORMAL_ARRAY);
    SphereMapOn();
    missing.Draw();
    SphereMapOff();
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    const auto frame = ReadFrame(kWidth, kHeight);
    for (std::size_t i = 0; i < frame.size(); ++i) {
        if (frame[i] != 0) FAIL() << "lit byte at " << i;
    }
}

TEST_F(Drawing, SphereMapSwitchesOnlyTheTwoEnables) {
    SphereMapOff();  // without a preceding SphereMapOn
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    SphereMapOn();
    SphereMapOn();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_T));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_R));
    SphereMapOff();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    GLint mode[2] = {0, 0};
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &mode[0]);
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &mode[1]);
    EXPECT_EQ(mode[0], GL_SPHERE_MAP);
    EXPECT_EQ(mode[1], GL_SPHERE_MAP);
}

}  // namespace
