// The show's thirteen images as tools/images makes them, in the show's load order: the file name as
// the show opens it (Windows-1252 bytes), what the picture is for, its size, and the colour that
// covers most of it. Overlays have well separated dominant hues, so a frame read back tells which
// one is on screen; sphere maps are bright environments tinted with their dominant colour.
#ifndef GLIMMERSET_TOOLS_IMAGES_SHOW_IMAGES_H
#define GLIMMERSET_TOOLS_IMAGES_SHOW_IMAGES_H

namespace show_images {

enum class Role { Overlay, SphereMap };

struct ShowImage {
    const char* fileName;
    Role role;
    int width;
    int height;
    unsigned char r, g, b;  // dominant colour
};

inline constexpr int kShowImageCount = 13;

inline constexpr ShowImage kShowImages[kShowImageCount] = {
    {"blueeyes.jpg", Role::SphereMap, 512, 512, 60, 120, 230},
    {"tekstur1.jpg", Role::SphereMap, 600, 600, 230, 180, 60},
    {"bakgrunn.jpg", Role::Overlay, 800, 600, 30, 200, 30},
    {"names.jpg", Role::Overlay, 800, 600, 30, 143, 200},
    {"thx.jpg", Role::Overlay, 640, 480, 200, 30, 143},
    {"jalla5.jpg", Role::Overlay, 800, 600, 30, 200, 143},
    {"jalla3.jpg", Role::SphereMap, 490, 490, 60, 200, 120},
    {"kn\xE6sjbg.jpg", Role::Overlay, 800, 600, 143, 30, 200},
    {"aball.jpg", Role::Overlay, 640, 480, 200, 143, 30},
    {"loading.jpg", Role::Overlay, 640, 480, 143, 200, 30},
    {"theend.jpg", Role::Overlay, 800, 600, 200, 30, 30},
    {"realend.jpg", Role::Overlay, 800, 600, 30, 30, 200},
    {"red.jpg", Role::SphereMap, 384, 384, 220, 50, 40},
};

}  // namespace show_images

#endif
