// make_icon on pictures made here: the shape and placement of the picture in the square icon, and
// bad input refused without a file left behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <png.h>

#include "tests/support/test_support.h"

using testing_support::Run;
using testing_support::ScratchDir;

namespace {

struct Rgba {
    int r, g, b, a;
};

struct Png {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    Rgba At(int x, int y) const {
        const unsigned char* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
};

// Writes a width x height JPEG whose pixel colours come from `colour(x, y)`.
void WriteJpeg(const std::string& path, int width, int height, const std::function<Rgba(int, int)>& colour) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgba c = colour(x, y);
            row[x * 3] = static_cast<unsigned char>(c.r);
            row[x * 3 + 1] = static_cast<unsigned char>(c.g);
            row[x * 3 + 2] = static_cast<unsigned char>(c.b);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
}

Png ReadPng(const std::string& path) {
    Png result;
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return result;
    image.format = PNG_FORMAT_RGBA;
    result.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, result.rgba.data(), 0, nullptr)) return Png();
    result.width = static_cast<int>(image.width);
    result.height = static_cast<int>(image.height);
    return result;
}

int MakeIcon(const std::string& arguments, std::string* log = nullptr) {
    int status = -1;
    std::string out = Run(std::string(MAKE_ICON) + " " + arguments + " 2>&1", &status);
    if (log) *log = out;
    return status;
}

bool Near(Rgba c, int r, int g, int b) {
    return std::abs(c.r - r) <= 12 && std::abs(c.g - g) <= 12 && std::abs(c.b - b) <= 12 && c.a == 255;
}

// Left half red, right half blue, so the picture's orientation and extent can be read off the icon.
Rgba Halves(int x, int width) { return x < width / 2 ? Rgba{230, 20, 20, 255} : Rgba{20, 20, 230, 255}; }

struct FitCase {
    int width, height;   // picture
    int size;            // icon
    int left, top;       // where the picture lands in the icon
    int right, bottom;   // exclusive
};

class MakeIconFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(MakeIconFit, ScalesThePictureIntoTheMiddleOfATransparentSquare) {
    const FitCase& c = GetParam();
    ScratchDir dir;
    WriteJpeg("card.jpg", c.width, c.height, [&](int x, int) { return Halves(x, c.width); });
    ASSERT_EQ(MakeIcon("card.jpg icon.png " + std::to_string(c.size)), 0);

    Png icon = ReadPng("icon.png");
    ASSERT_EQ(icon.width, c.size);
    ASSERT_EQ(icon.height, c.size);
    int midY = (c.top + c.bottom) / 2;
    int midX = (c.left + c.right) / 2;
    // Inside: red on the left, blue on the right, opaque.
    EXPECT_TRUE(Near(icon.At(c.left + (midX - c.left) / 2, midY), 230, 20, 20));
    EXPECT_TRUE(Near(icon.At(midX + (c.right - midX) / 2, midY), 20, 20, 230));
    EXPECT_EQ(icon.At(c.left, c.top).a, 255);
    EXPECT_EQ(icon.At(c.right - 1, c.bottom - 1).a, 255);
    // Outside: transparent, right up to the picture's edge.
    if (c.top > 0) {
        EXPECT_EQ(icon.At(midX, c.top - 1).a, 0);
        EXPECT_EQ(icon.At(midX, c.bottom).a, 0);
        EXPECT_EQ(icon.At(0, 0).a, 0);
    }
    if (c.left > 0) {
        EXPECT_EQ(icon.At(c.left - 1, midY).a, 0);
        EXPECT_EQ(icon.At(c.right, midY).a, 0);
        EXPECT_EQ(icon.At(0, 0).a, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, MakeIconFit,
                         ::testing::Values(FitCase{800, 600, 256, 0, 32, 256, 224},  // the show's 4:3 card
                                           FitCase{300, 600, 128, 32, 0, 96, 128},   // tall
                                           FitCase{512, 512, 256, 0, 0, 256, 256},   // square
                                           FitCase{40, 30, 64, 0, 8, 64, 56}),       // smaller than the icon
                         [](const ::testing::TestParamInfo<FitCase>& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height) +
                                    "_in_" + std::to_string(info.param.size);
                         });

// A fine pattern shrunk a lot must average out, not alias into stripes of one colour.
TEST(MakeIcon, AveragesTheAreaEachIconPixelCovers) {
    ScratchDir dir;
    WriteJpeg("stripes.jpg", 1024, 1024, [](int x, int) {
        int v = (x / 8) % 2 ? 255 : 0;
        return Rgba{v, v, v, 255};
    });
    ASSERT_EQ(MakeIcon("stripes.jpg icon.png 64"), 0);
    Png icon = ReadPng("icon.png");
    ASSERT_EQ(icon.width, 64);
    for (int x = 0; x < 64; x += 7) {
        Rgba c = icon.At(x, 32);
        EXPECT_NEAR(c.r, 128, 20) << "at x " << x;
    }
}

TEST(MakeIcon, RefusesWhatIsNotAWholeJpegAndWritesNothing) {
    ScratchDir dir;
    WriteJpeg("good.jpg", 64, 48, [](int x, int) { return Halves(x, 64); });
    std::string good = testing_support::Run("cat good.jpg");
    dir.Write("text.jpg", "this is not a picture");
    dir.Write("empty.jpg", "");
    dir.Write("cut.jpg", good.substr(0, good.size() / 2));
    std::string bad = good;
    for (size_t i = good.size() / 2; i < good.size() / 2 + 64; ++i) bad[i] = static_cast<char>(0xFF);
    dir.Write("damaged.jpg", bad);

    for (const char* name : {"missing.jpg", "text.jpg", "empty.jpg", "cut.jpg", "damaged.jpg"}) {
        std::string log;
        int status = MakeIcon(std::string(name) + " icon.png", &log);
        EXPECT_EQ(status, 1) << name << ": " << log;
        EXPECT_NE(log.find(name), std::string::npos) << "the message does not name the file: " << log;
        EXPECT_EQ(ReadPng("icon.png").width, 0) << name << " left an icon behind";
    }
}

TEST(MakeIcon, RefusesWrongArguments) {
    ScratchDir dir;
    WriteJpeg("good.jpg", 64, 48, [](int x, int) { return Halves(x, 64); });
    for (const char* arguments : {"", "good.jpg", "good.jpg icon.png 8", "good.jpg icon.png big", "a b c d"}) {
        EXPECT_EQ(MakeIcon(arguments), 2) << arguments;
    }
    EXPECT_EQ(MakeIcon("good.jpg /nonexistent/folder/icon.png"), 1);
}

}  // namespace
