// JPEG decoding into ImageData: every colour layout comes out as packed RGB, damage the library
// survives only warns, and a stream it cannot decode ends the process.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "assets/jpeg.h"
#include "assets/texture.h"
#include "platform/win32/win32_seam.h"
#include "tests/assets/textures/image_fixtures.h"
#include "tests/support/test_support.h"

using fixtures::Rgba;
using testing_support::MessageBoxRecorder;
using testing_support::ScratchDir;

namespace {

Rgba PixelOf(const ImageData& image, int x, int y) {
    const unsigned char* p = image.pixels + static_cast<size_t>(y) * image.rowBytes + x * 3;
    return {p[0], p[1], p[2], 255};
}

::testing::AssertionResult Near(Rgba actual, Rgba expected, int tolerance) {
    if (std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
        std::abs(actual.b - expected.b) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "got (" << actual.r << ", " << actual.g << ", " << actual.b
                                         << "), expected (" << expected.r << ", " << expected.g << ", "
                                         << expected.b << ")";
}

// Five bands of eight columns (one JPEG block each), each band one colour given in the file's own
// samples and expected back as RGB.
struct Band {
    std::vector<int> samples;
    Rgba rgb;
};

struct LayoutCase {
    const char* name;
    J_COLOR_SPACE input;
    J_COLOR_SPACE stored;
    std::vector<Band> bands;
};

void PrintTo(const LayoutCase& c, std::ostream* out) { *out << c.name; }

class ColourLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ColourLayoutTest, ComesOutAsPackedRgb) {
    const LayoutCase& c = GetParam();
    const int components = static_cast<int>(c.bands[0].samples.size());
    const int width = 8 * static_cast<int>(c.bands.size()) - 3;  // the last band cut short: 37 wide
    ScratchDir dir;
    dir.Write("layout.jpg", fixtures::EncodeJpeg(width, 8, components, c.input, c.stored,
                                                  fixtures::MakeSamples(width, 8, components, [&](int x, int) {
                                                      return c.bands[x / 8].samples;
                                                  })));
    MessageBoxRecorder boxes;

    ImageData* image = LoadJpegFile("layout.jpg");

    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, width);
    EXPECT_EQ(image->height, 8);
    EXPECT_EQ(image->rowBytes, 3 * width);
    for (size_t band = 0; band < c.bands.size(); ++band) {
        for (int y : {0, 7}) {
            EXPECT_TRUE(Near(PixelOf(*image, static_cast<int>(band) * 8 + 2, y), c.bands[band].rgb, 6))
                << "band " << band << " row " << y;
        }
    }
    EXPECT_TRUE(boxes.boxes.empty());
    FreeImageData(image);
}

// CMYK files as Adobe's software writes them (and libjpeg, with the Adobe marker): inks inverted.
const std::vector<Band> kCmykBands = {{{255, 0, 0, 255}, {255, 0, 0, 255}},
                                      {{0, 255, 0, 255}, {0, 255, 0, 255}},
                                      {{255, 255, 255, 0}, {0, 0, 0, 255}},
                                      {{255, 255, 255, 128}, {128, 128, 128, 255}},
                                      {{255, 255, 255, 255}, {255, 255, 255, 255}}};
const std::vector<Band> kRgbBands = {{{255, 0, 0}, {255, 0, 0, 255}},
                                     {{0, 255, 0}, {0, 255, 0, 255}},
                                     {{0, 0, 255}, {0, 0, 255, 255}},
                                     {{40, 90, 160}, {40, 90, 160, 255}},
                                     {{255, 255, 255}, {255, 255, 255, 255}}};

INSTANTIATE_TEST_SUITE_P(
    Layouts, ColourLayoutTest,
    ::testing::Values(LayoutCase{"ycbcr", JCS_RGB, JCS_YCbCr, kRgbBands}, LayoutCase{"rgb", JCS_RGB, JCS_RGB, kRgbBands},
                      LayoutCase{"grey",
                                 JCS_GRAYSCALE,
                                 JCS_GRAYSCALE,
                                 {{{0}, {0, 0, 0, 255}},
                                  {{60}, {60, 60, 60, 255}},
                                  {{128}, {128, 128, 128, 255}},
                                  {{200}, {200, 200, 200, 255}},
                                  {{255}, {255, 255, 255, 255}}}},
                      LayoutCase{"cmyk", JCS_CMYK, JCS_CMYK, kCmykBands},
                      LayoutCase{"ycck", JCS_CMYK, JCS_YCCK, kCmykBands}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

// DecodeJpeg reads whatever source is attached to the record and reports the finish's result.
TEST(DecodeJpegTest, FillsTheImageFromAnAttachedSource) {
    const std::string jpeg = fixtures::RgbJpeg(21, 3, [](int x, int y) { return Rgba{x * 12, y * 100, 50, 255}; });
    jpeg_error_mgr errors;
    jpeg_decompress_struct record;
    record.err = jpeg_std_error(&errors);
    jpeg_CreateDecompress(&record, 62, sizeof(jpeg_decompress_struct));
    jpeg_mem_src(&record, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
    ImageData image{};

    EXPECT_TRUE(DecodeJpeg(&record, &image));
    jpeg_destroy_decompress(&record);

    EXPECT_EQ(image.width, 21);
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(image.rowBytes, 63);
    ASSERT_NE(image.pixels, nullptr);
    EXPECT_TRUE(Near(PixelOf(image, 20, 2), {240, 200, 50, 255}, 6));
    delete[] image.pixels;
}

TEST(LoadJpegFileTest, UnsupportedLayoutGivesNullAfterABox) {
    ScratchDir dir;
    dir.Write("two.jpg", fixtures::EncodeJpeg(8, 8, 2, JCS_UNKNOWN, JCS_UNKNOWN,
                                               fixtures::MakeSamples(8, 8, 2, [](int, int) { return std::vector<int>{1, 2}; })));
    MessageBoxRecorder boxes;
    EXPECT_EQ(LoadJpegFile("two.jpg"), nullptr);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Unsupported colour format in JPG File!");
    EXPECT_EQ(boxes.boxes[0].caption, "two.jpg");
}

// ---- Ends of the process ------------------------------------------------------------------------

// Any message box in these children ends them with status 3, so a box cannot pass for success.
void FailOnMessageBox() {
    win32seam::SetMessageBoxHook([](HWND, const char* text, const char* caption, UINT) -> int {
        std::fprintf(stderr, "unexpected box %s: %s\n", caption, text);
        std::_Exit(3);
    });
}

// A file cut short still loads; libjpeg warns once on standard error and fills the rest.
TEST(JpegDeathTest, TruncatedFileLoadsWithAWarning) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            FailOnMessageBox();
            ScratchDir dir;
            std::string jpeg = fixtures::RgbJpeg(64, 64, [](int x, int y) { return Rgba{x * 4, y * 4, 0, 255}; });
            dir.Write("cut.jpg", jpeg.substr(0, jpeg.size() * 6 / 10));
            ImageData* image = LoadJpegFile("cut.jpg");
            const bool whole = image != nullptr && image->width == 64 && image->height == 64;
            FreeImageData(image);
            std::exit(whole ? 0 : 2);
        },
        ::testing::ExitedWithCode(0), "Premature end of JPEG file");
}

struct UndecodableCase {
    const char* name;
    std::string (*bytes)();
    const char* message;
};

void PrintTo(const UndecodableCase& c, std::ostream* out) { *out << c.name; }

class UndecodableJpegDeathTest : public ::testing::TestWithParam<UndecodableCase> {};

// What libjpeg cannot decode ends the process with status 1 and the library's message, no box.
TEST_P(UndecodableJpegDeathTest, EndsTheProcessWithStatusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const UndecodableCase& c = GetParam();
    EXPECT_EXIT(
        {
            FailOnMessageBox();
            ScratchDir dir;
            dir.Write("broken.jpg", c.bytes());
            LoadJpegFile("broken.jpg");
            std::exit(0);
        },
        ::testing::ExitedWithCode(1), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Files, UndecodableJpegDeathTest,
    ::testing::Values(
        UndecodableCase{"empty", [] { return std::string(); }, "Empty input file"},
        UndecodableCase{"text", [] { return std::string("plain text, not a picture\n"); }, "Not a JPEG file"},
        UndecodableCase{"tablesOnly", fixtures::TablesOnlyJpeg, "JPEG datastream contains no image"},
        UndecodableCase{"png",
                        [] {
                            return fixtures::EncodePng(4, 4, {PNG_COLOR_TYPE_GRAY, 8},
                                                       fixtures::MakeSamples(4, 4, 1, [](int, int) { return std::vector<int>{9}; }));
                        },
                        "Not a JPEG file"},
        UndecodableCase{"zeroHeight",
                        [] {
                            std::string j = fixtures::RgbJpeg(8, 8, [](int, int) { return Rgba{1, 2, 3, 255}; });
                            fixtures::PatchJpegSize(j, 8, 0);
                            return j;
                        },
                        "Empty JPEG image"}),
    [](const ::testing::TestParamInfo<UndecodableCase>& info) { return std::string(info.param.name); });

// Only the first '.' counts: "./picture.png" is read as a JPEG, so a PNG file there ends the show.
TEST(JpegDeathTest, PngFileBehindADotSlashPathEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            FailOnMessageBox();
            ScratchDir dir;
            dir.Write("picture.png", fixtures::EncodePng(4, 4, {PNG_COLOR_TYPE_GRAY, 8},
                                                         fixtures::MakeSamples(4, 4, 1, [](int, int) {
                                                             return std::vector<int>{9};
                                                         })));
            Texture texture("./picture.png");
            std::exit(0);
        },
        ::testing::ExitedWithCode(1), "Not a JPEG file");
}

// An image too large for the memory at hand is a failed load with a box, not a crash.
TEST(JpegDeathTest, ImageTooLargeForMemoryGivesNullAfterABox) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ScratchDir dir;
            std::string jpeg = fixtures::RgbJpeg(16, 16, [](int, int) { return Rgba{9, 9, 9, 255}; });
            fixtures::PatchJpegSize(jpeg, 65000, 65000);  // 12.7 GB of pixels
            dir.Write("huge.jpg", jpeg);
            MessageBoxRecorder boxes;
            // 1 GB of address space beyond what is mapped now.
            std::ifstream statm("/proc/self/statm");
            unsigned long pages = 0;
            statm >> pages;
            rlimit limit;
            limit.rlim_cur = limit.rlim_max = pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (1ul << 30);
            setrlimit(RLIMIT_AS, &limit);
            ImageData* image = LoadJpegFile("huge.jpg");
            const bool boxed = boxes.boxes.size() == 1 && boxes.boxes[0].text == "Not enough memory for JPG File!" &&
                               boxes.boxes[0].caption == "huge.jpg";
            std::fprintf(stderr, "image %s, boxed %d\n", image ? "loaded" : "null", boxed);
            std::exit(image == nullptr && boxed ? 0 : 2);
        },
        ::testing::ExitedWithCode(0), "image null, boxed 1");
}

}  // namespace
