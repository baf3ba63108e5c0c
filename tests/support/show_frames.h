// Telling from a picture what the show has on screen, by the show images' dominant colours.
#ifndef GLIMMERSET_TESTS_SHOW_FRAMES_H
#define GLIMMERSET_TESTS_SHOW_FRAMES_H

#include <string>
#include <vector>

namespace testing_support {

// The overlay whose dominant colour covers most of an RGB picture ("" for a black screen, "?" for
// neither), by its file name as the show opens it.
std::string DominantOverlay(const std::vector<unsigned char>& rgb);

// The sum of the absolute differences of two colours' components.
int ColourDistance(const unsigned char* pixel, int r, int g, int b);

}  // namespace testing_support

#endif
