#include "tests/assets/textures/image_fixtures.h"

#include <png.h>
#include <zlib.h>

#include <cstdlib>
#include <stdexcept>

namespace fixtures {

Samples MakeSamples(int width, int height, int components, const std::function<std::vector<int>(int x, int y)>& pixel) {
    Samples samples;
    samples.reserve(static_cast<size_t>(width) * height * components);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::vector<int> values = pixel(x, y);
            if (static_cast<int>(values.size()) != components) throw std::logic_error("wrong sample count");
            for (int v : values) samples.push_back(static_cast<unsigned char>(v));
        }
    }
    return samples;
}

std::string EncodeJpeg(int width, int height, int components, J_COLOR_SPACE input, J_COLOR_SPACE stored,
                       const Samples& samples) {
    jpeg_compress_struct record;
    jpeg_error_mgr errors;
    record.err = jpeg_std_error(&errors);
    jpeg_create_compress(&record);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&record, &buffer, &size);
    record.image_width = static_cast<JDIMENSION>(width);
    record.image_height = static_cast<JDIMENSION>(height);
    record.input_components = components;
    record.in_color_space = input;
    jpeg_set_defaults(&record);
    jpeg_set_colorspace(&record, stored);
    jpeg_set_quality(&record, 100, TRUE);
    for (int i = 0; i < record.num_components; ++i) {
        record.comp_info[i].h_samp_factor = 1;
        record.comp_info[i].v_samp_factor = 1;
    }
    jpeg_start_compress(&record, TRUE);
    const size_t rowBytes = static_cast<size_t>(width) * components;
    while (record.next_scanline < record.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + record.next_scanline * rowBytes);
        jpeg_write_scanlines(&record, &row, 1);
    }
    jpeg_finish_compress(&record);
    jpeg_destroy_compress(&record);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

std::string RgbJpeg(int width, int height, const std::function<Rgba(int x, int y)>& pixel) {
    Samples samples = MakeSamples(width, height, 3, [&](int x, int y) {
        Rgba c = pixel(x, y);
        return std::vector<int>{c.r, c.g, c.b};
    });
    return EncodeJpeg(width, height, 3, JCS_RGB, JCS_YCbCr, samples);
}

std::string TablesOnlyJpeg() {
    jpeg_compress_struct record;
    jpeg_error_mgr errors;
    record.err = jpeg_std_error(&errors);
    jpeg_create_compress(&record);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&record, &buffer, &size);
    record.image_width = 8;
    record.image_height = 8;
    record.input_components = 3;
    record.in_color_space = JCS_RGB;
    jpeg_set_defaults(&record);
    jpeg_write_tables(&record);
    jpeg_destroy_compress(&record);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

void PatchJpegSize(std::string& jpeg, int width, int height) {
    size_t sof = jpeg.find("\xFF\xC0");
    if (sof == std::string::npos || sof + 9 > jpeg.size()) throw std::logic_error("no SOF0 marker");
    // FF C0, length (2), precision (1), height (2), width (2)
    jpeg[sof + 5] = static_cast<char>(height >> 8);
    jpeg[sof + 6] = static_cast<char>(height & 0xFF);
    jpeg[sof + 7] = static_cast<char>(width >> 8);
    jpeg[sof + 8] = static_cast<char>(width & 0xFF);
}

namespace {

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

}  // namespace

std::string EncodePng(int width, int height, const PngOptions& options, const Samples& rows) {
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) throw std::runtime_error("libpng could not write the fixture");
    png_set_write_fn(png, &bytes, AppendToString, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), options.bitDepth,
                 options.colorType, options.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (const Rgba& c : options.palette)
        palette.push_back(png_color{static_cast<png_byte>(c.r), static_cast<png_byte>(c.g), static_cast<png_byte>(c.b)});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    std::vector<png_byte> alphas;
    png_color_16 greyKey{};
    if (!options.transparency.empty()) {
        if (options.colorType == PNG_COLOR_TYPE_PALETTE) {
            for (int a : options.transparency) alphas.push_back(static_cast<png_byte>(a));
            png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
        } else {
            greyKey.gray = static_cast<png_uint_16>(options.transparency[0]);
            png_set_tRNS(png, info, nullptr, 0, &greyKey);
        }
    }
    png_write_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    std::vector<png_bytep> rowPointers(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) rowPointers[y] = const_cast<png_bytep>(rows.data() + rowBytes * y);
    png_write_image(png, rowPointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

void PatchPngSize(std::string& png, unsigned width, unsigned height) {
    // signature (8), IHDR length (4), "IHDR" (4), width (4), height (4), ... , CRC after 13 data bytes
    auto put32 = [&](size_t at, unsigned v) {
        for (int i = 0; i < 4; ++i) png[at + i] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
    };
    put32(16, width);
    put32(20, height);
    uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
    put32(29, static_cast<unsigned>(crc));
}

}  // namespace fixtures
