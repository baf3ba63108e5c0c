// make_icon: turns the show's title card into its desktop icon. The picture is scaled to fit a square
// of the given size (area-averaged, so thin lines and text stay readable), centred, and the rest of
// the square is transparent; the result is an RGBA PNG file.
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <png.h>

namespace {

struct Image {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<unsigned char> pixels;  // top row first
};

// A title card is at most a few megapixels; anything far larger is not one.
const long kMaxPixels = 64L * 1024 * 1024;

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegFail(j_common_ptr cinfo) {
    JpegError* error = reinterpret_cast<JpegError*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, error->message);
    std::longjmp(error->jump, 1);
}

// Damaged data turns into an error, not a guessed picture: an icon made of half a picture is wrong.
void JpegWarn(j_common_ptr cinfo, int level) {
    if (level < 0) JpegFail(cinfo);
}

bool ReadJpeg(const char* path, Image* image, std::string* error) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        *error = std::string("cannot open ") + path + ": " + std::strerror(errno);
        return false;
    }
    jpeg_decompress_struct cinfo;
    JpegError jerr;
    cinfo.err = jpeg_std_error(&jerr.manager);
    jerr.manager.error_exit = JpegFail;
    jerr.manager.emit_message = JpegWarn;
    if (setjmp(jerr.jump)) {
        *error = std::string(path) + ": " + jerr.message;
        jpeg_destroy_decompress(&cinfo);
        std::fclose(file);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (static_cast<long>(cinfo.output_width) * cinfo.output_height > kMaxPixels) {
        std::snprintf(jerr.message, sizeof(jerr.message), "the picture is too large (%ux%u)", cinfo.output_width,
                      cinfo.output_height);
        std::longjmp(jerr.jump, 1);
    }
    image->width = static_cast<int>(cinfo.output_width);
    image->height = static_cast<int>(cinfo.output_height);
    image->channels = 3;
    image->pixels.resize(static_cast<size_t>(image->width) * image->height * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = &image->pixels[static_cast<size_t>(cinfo.output_scanline) * image->width * 3];
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
    return true;
}

// The source pixels that cover output pixel i along one axis, with the share of each.
struct Tap {
    int first = 0;
    std::vector<double> weights;
};

std::vector<Tap> Footprints(int source, int target) {
    std::vector<Tap> taps(target);
    double scale = static_cast<double>(source) / target;
    for (int i = 0; i < target; ++i) {
        double from = i * scale;
        double to = (i + 1) * scale;
        int first = static_cast<int>(from);
        int last = static_cast<int>(to);
        if (last >= source) last = source - 1;
        taps[i].first = first;
        for (int j = first; j <= last; ++j) {
            double lo = j > from ? j : from;
            double hi = j + 1 < to ? j + 1 : to;
            taps[i].weights.push_back(hi > lo ? (hi - lo) / scale : 0.0);
        }
    }
    return taps;
}

Image MakeIcon(const Image& picture, int size) {
    int width = size;
    int height = size;
    if (picture.width >= picture.height) {
        height = static_cast<int>(static_cast<double>(size) * picture.height / picture.width + 0.5);
    } else {
        width = static_cast<int>(static_cast<double>(size) * picture.width / picture.height + 0.5);
    }
    if (width < 1) width = 1;
    if (height < 1) height = 1;

    // Rows first, then columns; both passes keep double precision.
    std::vector<Tap> across = Footprints(picture.width, width);
    std::vector<Tap> down = Footprints(picture.height, height);
    std::vector<double> narrow(static_cast<size_t>(width) * picture.height * 3);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Tap& tap = across[x];
            for (int c = 0; c < 3; ++c) {
                double sum = 0;
                for (size_t k = 0; k < tap.weights.size(); ++k) {
                    sum += tap.weights[k] * picture.pixels[(static_cast<size_t>(y) * picture.width + tap.first + k) * 3 + c];
                }
                narrow[(static_cast<size_t>(y) * width + x) * 3 + c] = sum;
            }
        }
    }

    Image icon;
    icon.width = size;
    icon.height = size;
    icon.channels = 4;
    icon.pixels.assign(static_cast<size_t>(size) * size * 4, 0);
    int left = (size - width) / 2;
    int top = (size - height) / 2;
    for (int y = 0; y < height; ++y) {
        const Tap& tap = down[y];
        for (int x = 0; x < width; ++x) {
            unsigned char* out = &icon.pixels[(static_cast<size_t>(top + y) * size + left + x) * 4];
            for (int c = 0; c < 3; ++c) {
                double sum = 0;
                for (size_t k = 0; k < tap.weights.size(); ++k) {
                    sum += tap.weights[k] * narrow[((tap.first + k) * width + x) * 3 + c];
                }
                int v = static_cast<int>(sum + 0.5);
                out[c] = static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v);
            }
            out[3] = 255;
        }
    }
    return icon;
}

bool WritePng(const char* path, const Image& icon, std::string* error) {
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        *error = std::string("cannot write ") + path + ": " + std::strerror(errno);
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        std::remove(path);
        *error = std::string("cannot write ") + path;
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(icon.width), static_cast<png_uint_32>(icon.height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < icon.height; ++y) {
        png_write_row(png, &icon.pixels[static_cast<size_t>(y) * icon.width * 4]);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0) {
        std::remove(path);
        *error = std::string("cannot write ") + path;
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: make_icon PICTURE.jpg ICON.png [SIZE]\n");
        return 2;
    }
    int size = 256;
    if (argc == 4) {
        char* end = nullptr;
        long value = std::strtol(argv[3], &end, 10);
        if (end == argv[3] || *end != '\0' || value < 16 || value > 1024) {
            std::fprintf(stderr, "make_icon: the size must be a whole number from 16 to 1024\n");
            return 2;
        }
        size = static_cast<int>(value);
    }
    Image picture;
    std::string error;
    if (!ReadJpeg(argv[1], &picture, &error)) {
        std::fprintf(stderr, "make_icon: %s\n", error.c_str());
        return 1;
    }
    if (!WritePng(argv[2], MakeIcon(picture, size), &error)) {
        std::fprintf(stderr, "make_icon: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
