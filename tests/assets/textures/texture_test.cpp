// Texture loading in a real OpenGL context: which decoder a path takes, what each load leaves in
// OpenGL, what reaches the texture, and how missing and damaged files end.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cctype>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "assets/jpeg.h"
#include "assets/png_bind.h"
#include "assets/texture.h"
#include "shell/glwindow.h"
#include "tests/assets/textures/image_fixtures.h"
#include "tests/support/test_support.h"

using fixtures::Rgba;
using testing_support::MessageBoxRecorder;
using testing_support::ScratchDir;

namespace {

GLint Integer(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

GLint TexParameter(GLenum name) {
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

GLint LevelParameter(GLint level, GLenum name) {
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

// Level `level` of the bound texture as RGBA bytes, row 0 (t = 0) first.
struct Level {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;
    Rgba At(int x, int y) const {
        const unsigned char* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
};

Level ReadLevel(GLint level) {
    Level out;
    out.width = LevelParameter(level, GL_TEXTURE_WIDTH);
    out.height = LevelParameter(level, GL_TEXTURE_HEIGHT);
    out.rgba.resize(static_cast<size_t>(out.width) * out.height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, out.rgba.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return out;
}

::testing::AssertionResult Near(Rgba actual, Rgba expected, int tolerance) {
    if (std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
        std::abs(actual.b - expected.b) <= tolerance && std::abs(actual.a - expected.a) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "got (" << actual.r << ", " << actual.g << ", " << actual.b << ", "
                                         << actual.a << "), expected (" << expected.r << ", " << expected.g << ", "
                                         << expected.b << ", " << expected.a << ")";
}

enum class Kind { Jpeg, Png };

// Writes an image of `pixel` in the given kind (PNG: 8-bit RGB).
void WriteImage(const ScratchDir& dir, const std::string& name, Kind kind, int width, int height,
                const std::function<Rgba(int, int)>& pixel) {
    if (kind == Kind::Jpeg) {
        dir.Write(name, fixtures::RgbJpeg(width, height, pixel));
        return;
    }
    fixtures::Samples samples = fixtures::MakeSamples(width, height, 3, [&](int x, int y) {
        Rgba c = pixel(x, y);
        return std::vector<int>{c.r, c.g, c.b};
    });
    dir.Write(name, fixtures::EncodePng(width, height, {PNG_COLOR_TYPE_RGB, 8}, samples));
}

const Rgba kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255}, kWhite{255, 255, 255, 255};

// Each test draws in its own window, in a scratch working directory, with message boxes recorded.
class TextureTest : public ::testing::Test {
protected:
    GLWindow window{800, 600, 32, false, "textures"};
    ScratchDir dir;
    MessageBoxRecorder boxes;

    // A texture of our own, bound before a load, to see whether the load binds anything.
    GLuint BindSentinel() {
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        return name;
    }
};

// ---- Which decoder a path takes ----------------------------------------------------------------

struct PathCase {
    const char* path;
    bool png;
};

void PrintTo(const PathCase& c, std::ostream* out) { *out << '"' << c.path << '"'; }

class ExtensionTest : public TextureTest, public ::testing::WithParamInterface<PathCase> {};

// Missing files tell the two ways apart: the JPEG way shows its box, the PNG way nothing. Either way
// no texture is made and the sizes stay 0.
TEST_P(ExtensionTest, MissingFileShowsWhichLoaderRan) {
    const PathCase& c = GetParam();
    GLuint sentinel = BindSentinel();
    Texture texture(c.path);

    EXPECT_EQ(texture.textureName, 0u);
    EXPECT_EQ(texture.width, 0);
    EXPECT_EQ(texture.height, 0);
    EXPECT_EQ(static_cast<GLuint>(Integer(GL_TEXTURE_BINDING_2D)), sentinel);
    if (c.png) {
        EXPECT_TRUE(boxes.boxes.empty());
    } else {
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].owner, nullptr);
        EXPECT_EQ(boxes.boxes[0].text, "Unable to load JPG File!");
        EXPECT_EQ(boxes.boxes[0].caption, c.path);
        EXPECT_EQ(boxes.boxes[0].type, static_cast<UINT>(MB_OK));
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, ExtensionTest,
                         ::testing::Values(PathCase{"x.png", true}, PathCase{"x.Png", true}, PathCase{"x.PNg", true},
                                           PathCase{"x.PNG", true}, PathCase{"x.pNG", false},
                                           PathCase{"x.pnG", false}, PathCase{"x.PnG", false},
                                           PathCase{"x.pNg", false}, PathCase{"x.jpg", false},
                                           PathCase{"x.jpeg", false}, PathCase{"x.png.jpg", false},
                                           PathCase{"a.b.png", false}, PathCase{"./x.png", false},
                                           PathCase{"x.png ", false}, PathCase{"noextension", false}),
                         [](const ::testing::TestParamInfo<PathCase>& info) {
                             std::string name;
                             for (const char* p = info.param.path; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name + "_" + std::to_string(info.index);
                         });

// With real files: a JPEG under an odd spelling of png is read as a JPEG (mip-mapped), a PNG under
// "PNG" as a PNG (one level), and a path without '.' as a JPEG.
TEST_F(TextureTest, RealFilesFollowTheExtension) {
    auto grey = [](int, int) { return Rgba{128, 128, 128, 255}; };
    WriteImage(dir, "photo.pNG", Kind::Jpeg, 16, 16, grey);
    WriteImage(dir, "photo", Kind::Jpeg, 16, 16, grey);
    WriteImage(dir, "picture.PNG", Kind::Png, 16, 16, grey);

    for (const char* path : {"photo.pNG", "photo"}) {
        Texture texture(path);
        ASSERT_NE(texture.textureName, 0u) << path;
        EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST) << path;
        EXPECT_EQ(LevelParameter(4, GL_TEXTURE_WIDTH), 1) << path;
    }
    Texture png("picture.PNG");
    ASSERT_NE(png.textureName, 0u);
    EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(LevelParameter(1, GL_TEXTURE_WIDTH), 0);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(TextureTest, EveryMissingJpegShowsItsOwnBoxAndLoadingGoesOn) {
    WriteImage(dir, "there.jpg", Kind::Jpeg, 8, 8, [](int, int) { return kRed; });
    Texture first("gone1.jpg");
    Texture present("there.jpg");
    Texture second("gone2.jpg");

    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].caption, "gone1.jpg");
    EXPECT_EQ(boxes.boxes[1].caption, "gone2.jpg");
    EXPECT_EQ(first.textureName, 0u);
    EXPECT_NE(present.textureName, 0u);
    EXPECT_EQ(second.textureName, 0u);
}

// When the window could not be made the show goes on without a context: its pictures still decode
// (sizes known), nothing is made, and nothing trips over the missing context.
TEST(TextureWithoutContextTest, LoadsDecodeAndMakeNothing) {
    ScratchDir dir;
    MessageBoxRecorder boxes;
    auto grey = [](int, int) { return Rgba{128, 128, 128, 255}; };
    WriteImage(dir, "wide.jpg", Kind::Jpeg, 24, 16, grey);  // resampled to powers of two, then mip-mapped
    WriteImage(dir, "plain.png", Kind::Png, 8, 4, grey);

    Texture jpeg("wide.jpg");
    Texture png("plain.png");
    EXPECT_EQ(jpeg.textureName, 0u);
    EXPECT_EQ(jpeg.width, 24);
    EXPECT_EQ(jpeg.height, 16);
    EXPECT_EQ(png.textureName, 0u);
    EXPECT_TRUE(boxes.boxes.empty());
}

// ---- OpenGL state after a load -----------------------------------------------------------------

struct StateCase {
    Kind kind;
    bool texturingOn;
};

std::string KindName(Kind kind) { return kind == Kind::Jpeg ? "jpeg" : "png"; }

void PrintTo(Kind kind, std::ostream* out) { *out << KindName(kind); }
void PrintTo(const StateCase& c, std::ostream* out) {
    *out << KindName(c.kind) << (c.texturingOn ? ", texturing on" : ", texturing off");
}

class LoadStateTest : public TextureTest, public ::testing::WithParamInterface<StateCase> {};

// A 100 x 60 image: GLU and pngBind both bring it to 128 x 64.
TEST_P(LoadStateTest, LeavesTheNewTextureBoundAndConfigured) {
    const StateCase& c = GetParam();
    const char* path = c.kind == Kind::Jpeg ? "image.jpg" : "image.png";
    WriteImage(dir, path, c.kind, 100, 60, [](int x, int y) { return Rgba{x * 2, y * 4, 200, 255}; });
    BindSentinel();
    if (c.texturingOn) glEnable(GL_TEXTURE_2D);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);

    Texture texture(path);

    ASSERT_NE(texture.textureName, 0u);
    EXPECT_EQ(texture.width, 100);
    EXPECT_EQ(texture.height, 60);
    EXPECT_EQ(static_cast<GLuint>(Integer(GL_TEXTURE_BINDING_2D)), texture.textureName);
    EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), c.texturingOn ? GL_TRUE : GL_FALSE);
    EXPECT_EQ(Integer(GL_UNPACK_ALIGNMENT), 2);
    EXPECT_EQ(TexParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), 128);
    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_HEIGHT), 64);
    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_ALPHA_SIZE), 0);
    if (c.kind == Kind::Jpeg) {
        EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
        for (int level = 1; level <= 7; ++level) {
            EXPECT_EQ(LevelParameter(level, GL_TEXTURE_WIDTH), std::max(1, 128 >> level)) << level;
            EXPECT_EQ(LevelParameter(level, GL_TEXTURE_HEIGHT), std::max(1, 64 >> level)) << level;
        }
        EXPECT_EQ(LevelParameter(8, GL_TEXTURE_WIDTH), 0);
    } else {
        EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
        EXPECT_EQ(LevelParameter(1, GL_TEXTURE_WIDTH), 0);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_TRUE(boxes.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, LoadStateTest,
                         ::testing::Values(StateCase{Kind::Jpeg, false}, StateCase{Kind::Jpeg, true},
                                           StateCase{Kind::Png, false}, StateCase{Kind::Png, true}),
                         [](const ::testing::TestParamInfo<StateCase>& info) {
                             return KindName(info.param.kind) + (info.param.texturingOn ? "TexturingOn" : "TexturingOff");
                         });

// ---- What reaches the texture ------------------------------------------------------------------

class PixelsTest : public TextureTest, public ::testing::WithParamInterface<Kind> {};

// Quadrants red, green / blue, white: the file's top row lies at t = 0, its first pixel at s = 0.
TEST_P(PixelsTest, TopRowAtTZeroAndFirstPixelAtSZero) {
    const char* path = GetParam() == Kind::Jpeg ? "quad.jpg" : "quad.png";
    WriteImage(dir, path, GetParam(), 64, 32, [](int x, int y) {
        if (y < 16) return x < 32 ? kRed : kGreen;
        return x < 32 ? kBlue : kWhite;
    });
    Texture texture(path);
    Level level = ReadLevel(0);
    ASSERT_EQ(level.width, 64);
    ASSERT_EQ(level.height, 32);
    EXPECT_TRUE(Near(level.At(0, 0), kRed, 8));
    EXPECT_TRUE(Near(level.At(63, 0), kGreen, 8));
    EXPECT_TRUE(Near(level.At(0, 31), kBlue, 8));
    EXPECT_TRUE(Near(level.At(63, 31), kWhite, 8));
}

// Rows of 3 * width bytes are read unpadded whatever the width: every row of a picture made of
// identical rows comes out identical, red on the left and blue on the right.
TEST_P(PixelsTest, WidthsThatAreNoMultipleOfFour) {
    for (int width : {2, 5, 30, 33, 102}) {
        SCOPED_TRACE(width);
        const std::string path = std::string("stripes") + std::to_string(width) + (GetParam() == Kind::Jpeg ? ".jpg" : ".png");
        WriteImage(dir, path, GetParam(), width, 16, [width](int x, int) { return x < width / 2 ? kRed : kBlue; });
        Texture texture(path.c_str());
        ASSERT_NE(texture.textureName, 0u);
        EXPECT_EQ(texture.width, width);
        Level level = ReadLevel(0);
        ASSERT_EQ(level.height, 16);
        EXPECT_TRUE(Near(level.At(0, 0), kRed, 24));
        EXPECT_TRUE(Near(level.At(level.width - 1, 0), kBlue, 24));
        for (int y = 1; y < level.height; ++y)
            for (int x = 0; x < level.width; ++x) ASSERT_TRUE(Near(level.At(x, y), level.At(x, 0), 2)) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, PixelsTest, ::testing::Values(Kind::Jpeg, Kind::Png),
                         [](const ::testing::TestParamInfo<Kind>& info) { return KindName(info.param); });

// ---- PNG files of every colour type ------------------------------------------------------------

struct PngCase {
    const char* name;
    fixtures::PngOptions options;
    unsigned depth;
    bool alpha;
};

void PrintTo(const PngCase& c, std::ostream* out) { *out << c.name; }

class PngKindsTest : public TextureTest, public ::testing::WithParamInterface<PngCase> {};

// An 8 x 4 picture whose expected colour at (x, y) is Expected(x, y); each case stores it its way.
Rgba Expected(const PngCase& c, int x, int y) {
    const int v = 20 + 30 * x + 5 * y;  // grey level
    const int a = 255 - 25 * x - 10 * y;
    switch (c.options.colorType) {
        case PNG_COLOR_TYPE_GRAY:
            if (c.options.bitDepth == 1) return (x + y) & 1 ? Rgba{255, 255, 255, 255} : Rgba{0, 0, 0, 255};
            return {v, v, v, 255};
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return {v, v, v, a};
        case PNG_COLOR_TYPE_PALETTE:
            return c.options.palette[(x + y) % 4];
        case PNG_COLOR_TYPE_RGB:
            return {30 * x, 60 * y, 255 - 20 * x, 255};
        default:
            return {30 * x, 60 * y, 255 - 20 * x, a};
    }
}

fixtures::Samples Stored(const PngCase& c) {
    const bool wide = c.options.bitDepth == 16;
    if (c.options.colorType == PNG_COLOR_TYPE_GRAY && c.options.bitDepth == 1) {
        // eight one-bit pixels per byte, first pixel in the high bit
        return fixtures::MakeSamples(1, 4, 1, [](int, int y) { return std::vector<int>{(y & 1) ? 0xAA : 0x55}; });
    }
    const int type = c.options.colorType;
    const int channels = type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_PALETTE ? 1
                         : type == PNG_COLOR_TYPE_GRAY_ALPHA                           ? 2
                         : type == PNG_COLOR_TYPE_RGB                                  ? 3
                                                                                       : 4;
    return fixtures::MakeSamples(8, 4, wide ? 2 * channels : channels, [&](int x, int y) {
        Rgba e = Expected(c, x, y);
        std::vector<int> values;
        switch (c.options.colorType) {
            case PNG_COLOR_TYPE_GRAY: values = {e.r}; break;
            case PNG_COLOR_TYPE_GRAY_ALPHA: values = {e.r, e.a}; break;
            case PNG_COLOR_TYPE_PALETTE: values = {(x + y) % 4}; break;
            case PNG_COLOR_TYPE_RGB: values = {e.r, e.g, e.b}; break;
            default: values = {e.r, e.g, e.b, e.a};
        }
        if (!wide) return values;
        std::vector<int> samples;  // 16 bits, big-endian; the low byte is noise the load drops
        for (int v : values) {
            samples.push_back(v);
            samples.push_back((x * 37 + y * 11) & 0xFF);
        }
        return samples;
    });
}

TEST_P(PngKindsTest, ColourTypesBecomeRgbOrRgba) {
    const PngCase& c = GetParam();
    dir.Write("kind.png", fixtures::EncodePng(8, 4, c.options, Stored(c)));
    pngInfo info{99, 99, 99, 99};

    GLuint name = pngBind("kind.png", PNG_NOMIPMAPS, PNG_ALPHA, &info, GL_REPEAT, GL_LINEAR, GL_LINEAR);

    ASSERT_NE(name, 0u);
    EXPECT_EQ(info.Width, 8u);
    EXPECT_EQ(info.Height, 4u);
    EXPECT_EQ(info.Depth, c.depth);
    EXPECT_EQ(info.Alpha, c.alpha ? 8u : 0u);
    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_ALPHA_SIZE) > 0, c.alpha);
    Level level = ReadLevel(0);
    ASSERT_EQ(level.width, 8);
    ASSERT_EQ(level.height, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            Rgba expected = Expected(c, x, y);
            if (!c.alpha) expected.a = 255;
            ASSERT_TRUE(Near(level.At(x, y), expected, 0)) << x << "," << y;
        }
    }
}

const std::vector<Rgba> kPalette = {{255, 0, 0, 255}, {0, 200, 0, 255}, {10, 20, 250, 255}, {250, 250, 0, 255}};

INSTANTIATE_TEST_SUITE_P(
    ColourTypes, PngKindsTest,
    ::testing::Values(PngCase{"rgb", {PNG_COLOR_TYPE_RGB, 8}, 8, false},
                      PngCase{"rgba", {PNG_COLOR_TYPE_RGB_ALPHA, 8}, 8, true},
                      PngCase{"grey", {PNG_COLOR_TYPE_GRAY, 8}, 8, false},
                      PngCase{"greyAlpha", {PNG_COLOR_TYPE_GRAY_ALPHA, 8}, 8, true},
                      PngCase{"grey1", {PNG_COLOR_TYPE_GRAY, 1}, 1, false},
                      PngCase{"greyKey", {PNG_COLOR_TYPE_GRAY, 8, false, {}, {50}}, 8, false},
                      PngCase{"palette", {PNG_COLOR_TYPE_PALETTE, 8, false, kPalette, {}}, 8, false},
                      PngCase{"paletteTransparent", {PNG_COLOR_TYPE_PALETTE, 8, false, kPalette, {0, 128}}, 8,
                              false},
                      PngCase{"rgb16", {PNG_COLOR_TYPE_RGB, 16}, 16, false},
                      PngCase{"rgba16", {PNG_COLOR_TYPE_RGB_ALPHA, 16}, 16, true},
                      PngCase{"rgbInterlaced", {PNG_COLOR_TYPE_RGB, 8, true}, 8, false}),
    [](const ::testing::TestParamInfo<PngCase>& info) { return std::string(info.param.name); });

// ---- Files that cannot be read ------------------------------------------------------------------

std::string GoodPng() {
    fixtures::Samples samples = fixtures::MakeSamples(64, 64, 3, [](int x, int y) {
        return std::vector<int>{(x * 97 + y * 31) & 0xFF, (x * 13 ^ y * 7) & 0xFF, (x * y) & 0xFF};
    });
    return fixtures::EncodePng(64, 64, {PNG_COLOR_TYPE_RGB, 8}, samples);
}

struct DamagedCase {
    const char* name;
    std::function<std::string()> bytes;
};

void PrintTo(const DamagedCase& c, std::ostream* out) { *out << c.name; }

class DamagedPngTest : public TextureTest, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedPngTest, GivesNoTextureAndNoBox) {
    dir.Write("damaged.png", GetParam().bytes());
    GLuint sentinel = BindSentinel();

    Texture texture("damaged.png");

    EXPECT_EQ(texture.textureName, 0u);
    EXPECT_EQ(texture.width, 0);
    EXPECT_EQ(texture.height, 0);
    EXPECT_EQ(static_cast<GLuint>(Integer(GL_TEXTURE_BINDING_2D)), sentinel);
    EXPECT_TRUE(boxes.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedPngTest,
    ::testing::Values(DamagedCase{"empty", [] { return std::string(); }},
                      DamagedCase{"text", [] { return std::string("this is not a picture\n"); }},
                      DamagedCase{"jpegInside", [] { return fixtures::RgbJpeg(8, 8, [](int, int) { return kRed; }); }},
                      DamagedCase{"signatureOnly", [] { return GoodPng().substr(0, 8); }},
                      DamagedCase{"cutInImageData", [] { std::string p = GoodPng(); return p.substr(0, p.size() / 2); }},
                      DamagedCase{"headerCrc", [] { std::string p = GoodPng(); p[30] ^= 0x5A; return p; }},
                      DamagedCase{"imageDataCrc",
                                  [] { std::string p = GoodPng(); p[p.size() / 2] ^= 0x5A; return p; }},
                      DamagedCase{"hugeSides",
                                  [] { std::string p = GoodPng(); fixtures::PatchPngSize(p, 999999, 999999); return p; }},
                      DamagedCase{"zeroWidth",
                                  [] { std::string p = GoodPng(); fixtures::PatchPngSize(p, 0, 64); return p; }}),
    [](const ::testing::TestParamInfo<DamagedCase>& info) { return std::string(info.param.name); });

// libpng's complaint reaches standard error, and the program carries on.
TEST(DamagedPngDeathTest, LibpngMessageGoesToStandardError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            GLWindow window(800, 600, 32, false, "textures");
            ScratchDir dir;
            std::string p = GoodPng();
            p[30] ^= 0x5A;
            dir.Write("bad.png", p);
            Texture texture("bad.png");
            std::exit(texture.textureName == 0 ? 0 : 2);
        },
        ::testing::ExitedWithCode(0), "bad\\.png: libpng error: IHDR: CRC error");
}

TEST_F(TextureTest, JpegWithoutAnRgbFormIsRefusedWithABox) {
    fixtures::Samples samples = fixtures::MakeSamples(8, 8, 2, [](int x, int y) { return std::vector<int>{x * 30, y * 30}; });
    dir.Write("two.jpg", fixtures::EncodeJpeg(8, 8, 2, JCS_UNKNOWN, JCS_UNKNOWN, samples));
    GLuint sentinel = BindSentinel();

    Texture texture("two.jpg");

    EXPECT_EQ(texture.textureName, 0u);
    EXPECT_EQ(texture.width, 0);
    EXPECT_EQ(static_cast<GLuint>(Integer(GL_TEXTURE_BINDING_2D)), sentinel);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Unsupported colour format in JPG File!");
    EXPECT_EQ(boxes.boxes[0].caption, "two.jpg");
    EXPECT_EQ(boxes.boxes[0].owner, nullptr);
}

// ---- The four operations -----------------------------------------------------------------------

TEST_F(TextureTest, BindEnablesAndBindsUnbindOnlyDisables) {
    WriteImage(dir, "a.jpg", Kind::Jpeg, 8, 8, [](int, int) { return kRed; });
    WriteImage(dir, "b.png", Kind::Png, 8, 8, [](int, int) { return kBlue; });
    Texture a("a.jpg");
    Texture b("b.png");
    ASSERT_NE(a.textureName, 0u);
    ASSERT_NE(b.textureName, 0u);
    ASSERT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_FALSE);

    a.Bind();
    EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_TRUE);
    EXPECT_EQ(static_cast<GLuint>(Integer(GL_TEXTURE_BINDING_2D)), a.textureName);

    a.Unbind();
    EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_FALSE);
    EXPECT_EQ(static_cast<GLuint>(Integer(GL_TEXTURE_BINDING_2D)), a.textureName);

    // A failed texture binds OpenGL's default texture object.
    Texture missing("missing.png");
    missing.Bind();
    EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_TRUE);
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), 0);
}

TEST_F(TextureTest, SetClampAndSetRepeatBindAndChangeOnlyTheWrapModes) {
    WriteImage(dir, "a.jpg", Kind::Jpeg, 8, 8, [](int, int) { return kRed; });
    WriteImage(dir, "b.png", Kind::Png, 8, 8, [](int, int) { return kBlue; });
    Texture a("a.jpg");
    Texture b("b.png");

    for (bool texturingOn : {false, true}) {
        SCOPED_TRACE(texturingOn);
        if (texturingOn) glEnable(GL_TEXTURE_2D); else glDisable(GL_TEXTURE_2D);
        for (Texture* t : {&a, &b}) {
            const GLint minFilter = (glBindTexture(GL_TEXTURE_2D, t->textureName), TexParameter(GL_TEXTURE_MIN_FILTER));
            glBindTexture(GL_TEXTURE_2D, 0);

            t->SetClamp();
            EXPECT_EQ(static_cast<GLuint>(Integer(GL_TEXTURE_BINDING_2D)), t->textureName);
            EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_S), GL_CLAMP);
            EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_T), GL_CLAMP);
            EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), texturingOn ? GL_TRUE : GL_FALSE);
            glBindTexture(GL_TEXTURE_2D, 0);

            t->SetRepeat();
            EXPECT_EQ(static_cast<GLuint>(Integer(GL_TEXTURE_BINDING_2D)), t->textureName);
            EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
            EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
            EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), minFilter);
            EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), texturingOn ? GL_TRUE : GL_FALSE);
        }
    }
}

// A textured quad over the whole window shows the picture upright: the file's top row at the top
// of the screen when t = 0 is given to the top corners, as the overlays do.
TEST_F(TextureTest, QuadShowsThePictureWithTopRowAtTZero) {
    WriteImage(dir, "quad.jpg", Kind::Jpeg, 64, 32, [](int x, int y) {
        if (y < 16) return x < 32 ? kRed : kGreen;
        return x < 32 ? kBlue : kWhite;
    });
    Texture texture("quad.jpg");
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glClear(GL_COLOR_BUFFER_BIT);
    texture.Bind();
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1); glVertex2f(-1, -1);
    glTexCoord2f(1, 1); glVertex2f(1, -1);
    glTexCoord2f(1, 0); glVertex2f(1, 1);
    glTexCoord2f(0, 0); glVertex2f(-1, 1);
    glEnd();
    texture.Unbind();
    std::vector<unsigned char> frame = testing_support::ReadFrame(800, 600);
    auto at = [&](int x, int yFromTop) {
        testing_support::Rgb p = testing_support::PixelAt(frame, 800, x, 599 - yFromTop);
        return Rgba{p.r, p.g, p.b, 255};
    };
    EXPECT_TRUE(Near(at(100, 100), kRed, 12));
    EXPECT_TRUE(Near(at(700, 100), kGreen, 12));
    EXPECT_TRUE(Near(at(100, 500), kBlue, 12));
    EXPECT_TRUE(Near(at(700, 500), kWhite, 12));
}

}  // namespace
