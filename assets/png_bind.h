#ifndef GLIMMERSET_ASSETS_PNG_BIND_H
#define GLIMMERSET_ASSETS_PNG_BIND_H

// Loads a PNG file straight into a new OpenGL texture, in the manner of the glpng library, for the
// one way the textures use it: level 0 only, alpha kept where the file has an alpha channel.

#define PNG_NOMIPMAPS 0  // upload level 0 only
#define PNG_ALPHA -2     // keep the file's alpha channel, if it has one

struct pngInfo {
    unsigned int Width;   // from the file's image header
    unsigned int Height;
    unsigned int Depth;   // bits per sample, as stored
    unsigned int Alpha;   // 8 when the texture has an alpha channel, else 0
};

// Reads `filename` and makes a new texture of it, left bound to GL_TEXTURE_2D, with `wrapst` for
// both wrap modes and the two filters given. Grey and RGB files with alpha become RGBA textures;
// grey, RGB and palette files without become RGB. Sides are brought to powers of two within
// GL_MAX_TEXTURE_SIZE before the upload. Returns the texture name, or 0 (info all zero, no texture
// made, no message box) when the file does not open or is not a readable PNG file; libpng's own
// complaints go to standard error. `mipmap` must be PNG_NOMIPMAPS and `trans` PNG_ALPHA: other
// modes are refused with 0. Needs a current OpenGL context.
unsigned int pngBind(const char* filename, int mipmap, int trans, pngInfo* info, int wrapst, int minfilter,
                     int magfilter);

#endif
