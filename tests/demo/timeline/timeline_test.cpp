// The overlay timeline and the model scene, drawn with the show's own images and models into a real
// 800 x 600 context and read back: which overlay is on screen, and whether a model covers it.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "assets/model.h"
#include "assets/texture.h"
#include "demo/overlay.h"
#include "demo/scene.h"
#include "demo/window.h"
#include "shell/glwindow.h"
#include "tests/support/show_frames.h"
#include "tests/support/test_support.h"
#include "tools/images/show_images.h"

using testing_support::MessageBoxRecorder;
using testing_support::DominantOverlay;
using testing_support::ReadFrame;

namespace {

constexpr int kWidth = 800, kHeight = 600;

float After(float t) { return std::nextafter(t, 1000.0f); }

// Everything the two phases draw, loaded from the show's folder as the show loads it.
struct ShowAssets {
    ShowAssets() {
        char cwd[4096];
        previous = getcwd(cwd, sizeof(cwd)) ? cwd : ".";
        EXPECT_EQ(chdir(testing_support::AssetDir().c_str()), 0);
        for (const show_images::ShowImage& image : show_images::kShowImages) {
            textures.push_back(std::make_unique<Texture>(image.fileName));
        }
        superfigur = std::make_unique<Model>("superfigur.ebr");
        rommet = std::make_unique<Model>("rommet.ebr");
        tunnel = std::make_unique<Model>("tunnel.ebr");
        slimy = std::make_unique<Model>("slimy.ebr");
        EXPECT_EQ(chdir(previous.c_str()), 0);
    }
    Texture& Image(const char* name) {
        for (int i = 0; i < show_images::kShowImageCount; ++i) {
            if (std::strcmp(show_images::kShowImages[i].fileName, name) == 0) return *textures[i];
        }
        ADD_FAILURE() << "no image " << name;
        return *textures[0];
    }
    OverlayTextures Overlays() {
        return {Image("kn\xE6sjbg.jpg"), Image("aball.jpg"), Image("theend.jpg"),
                Image("loading.jpg"),    Image("bakgrunn.jpg"), Image("jalla5.jpg"),
                Image("names.jpg"),      Image("thx.jpg"),     Image("realend.jpg")};
    }
    SceneAssets Scene() {
        return {Image("red.jpg"),      *slimy,  Image("jalla3.jpg"),   *superfigur,
                Image("blueeyes.jpg"), *tunnel, Image("tekstur1.jpg"), *rommet};
    }
    std::string previous;
    std::vector<std::unique_ptr<Texture>> textures;
    std::unique_ptr<Model> superfigur, rommet, tunnel, slimy;
};

void StartFrame() {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// The fraction of pixels a model changed against the same frame without the model phase.
double Covered(const std::vector<unsigned char>& withModels, const std::vector<unsigned char>& without) {
    size_t changed = 0, pixels = without.size() / 3;
    for (size_t i = 0; i < pixels; ++i) {
        if (testing_support::ColourDistance(&withModels[i * 3], without[i * 3], without[i * 3 + 1], without[i * 3 + 2]) > 12) ++changed;
    }
    return static_cast<double>(changed) / pixels;
}

class Timeline : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<GLWindow>(kWidth, kHeight, 32, false, "Glimmerset timeline");
        ASSERT_NE(window->hRC, nullptr);
        assets = std::make_unique<ShowAssets>();
        ASSERT_TRUE(boxes.boxes.empty()) << boxes.boxes[0].caption << ": " << boxes.boxes[0].text;
        ASSERT_GT(assets->superfigur->meshCount, 0);
    }
    std::vector<unsigned char> Frame(float t, const SpectrumBuffer bins, bool models) {
        StartFrame();
        OverlayPhase(t, bins, assets->Overlays());
        if (models) ModelPhase(t, bins, assets->Scene());
        return ReadFrame(kWidth, kHeight);
    }
    MessageBoxRecorder boxes;
    std::unique_ptr<GLWindow> window;
    std::unique_ptr<ShowAssets> assets;
    SpectrumBuffer silence = {};
};

}  // namespace

TEST(TimelineWindow, LowerBoundExcludedUpperIncluded) {
    struct Case {
        float t, lower, upper;
        bool in;
    } cases[] = {
        {1.0f, 1.0f, 4.0f, false},         {After(1.0f), 1.0f, 4.0f, true}, {4.0f, 1.0f, 4.0f, true},
        {After(4.0f), 1.0f, 4.0f, false},  {70.0f, 66.0f, 70.0f, true},     {After(70.0f), 66.0f, 70.0f, false},
        {-0.001f, 0.0f, 1.0f, false},      {66.0f, 50.0f, 66.0f, true},
    };
    for (const Case& c : cases) EXPECT_EQ(InWindow(c.t, c.lower, c.upper), c.in) << c.t;
}

// What is on screen at the timeline's boundaries, with the music silent.
TEST_F(Timeline, ScheduleAtEveryBoundary) {
    struct Case {
        float t;
        const char* overlay;  // "" for none
        bool model;
    } cases[] = {
        {0.5f, "", false},
        {1.0f, "", false},
        {After(1.0f), "kn\xE6sjbg.jpg", false},
        {4.0f, "kn\xE6sjbg.jpg", false},
        {After(4.0f), "aball.jpg", false},
        {7.0f, "aball.jpg", false},
        {After(7.0f), "", true},  // slimy
        {11.0f, "", true},        // still slimy
        {14.0f, "", true},        // superfigur
        {After(14.0f), "theend.jpg", false},
        {17.0f, "theend.jpg", false},
        {20.0f, "loading.jpg", false},
        {30.0f, "bakgrunn.jpg", false},
        {After(30.0f), "jalla5.jpg", true},  // tunnel
        {40.0f, "jalla5.jpg", true},
        {After(40.0f), "names.jpg", true},  // superfigur
        {50.0f, "names.jpg", true},
        {After(50.0f), "thx.jpg", true},  // rommet
        {66.0f, "thx.jpg", true},
        {After(66.0f), "realend.jpg", false},
        {70.0f, "realend.jpg", false},
        {After(70.0f), "", false},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> without = Frame(c.t, silence, false);
        std::vector<unsigned char> with = Frame(c.t, silence, true);
        EXPECT_EQ(DominantOverlay(without), c.overlay) << "t=" << c.t;
        double covered = Covered(with, without);
        if (c.model) {
            EXPECT_GT(covered, 0.01) << "t=" << c.t;
        } else {
            EXPECT_EQ(covered, 0.0) << "t=" << c.t;
        }
    }
}

// The model scene leaves texturing off with the last entry's texture bound, sphere mapping off and
// depth testing on, whether a model was drawn or not.
TEST_F(Timeline, ScenePhaseLeavesItsState) {
    for (float t : {3.0f, 9.0f, 20.0f, 55.0f}) {
        Frame(t, silence, true);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), assets->Image("tekstur1.jpg").textureName) << t;
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << t;
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S)) << t;
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T)) << t;
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << t;
        EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY)) << t;
    }
}

// A 2 x 2 image, top row red and green, bottom row blue and white: the quad shows the image upright
// and unmirrored, and survives back-face culling.
TEST_F(Timeline, QuadShowsTheImageUpright) {
    Texture& title = assets->Image("kn\xE6sjbg.jpg");
    const unsigned char texels[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    glBindTexture(GL_TEXTURE_2D, title.textureName);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    std::vector<unsigned char> frame = Frame(2.5f, silence, false);
    struct Probe {
        int x, y, r, g, b;  // y counts from the bottom, as OpenGL reads
    } probes[] = {{100, 500, 255, 0, 0}, {700, 500, 0, 255, 0}, {100, 100, 0, 0, 255}, {700, 100, 255, 255, 255}};
    for (const Probe& p : probes) {
        testing_support::Rgb c = testing_support::PixelAt(frame, kWidth, p.x, p.y);
        EXPECT_EQ(c.r, p.r) << p.x << "," << p.y;
        EXPECT_EQ(c.g, p.g) << p.x << "," << p.y;
        EXPECT_EQ(c.b, p.b) << p.x << "," << p.y;
    }
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));  // the overlay is not unbound
}

// Bins move rows 5 and 7 and bend row 6; with silence all three draw the plain quad.
TEST_F(Timeline, SpectrumMovesBendsAndHides) {
    auto same = [](const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) { return a == b; };
    // Row 6 with bin 3 at 0 is exactly the standard quad: the same picture as the plain row drawn
    // with row 6's image.
    Texture& jalla5 = assets->Image("jalla5.jpg");
    Texture& aball = assets->Image("aball.jpg");
    GLuint aballName = aball.textureName;
    aball.textureName = jalla5.textureName;
    std::vector<unsigned char> plain = Frame(5.0f, silence, false);
    aball.textureName = aballName;
    std::vector<unsigned char> bentZero = Frame(35.0f, silence, false);
    EXPECT_TRUE(same(plain, bentZero));
    SpectrumBuffer bent = {};
    bent[3] = 0.5f;
    EXPECT_FALSE(same(Frame(35.0f, bent, false), bentZero));

    // Row 5: past 0.1 in bin 2 the quad lies beyond the far plane.
    SpectrumBuffer kick = {};
    kick[2] = 0.2f;
    EXPECT_EQ(DominantOverlay(Frame(25.0f, kick, false)), "");
    SpectrumBuffer quiet = {};
    quiet[2] = 0.05f;
    EXPECT_EQ(DominantOverlay(Frame(25.0f, quiet, false)), "bakgrunn.jpg");
    // Bin 9 moves it right by 3 x b9 of the half-width: 0.1 moves it 120 pixels.
    SpectrumBuffer right = {};
    right[9] = 0.1f;
    std::vector<unsigned char> moved = Frame(25.0f, right, false);
    testing_support::Rgb leftEdge = testing_support::PixelAt(moved, kWidth, 100, 300);
    EXPECT_EQ(leftEdge.r + leftEdge.g + leftEdge.b, 0);
    testing_support::Rgb inside = testing_support::PixelAt(moved, kWidth, 140, 300);
    EXPECT_GT(inside.r + inside.g + inside.b, 0);

    // Row 7 in silence: no axis to turn about, so the quad is drawn unturned and unmoved.
    std::vector<unsigned char> names = Frame(45.0f, silence, false);
    EXPECT_EQ(DominantOverlay(names), "names.jpg");
    SpectrumBuffer axis = {};
    axis[0] = 0.05f;
    axis[4] = 0.05f;
    EXPECT_FALSE(same(Frame(45.0f, axis, false), names));
}
