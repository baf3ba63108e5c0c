#include "assets/texture.h"

#include <GL/glu.h>

#include <cstring>

#include "assets/jpeg.h"
#include "assets/png_bind.h"
#include "assets/power_of_two.h"
#include "platform/win32/win32.h"

namespace {

// Only these four spellings read PNG; any other text after the first '.' reads JPEG.
bool IsPngExtension(const char* extension) {
    static const char* const kPngSpellings[] = {"png", "Png", "PNg", "PNG"};
    for (const char* spelling : kPngSpellings) {
        if (std::strcmp(extension, spelling) == 0) return true;
    }
    return false;
}

}  // namespace

Texture::Texture(const char* path) { Load(path); }

Texture::~Texture() {}

void Texture::Load(const char* path) {
    textureName = 0;
    width = 0;
    height = 0;

    // The first '.' of the whole path starts the extension. A path without one reads JPEG.
    const char* dot = std::strchr(path, '.');
    if (dot != nullptr && IsPngExtension(dot + 1)) {
        pngInfo info;
        textureName = pngBind(path, PNG_NOMIPMAPS, PNG_ALPHA, &info, GL_REPEAT, GL_LINEAR, GL_LINEAR);
        width = static_cast<int>(info.Width);
        height = static_cast<int>(info.Height);
        return;
    }

    ImageData* image = LoadJpegFile(path);
    if (image == nullptr) return;

    // GLU would bring the sides to powers of two itself, but it blanks the last row of images
    // whose height needs no change while their width does; so it gets them ready-made and only
    // builds the smaller levels.
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    const int texelWidth = PowerOfTwoSide(image->width, maxSize);
    const int texelHeight = PowerOfTwoSide(image->height, maxSize);
    unsigned char* scaled = nullptr;
    if (texelWidth != image->width || texelHeight != image->height) {
        scaled = ResampleImage(image->pixels, image->width, image->height, 3, texelWidth, texelHeight);
        if (scaled == nullptr) {
            FreeImageData(image);
            MessageBoxA(nullptr, "Not enough memory for JPG File!", path, MB_OK);
            return;
        }
    }

    glGenTextures(1, &textureName);
    glBindTexture(GL_TEXTURE_2D, textureName);
    // Rows are packed at 3 * width bytes, which is a multiple of 4 only for some widths.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Without a current context (the window could not be made) there is nowhere to put the
    // picture, and GLU's mipmap builder reads the context's version string without checking it.
    if (glGetString(GL_VERSION) != nullptr) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, texelWidth, texelHeight, GL_RGB, GL_UNSIGNED_BYTE,
                          scaled != nullptr ? scaled : image->pixels);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    width = image->width;
    height = image->height;
    delete[] scaled;
    FreeImageData(image);
}

void Texture::SetClamp() {
    glBindTexture(GL_TEXTURE_2D, textureName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
}

void Texture::SetRepeat() {
    glBindTexture(GL_TEXTURE_2D, textureName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void Texture::Bind() {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textureName);
}

void Texture::Unbind() { glDisable(GL_TEXTURE_2D); }
