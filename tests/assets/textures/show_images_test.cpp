// The images the build makes for the show: all thirteen decode at their table sizes, each overlay is
// mostly its own colour with hues far apart, each sphere map carries its tint, and the show's
// textures load from them without a box.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "assets/jpeg.h"
#include "assets/texture.h"
#include "shell/glwindow.h"
#include "tests/support/test_support.h"
#include "tools/images/show_images.h"

using show_images::kShowImages;
using show_images::Role;
using show_images::ShowImage;

namespace {

struct Hsv {
    double hue;  // degrees
    double saturation;
    double value;
};

Hsv ToHsv(double r, double g, double b) {
    double max = std::max({r, g, b}), min = std::min({r, g, b}), d = max - min;
    Hsv out{0, max > 0 ? d / max : 0, max / 255.0};
    if (d > 0) {
        if (max == r) out.hue = 60 * std::fmod((g - b) / d + 6, 6);
        else if (max == g) out.hue = 60 * ((b - r) / d + 2);
        else out.hue = 60 * ((r - g) / d + 4);
    }
    return out;
}

double HueDistance(double a, double b) {
    double d = std::fabs(a - b);
    return std::min(d, 360 - d);
}

std::string PathOf(const ShowImage& image) { return testing_support::AssetDir() + "/" + image.fileName; }

// The hue shared by the most saturated pixels, in bins of 10 degrees, and the share of pixels
// within 15 degrees of `near`.
struct HueCount {
    double peakHue;
    double shareNear;
};

HueCount CountHues(const ImageData& image, double near) {
    std::vector<int> bins(36, 0);
    long nearCount = 0;
    const long total = static_cast<long>(image.width) * image.height;
    for (long i = 0; i < total; ++i) {
        const unsigned char* p = image.pixels + i * 3;
        Hsv c = ToHsv(p[0], p[1], p[2]);
        if (c.saturation < 0.35 || c.value < 0.15) continue;
        bins[static_cast<int>(c.hue / 10) % 36]++;
        if (HueDistance(c.hue, near) <= 15) ++nearCount;
    }
    int peak = static_cast<int>(std::max_element(bins.begin(), bins.end()) - bins.begin());
    return {peak * 10 + 5.0, static_cast<double>(nearCount) / total};
}

TEST(ShowImagesTest, AllThirteenDecodeWithTheirColours) {
    testing_support::MessageBoxRecorder boxes;
    std::vector<std::pair<std::string, double>> overlayPeaks;
    for (const ShowImage& entry : kShowImages) {
        SCOPED_TRACE(entry.fileName);
        ImageData* image = LoadJpegFile(PathOf(entry).c_str());
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, entry.width);
        EXPECT_EQ(image->height, entry.height);
        const double tableHue = ToHsv(entry.r, entry.g, entry.b).hue;
        if (entry.role == Role::Overlay) {
            HueCount count = CountHues(*image, tableHue);
            EXPECT_GE(count.shareNear, 0.5);
            EXPECT_LE(HueDistance(count.peakHue, tableHue), 10);
            overlayPeaks.emplace_back(entry.fileName, count.peakHue);
        } else {
            // The disc's average colour has the tint's hue.
            double sum[3] = {0, 0, 0};
            long n = 0;
            for (int y = 0; y < image->height; ++y) {
                for (int x = 0; x < image->width; ++x) {
                    double u = 2.0 * (x + 0.5) / image->width - 1, v = 2.0 * (y + 0.5) / image->height - 1;
                    if (u * u + v * v > 1) continue;
                    const unsigned char* p = image->pixels + static_cast<size_t>(y) * image->rowBytes + x * 3;
                    for (int k = 0; k < 3; ++k) sum[k] += p[k];
                    ++n;
                }
            }
            Hsv mean = ToHsv(sum[0] / n, sum[1] / n, sum[2] / n);
            EXPECT_LE(HueDistance(mean.hue, tableHue), 20) << mean.hue;
            EXPECT_GE(mean.saturation, 0.2);
        }
        FreeImageData(image);
    }
    EXPECT_TRUE(boxes.boxes.empty());
    ASSERT_EQ(overlayPeaks.size(), 9u);
    for (size_t i = 0; i < overlayPeaks.size(); ++i)
        for (size_t j = i + 1; j < overlayPeaks.size(); ++j)
            EXPECT_GE(HueDistance(overlayPeaks[i].second, overlayPeaks[j].second), 30)
                << overlayPeaks[i].first << " and " << overlayPeaks[j].first;
}

// Loaded as the show loads them, from the show's folder, with "knæsjbg.jpg" by its ANSI bytes.
TEST(ShowImagesTest, LoadAsTexturesFromTheShowFolder) {
    GLWindow window(800, 600, 32, false, "textures");
    testing_support::MessageBoxRecorder boxes;
    std::deque<Texture> textures;
    std::set<GLuint> names;
    for (const ShowImage& entry : kShowImages) {
        const Texture& texture = textures.emplace_back(PathOf(entry).c_str());
        EXPECT_NE(texture.textureName, 0u) << entry.fileName;
        EXPECT_EQ(texture.width, entry.width) << entry.fileName;
        names.insert(texture.textureName);
    }
    EXPECT_EQ(names.size(), 13u);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
