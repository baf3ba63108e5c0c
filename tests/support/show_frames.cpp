#include "tests/support/show_frames.h"

#include <cstdlib>

#include "tools/images/show_images.h"

namespace testing_support {

int ColourDistance(const unsigned char* p, int r, int g, int b) {
    return std::abs(p[0] - r) + std::abs(p[1] - g) + std::abs(p[2] - b);
}

std::string DominantOverlay(const std::vector<unsigned char>& rgb) {
    size_t pixels = rgb.size() / 3, black = 0;
    std::vector<size_t> near(show_images::kShowImageCount, 0);
    for (size_t i = 0; i < pixels; ++i) {
        const unsigned char* p = &rgb[i * 3];
        if (p[0] + p[1] + p[2] < 30) ++black;
        for (int k = 0; k < show_images::kShowImageCount; ++k) {
            const show_images::ShowImage& image = show_images::kShowImages[k];
            if (image.role == show_images::Role::Overlay && ColourDistance(p, image.r, image.g, image.b) < 90) {
                ++near[k];
            }
        }
    }
    int best = -1;
    for (int k = 0; k < show_images::kShowImageCount; ++k) {
        if (near[k] > pixels / 4 && (best < 0 || near[k] > near[best])) best = k;
    }
    if (best >= 0) return show_images::kShowImages[best].fileName;
    return black > pixels * 9 / 10 ? "" : "?";
}

}  // namespace testing_support
