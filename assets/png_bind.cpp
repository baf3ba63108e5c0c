#include "assets/png_bind.h"

#include <GL/gl.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include "assets/power_of_two.h"

namespace {

// One decoded file: 8-bit RGB or RGBA rows, top row first, no padding between rows.
struct DecodedPng {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int depth = 0;
    int channels = 0;
    png_bytep pixels = nullptr;  // from png_malloc; freed with png_free before the read struct goes
    png_bytepp rows = nullptr;
};

void OnPngError(png_structp png, png_const_charp message) {
    std::fprintf(stderr, "%s: libpng error: %s\n", static_cast<const char*>(png_get_error_ptr(png)), message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp png, png_const_charp message) {
    std::fprintf(stderr, "%s: libpng warning: %s\n", static_cast<const char*>(png_get_error_ptr(png)), message);
}

// May leave by longjmp from any libpng call: holds nothing that needs destroying, and keeps what it
// allocates in `out`, where the caller frees it either way.
void ReadPngBody(png_structp png, png_infop info, DecodedPng* out) {
    png_read_info(png, info);
    int colorType = 0;
    int interlace = 0;
    png_get_IHDR(png, info, &out->width, &out->height, &out->depth, &colorType, &interlace, nullptr, nullptr);

    // Everything becomes 8-bit RGB, plus alpha only where the file has an alpha channel: a palette
    // or a tRNS chunk's transparency is dropped.
    const bool alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if ((colorType & PNG_COLOR_MASK_COLOR) == 0) {
        png_set_expand_gray_1_2_4_to_8(png);
        png_set_gray_to_rgb(png);
    }
    if (out->depth == 16) png_set_strip_16(png);
    if (!alpha) png_set_strip_alpha(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const int channels = alpha ? 4 : 3;
    const png_size_t rowBytes = static_cast<png_size_t>(out->width) * channels;
    if (png_get_channels(png, info) != channels || png_get_bit_depth(png, info) != 8 ||
        png_get_rowbytes(png, info) != rowBytes) {
        png_error(png, "unexpected sample layout after conversion");
    }
    out->channels = channels;
    // The header's sides are at most libpng's user limit (a million), so neither product overflows.
    out->rows = static_cast<png_bytepp>(png_malloc(png, sizeof(png_bytep) * out->height));
    out->pixels = static_cast<png_bytep>(png_malloc(png, rowBytes * out->height));
    for (png_uint_32 y = 0; y < out->height; ++y) out->rows[y] = out->pixels + rowBytes * y;
    png_read_image(png, out->rows);
}

bool ReadPng(png_structp png, png_infop info, DecodedPng* out) {
    if (setjmp(png_jmpbuf(png))) return false;
    ReadPngBody(png, info, out);
    return true;
}

// Uploads level 0 of a new texture, brought to power-of-two sides. Returns the name, or 0.
GLuint Upload(const DecodedPng& image, const char* filename, int wrapst, int minfilter, int magfilter) {
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    const int width = PowerOfTwoSide(static_cast<int>(image.width), maxSize);
    const int height = PowerOfTwoSide(static_cast<int>(image.height), maxSize);
    const unsigned char* texels = image.pixels;
    unsigned char* scaled = nullptr;
    if (width != static_cast<int>(image.width) || height != static_cast<int>(image.height)) {
        scaled = ResampleImage(image.pixels, static_cast<int>(image.width), static_cast<int>(image.height),
                               image.channels, width, height);
        if (scaled == nullptr) {
            std::fprintf(stderr, "%s: not enough memory to scale the image\n", filename);
            return 0;
        }
        texels = scaled;
    }

    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapst);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapst);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minfilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magfilter);
    // Rows are packed at width * channels bytes, whatever that is modulo 4.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLenum format = image.channels == 4 ? GL_RGBA : GL_RGB;
    glTexImage2D(GL_TEXTURE_2D, 0, image.channels, width, height, 0, format, GL_UNSIGNED_BYTE, texels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    delete[] scaled;
    return name;
}

}  // namespace

unsigned int pngBind(const char* filename, int mipmap, int trans, pngInfo* info, int wrapst, int minfilter,
                     int magfilter) {
    if (info != nullptr) *info = pngInfo{0, 0, 0, 0};
    if (mipmap != PNG_NOMIPMAPS || trans != PNG_ALPHA) {
        std::fprintf(stderr, "%s: pngBind supports only PNG_NOMIPMAPS with PNG_ALPHA\n", filename);
        return 0;
    }

    FILE* file = std::fopen(filename, "rb");
    if (file == nullptr) return 0;

    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, const_cast<char*>(filename), OnPngError,
                                             OnPngWarning);
    png_infop header = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (header == nullptr) {
        std::fprintf(stderr, "%s: not enough memory to read the file\n", filename);
        png_destroy_read_struct(png != nullptr ? &png : nullptr, nullptr, nullptr);
        std::fclose(file);
        return 0;
    }
    png_init_io(png, file);

    DecodedPng image;
    GLuint name = 0;
    if (ReadPng(png, header, &image)) {
        name = Upload(image, filename, wrapst, minfilter, magfilter);
    }

    png_free(png, image.rows);
    png_free(png, image.pixels);
    png_destroy_read_struct(&png, &header, nullptr);
    std::fclose(file);

    if (name != 0 && info != nullptr) {
        info->Width = image.width;
        info->Height = image.height;
        info->Depth = static_cast<unsigned int>(image.depth);
        info->Alpha = image.channels == 4 ? 8 : 0;
    }
    return name;
}
