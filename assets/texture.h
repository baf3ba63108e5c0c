#ifndef GLIMMERSET_ASSETS_TEXTURE_H
#define GLIMMERSET_ASSETS_TEXTURE_H

#include <GL/gl.h>

// One OpenGL 2D texture loaded from a JPEG or PNG file. The file name's text after its first '.'
// picks the decoder: "png", "Png", "PNg" or "PNG" read PNG, everything else reads JPEG.
class Texture {
public:
    explicit Texture(const char* path);
    ~Texture();  // the texture object ends with the OpenGL context

    void Load(const char* path);
    virtual void SetClamp();
    virtual void SetRepeat();
    virtual void Bind();
    virtual void Unbind();

    GLuint textureName;  // 0 when the load failed
    int width;           // the file's own size, also where the upload was rescaled
    int height;
};

// One decoded JPEG image: rows top first, packed R, G, B bytes with no padding.
struct ImageData {
    int rowBytes;
    int width;
    int height;
    unsigned char* pixels;
};

#endif
