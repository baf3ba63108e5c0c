#ifndef GLIMMERSET_ASSETS_POWER_OF_TWO_H
#define GLIMMERSET_ASSETS_POWER_OF_TWO_H

// OpenGL 1.1 textures need power-of-two sides. Both loaders bring their images there with these,
// before the upload, so that GLU only ever halves them for mip-maps.

// The power of two nearer to `side` (one and a half times a power rounds up, as GLU picks them),
// halved until it is at most `maxSize`.
int PowerOfTwoSide(int side, int maxSize);

// Resamples packed 8-bit rows (`channels` bytes per pixel, top row first, no padding) to
// newWidth x newHeight, each new pixel the average of the area it covers; edges are not wrapped.
// Returns a buffer from new[], or null when memory is short.
unsigned char* ResampleImage(const unsigned char* pixels, int width, int height, int channels, int newWidth,
                             int newHeight);

#endif
