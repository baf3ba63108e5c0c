// Small JPEG and PNG files made in the tests, through the real encoders.
#ifndef GLIMMERSET_TESTS_ASSETS_TEXTURES_IMAGE_FIXTURES_H
#define GLIMMERSET_TESTS_ASSETS_TEXTURES_IMAGE_FIXTURES_H

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <jpeglib.h>

namespace fixtures {

struct Rgba {
    int r, g, b, a;
};

// Samples, `components` per pixel, rows top first.
using Samples = std::vector<unsigned char>;

// Fills width * height pixels of `components` samples from `pixel`, which returns them in order.
Samples MakeSamples(int width, int height, int components, const std::function<std::vector<int>(int x, int y)>& pixel);

// A baseline JPEG at quality 100 with full-resolution chroma: `input` says what the samples are,
// `stored` what the file holds (JCS_YCbCr, JCS_RGB, JCS_GRAYSCALE, JCS_CMYK, JCS_YCCK, JCS_UNKNOWN).
std::string EncodeJpeg(int width, int height, int components, J_COLOR_SPACE input, J_COLOR_SPACE stored,
                       const Samples& samples);

// An RGB JPEG of `pixel`'s colours.
std::string RgbJpeg(int width, int height, const std::function<Rgba(int x, int y)>& pixel);

// A stream of quantisation and Huffman tables only, no image.
std::string TablesOnlyJpeg();

// Sets the frame header's sides of a JPEG stream (first SOF0 marker).
void PatchJpegSize(std::string& jpeg, int width, int height);

struct PngOptions {
    PngOptions(int colorType_, int bitDepth_, bool interlaced_ = false, std::vector<Rgba> palette_ = {},
               std::vector<int> transparency_ = {})
        : colorType(colorType_), bitDepth(bitDepth_), interlaced(interlaced_), palette(std::move(palette_)),
          transparency(std::move(transparency_)) {}
    int colorType;  // PNG_COLOR_TYPE_*
    int bitDepth;
    bool interlaced;
    std::vector<Rgba> palette;      // for PNG_COLOR_TYPE_PALETTE
    std::vector<int> transparency;  // tRNS: alphas per palette entry, or one grey value
};

// A PNG file of raw samples as libpng takes them for the options (16-bit samples big-endian,
// sub-byte samples packed).
std::string EncodePng(int width, int height, const PngOptions& options, const Samples& rows);

// Sets width and height in a PNG's IHDR and mends the chunk's CRC.
void PatchPngSize(std::string& png, unsigned width, unsigned height);

}  // namespace fixtures

#endif
