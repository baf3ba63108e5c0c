#ifndef GLIMMERSET_ASSETS_JPEG_H
#define GLIMMERSET_ASSETS_JPEG_H

// libjpeg's header needs FILE and size_t declared before it.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include "assets/texture.h"

// Reads a JPEG file into a new ImageData (packed RGB rows, top row first) that the caller owns and
// releases with FreeImageData. Returns null, after a message box captioned with the path, when the
// file does not open or the image cannot be held in memory. A file that opens but is no decodable
// JPEG ends the process through libjpeg's standard error manager (its message on stderr, status 1).
ImageData* LoadJpegFile(const char* path);

// Decodes the stream attached to `record` into `image`: greyscale, RGB and YCbCr come out as RGB,
// CMYK and YCCK are converted to RGB. Returns the result of jpeg_finish_decompress. When the image
// cannot be held (no memory, or a colour layout with no RGB form) the decompression is aborted,
// false is returned and image->pixels stays null.
bool DecodeJpeg(jpeg_decompress_struct* record, ImageData* image);

// Releases the pixel buffer and the record; null is allowed.
void FreeImageData(ImageData* image);

#endif
