// Bringing images to power-of-two sides: which side is picked, and how pixels are resampled.
#include <gtest/gtest.h>

#include <vector>

#include "assets/power_of_two.h"

namespace {

TEST(PowerOfTwoTest, PicksTheNearerPowerWithinTheLimit) {
    struct Case {
        int side, maxSize, expected;
    };
    for (const Case& c : {Case{1, 16384, 1}, Case{2, 16384, 2}, Case{3, 16384, 4}, Case{5, 16384, 4},
                          Case{6, 16384, 8}, Case{600, 16384, 512}, Case{767, 16384, 512}, Case{768, 16384, 1024},
                          Case{800, 16384, 1024}, Case{1024, 16384, 1024}, Case{30000, 16384, 16384},
                          Case{800, 512, 512}}) {
        EXPECT_EQ(PowerOfTwoSide(c.side, c.maxSize), c.expected) << c.side << " within " << c.maxSize;
    }
}

std::vector<int> Resampled(const std::vector<unsigned char>& pixels, int width, int height, int channels, int newWidth,
                           int newHeight) {
    unsigned char* out = ResampleImage(pixels.data(), width, height, channels, newWidth, newHeight);
    std::vector<int> values(out, out + newWidth * newHeight * channels);
    delete[] out;
    return values;
}

// Each new pixel averages what it covers; nothing wraps from one edge to the other.
TEST(PowerOfTwoTest, ResamplesByCoveredArea) {
    EXPECT_EQ(Resampled({0, 100, 200, 255}, 4, 1, 1, 2, 1), (std::vector<int>{50, 228}));
    EXPECT_EQ(Resampled({0, 0, 255}, 3, 1, 1, 4, 1), (std::vector<int>{0, 0, 85, 255}));
    EXPECT_EQ(Resampled({10, 20, 30, 40}, 1, 4, 1, 1, 2), (std::vector<int>{15, 35}));
    // Channels stay apart: a red column beside a blue one, halved to one pixel.
    EXPECT_EQ(Resampled({255, 0, 0, 0, 0, 255}, 2, 1, 3, 1, 1), (std::vector<int>{128, 0, 128}));
}

}  // namespace
