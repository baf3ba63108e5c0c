// The show's soundtrack as the show sees it: the spectrum bins it reads, frame by frame, computed
// from the decoded file with the same code as a spectrum query.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/audio/bass_seam.h"
#include "tests/support/test_support.h"

namespace {

constexpr double kBeat = 60.0 / 138.0;
constexpr double kShowSeconds = 71.0;
constexpr double kFrameRate = 60.0;
const int kReadBins[] = {0, 2, 3, 4, 5, 9, 17};

struct Decoded {
    std::vector<std::int16_t> pcm;
    int rate = 0;
    bool ok = false;
};

const Decoded& Soundtrack() {
    static Decoded* d = [] {
        auto* out = new Decoded;
        std::string path = testing_support::AssetDir() + "/velloro - trance4m.mp3";
        out->ok = bassseam::DecodeFile(path.c_str(), [&](const std::int16_t* pcm, std::size_t frames, int rate) {
            out->pcm.insert(out->pcm.end(), pcm, pcm + frames * 2);
            out->rate = rate;
        });
        return out;
    }();
    return *d;
}

// Bins of the 512 frames that end at `seconds`, as a query with the cursor there reads them.
std::vector<float> BinsAt(const Decoded& d, double seconds) {
    std::vector<float> bins(256, 0.0f);
    long end = std::lround(seconds * d.rate);
    long frames = static_cast<long>(d.pcm.size() / 2);
    if (end < 512 || end > frames) return bins;
    bassseam::SpectrumOfFrames(d.pcm.data() + 2 * (end - 512), bins.data());
    return bins;
}

TEST(Soundtrack, IsAStereo44100FileThatOutlastsTheShow) {
    const Decoded& d = Soundtrack();
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.rate, 44100);
    double seconds = static_cast<double>(d.pcm.size() / 2) / d.rate;
    EXPECT_GT(seconds, kShowSeconds + 1.0);
    EXPECT_LT(seconds, 90.0);
}

TEST(Soundtrack, Bin2JumpsOnEveryKickAndRestsBetween) {
    const Decoded& d = Soundtrack();
    ASSERT_TRUE(d.ok);
    int above = 0;
    int total = 0;
    for (double t = 1.0 / kFrameRate; t <= kShowSeconds; t += 1.0 / kFrameRate) {
        ++total;
        if (BinsAt(d, t)[2] > 0.1f) ++above;
    }
    double fraction = static_cast<double>(above) / total;
    std::printf("bin 2 above 0.1 in %.1f%% of frames\n", 100.0 * fraction);
    EXPECT_GT(fraction, 0.05);
    EXPECT_LT(fraction, 0.40);

    int kicks = 0;
    for (double kick = 0.0; kick <= kShowSeconds - kBeat; kick += kBeat, ++kicks) {
        float peak = 0.0f;
        for (double t = kick; t <= kick + 0.1; t += 0.005) peak = std::max(peak, BinsAt(d, t)[2]);
        EXPECT_GT(peak, 0.1f) << "kick at " << kick << " s";
        // Halfway to the next beat it has settled again.
        EXPECT_LT(BinsAt(d, kick + kBeat / 2)[2], 0.1f) << "after the kick at " << kick << " s";
    }
    EXPECT_GT(kicks, 150);
}

TEST(Soundtrack, EveryBinTheShowReadsMovesWithTheMusic) {
    const Decoded& d = Soundtrack();
    ASSERT_TRUE(d.ok);
    for (int bin : kReadBins) {
        double sum = 0.0;
        double squares = 0.0;
        float peak = 0.0f;
        int n = 0;
        for (double t = 1.0 / kFrameRate; t <= kShowSeconds; t += 1.0 / kFrameRate, ++n) {
            float v = BinsAt(d, t)[bin];
            sum += v;
            squares += static_cast<double>(v) * v;
            peak = std::max(peak, v);
        }
        double mean = sum / n;
        double spread = std::sqrt(std::max(0.0, squares / n - mean * mean));
        std::printf("bin %2d: mean %.4f, spread %.4f, peak %.4f\n", bin, mean, spread, peak);
        EXPECT_GT(spread, 0.005) << "bin " << bin;
        EXPECT_GT(peak, 0.03f) << "bin " << bin;
    }
}

}  // namespace
