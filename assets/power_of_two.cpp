#include "assets/power_of_two.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

int PowerOfTwoSide(int side, int maxSize) {
    int power = 1;
    while (power <= side / 2) power *= 2;
    if (power > 1 && side >= power + power / 2) power *= 2;
    while (maxSize > 0 && power > maxSize) power /= 2;
    return power;
}

namespace {

struct Tap {
    int source;
    float weight;
};

// For each of `to` new samples along an axis of `from` samples: the old samples it covers, with the
// share of each.
std::vector<std::vector<Tap>> Taps(int from, int to) {
    std::vector<std::vector<Tap>> taps(static_cast<size_t>(to));
    const double scale = static_cast<double>(from) / to;
    for (int o = 0; o < to; ++o) {
        const double start = o * scale, end = (o + 1) * scale;
        const int first = static_cast<int>(std::floor(start));
        const int last = std::min(from - 1, static_cast<int>(std::ceil(end)) - 1);
        for (int s = first; s <= last; ++s) {
            const double cover = std::min(end, s + 1.0) - std::max(start, static_cast<double>(s));
            if (cover > 0) taps[o].push_back({s, static_cast<float>(cover / scale)});
        }
    }
    return taps;
}

// One pass across every row, with the channel count known to the compiler.
template <int Channels>
void Across(const unsigned char* pixels, int width, int height, const std::vector<std::vector<Tap>>& columns,
            int newWidth, float* rows) {
    for (int y = 0; y < height; ++y) {
        const unsigned char* in = pixels + static_cast<size_t>(y) * width * Channels;
        float* texel = rows + static_cast<size_t>(y) * newWidth * Channels;
        for (int x = 0; x < newWidth; ++x, texel += Channels) {
            float sum[Channels] = {};
            for (const Tap& tap : columns[x]) {
                const unsigned char* source = in + tap.source * Channels;
                for (int c = 0; c < Channels; ++c) sum[c] += tap.weight * source[c];
            }
            for (int c = 0; c < Channels; ++c) texel[c] = sum[c];
        }
    }
}

}  // namespace

unsigned char* ResampleImage(const unsigned char* pixels, int width, int height, int channels, int newWidth,
                             int newHeight) {
    const size_t across = static_cast<size_t>(newWidth) * channels;
    float* rows = new (std::nothrow) float[across * static_cast<size_t>(height)];
    float* sum = new (std::nothrow) float[across];
    unsigned char* out = new (std::nothrow) unsigned char[across * static_cast<size_t>(newHeight)];
    if (rows == nullptr || sum == nullptr || out == nullptr) {
        delete[] rows;
        delete[] sum;
        delete[] out;
        return nullptr;
    }
    const std::vector<std::vector<Tap>> columns = Taps(width, newWidth);
    const std::vector<std::vector<Tap>> lines = Taps(height, newHeight);

    // Across first, into float rows of the new width; then down, a whole row at a time.
    switch (channels) {
        case 3: Across<3>(pixels, width, height, columns, newWidth, rows); break;
        case 4: Across<4>(pixels, width, height, columns, newWidth, rows); break;
        default:
            for (int y = 0; y < height; ++y) {
                const unsigned char* in = pixels + static_cast<size_t>(y) * width * channels;
                float* row = rows + static_cast<size_t>(y) * across;
                for (int x = 0; x < newWidth; ++x) {
                    for (int c = 0; c < channels; ++c) {
                        float texel = 0;
                        for (const Tap& tap : columns[x]) texel += tap.weight * in[tap.source * channels + c];
                        row[x * channels + c] = texel;
                    }
                }
            }
    }
    for (int y = 0; y < newHeight; ++y) {
        for (size_t i = 0; i < across; ++i) sum[i] = 0.5f;  // rounds to nearest below
        for (const Tap& tap : lines[y]) {
            const float* source = rows + static_cast<size_t>(tap.source) * across;
            const float weight = tap.weight;
            for (size_t i = 0; i < across; ++i) sum[i] += weight * source[i];
        }
        unsigned char* row = out + static_cast<size_t>(y) * across;
        for (size_t i = 0; i < across; ++i) row[i] = static_cast<unsigned char>(std::min(255.0f, std::max(0.0f, sum[i])));
    }
    delete[] rows;
    delete[] sum;
    return out;
}
