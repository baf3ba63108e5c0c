#include "assets/jpeg.h"

#include <new>

#include "platform/win32/win32.h"

namespace {

enum class JpegTrouble { None, NoMemory, NoRgbForm };

// Converts one row of CMYK samples to RGB. Files written by Adobe's software (the ones that carry
// its marker, which is nearly all CMYK JPEGs) store the inks inverted, 255 meaning no ink.
void CmykRowToRgb(const JSAMPLE* cmyk, unsigned char* rgb, int width, bool inverted) {
    for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        rgb[0] = static_cast<unsigned char>((c * k + 127) / 255);
        rgb[1] = static_cast<unsigned char>((m * k + 127) / 255);
        rgb[2] = static_cast<unsigned char>((y * k + 127) / 255);
    }
}

bool Decode(jpeg_decompress_struct* record, ImageData* image, JpegTrouble* trouble) {
    *trouble = JpegTrouble::None;
    image->rowBytes = 0;
    image->width = 0;
    image->height = 0;
    image->pixels = nullptr;

    jpeg_read_header(record, TRUE);

    // The upload takes three bytes per pixel, so every file is brought to RGB here.
    bool fromCmyk = false;
    switch (record->jpeg_color_space) {
        case JCS_GRAYSCALE:
        case JCS_RGB:
        case JCS_YCbCr:
            record->out_color_space = JCS_RGB;
            break;
        case JCS_CMYK:
        case JCS_YCCK:
            // libjpeg stops at CMYK; the last step to RGB is ours.
            record->out_color_space = JCS_CMYK;
            fromCmyk = true;
            break;
        default:
            *trouble = JpegTrouble::NoRgbForm;
            jpeg_abort_decompress(record);
            return false;
    }

    jpeg_start_decompress(record);

    const int width = static_cast<int>(record->output_width);
    const int height = static_cast<int>(record->output_height);
    const int rowBytes = 3 * width;
    const size_t total = static_cast<size_t>(rowBytes) * static_cast<size_t>(height);

    unsigned char* pixels = new (std::nothrow) unsigned char[total];
    JSAMPROW* rows = new (std::nothrow) JSAMPROW[fromCmyk ? 1 : height];
    JSAMPLE* cmykRow = fromCmyk ? new (std::nothrow) JSAMPLE[static_cast<size_t>(width) * 4] : nullptr;
    if (pixels == nullptr || rows == nullptr || (fromCmyk && cmykRow == nullptr)) {
        delete[] pixels;
        delete[] rows;
        delete[] cmykRow;
        *trouble = JpegTrouble::NoMemory;
        jpeg_abort_decompress(record);
        return false;
    }
    image->rowBytes = rowBytes;
    image->width = width;
    image->height = height;
    image->pixels = pixels;

    if (fromCmyk) {
        const bool inverted = record->saw_Adobe_marker != 0;
        rows[0] = cmykRow;
        while (record->output_scanline < record->output_height) {
            const JDIMENSION row = record->output_scanline;
            if (jpeg_read_scanlines(record, rows, 1) != 1) break;
            CmykRowToRgb(cmykRow, pixels + static_cast<size_t>(row) * rowBytes, width, inverted);
        }
    } else {
        for (int i = 0; i < height; ++i) rows[i] = pixels + static_cast<size_t>(i) * rowBytes;
        JDIMENSION rowsDone = 0;
        while (record->output_scanline < record->output_height) {
            // Ask for every remaining row; the library hands back as many as it has ready. The stdio
            // source never suspends, so no progress means there is nothing more to read.
            const JDIMENSION got =
                jpeg_read_scanlines(record, rows + rowsDone, record->output_height - rowsDone);
            if (got == 0) break;
            rowsDone += got;
        }
    }

    delete[] rows;
    delete[] cmykRow;
    return jpeg_finish_decompress(record) != FALSE;
}

}  // namespace

bool DecodeJpeg(jpeg_decompress_struct* record, ImageData* image) {
    JpegTrouble trouble;
    return Decode(record, image, &trouble);
}

void FreeImageData(ImageData* image) {
    if (image == nullptr) return;
    delete[] image->pixels;
    delete image;
}

ImageData* LoadJpegFile(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        MessageBoxA(nullptr, "Unable to load JPG File!", path, MB_OK);
        return nullptr;
    }

    // The standard error manager prints the library's message and ends the process on a stream
    // it cannot decode; warnings (such as a truncated file) are printed once and decoding goes on.
    jpeg_error_mgr errors;
    jpeg_decompress_struct record;
    record.err = jpeg_std_error(&errors);
    jpeg_CreateDecompress(&record, 62, sizeof(jpeg_decompress_struct));
    jpeg_stdio_src(&record, file);

    JpegTrouble trouble = JpegTrouble::NoMemory;
    ImageData* image = new (std::nothrow) ImageData{};
    if (image != nullptr) Decode(&record, image, &trouble);

    jpeg_destroy_decompress(&record);
    std::fclose(file);

    if (trouble != JpegTrouble::None) {
        FreeImageData(image);
        MessageBoxA(nullptr,
                    trouble == JpegTrouble::NoMemory ? "Not enough memory for JPG File!"
                                                     : "Unsupported colour format in JPG File!",
                    path, MB_OK);
        return nullptr;
    }
    return image;
}
