// glimmerset-capture run as a user runs it, with no display at all: the video it writes, frame by
// frame, twice over.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/show_frames.h"
#include "tests/support/test_support.h"



namespace {

// Captures demo time (15, 17] at 10 frames per second: "the end" overlay, nothing moving but the
// effects.
std::string Capture(const std::string& output, int* status) {
    std::string dir = testing_support::AssetDir();
    return testing_support::Run("cd '" + dir + "' && env -u DISPLAY ./glimmerset-capture --no-progress --start 15 --duration 2 "
               "--fps 10 --size 320x240 -o '" + output + "' 2>&1",
               status);
}

std::string Probe(const std::string& file, const std::string& stream, const std::string& entry) {
    std::string out = testing_support::Run("ffprobe -v error -select_streams " + stream + " -count_frames -show_entries stream=" +
                          entry + " -of default=noprint_wrappers=1:nokey=1 '" + file + "'");
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

}  // namespace

TEST(CaptureRun, WritesTheSameVideoTwiceWithoutADisplay) {
    testing_support::ScratchDir scratch;
    int status = -1;
    std::string log = Capture(scratch.path + "/a.mp4", &status);
    ASSERT_EQ(status, 0) << log;
    log = Capture(scratch.path + "/b.mp4", &status);
    ASSERT_EQ(status, 0) << log;

    const std::string a = scratch.path + "/a.mp4";
    EXPECT_EQ(Probe(a, "v:0", "codec_name"), "h264");
    EXPECT_EQ(Probe(a, "v:0", "width"), "320");
    EXPECT_EQ(Probe(a, "v:0", "height"), "240");
    EXPECT_EQ(Probe(a, "v:0", "nb_read_frames"), "20");  // 2 s at 10 frames per second, none dropped
    EXPECT_EQ(Probe(a, "a:0", "codec_name"), "aac");
    EXPECT_EQ(Probe(a, "a:0", "channels"), "2");
    double video = std::atof(Probe(a, "v:0", "duration").c_str());
    double audio = std::atof(Probe(a, "a:0", "duration").c_str());
    EXPECT_NEAR(video, 2.0, 0.01);
    EXPECT_NEAR(audio, video, 0.05);

    // Every decoded frame is bit-identical between the two captures.
    auto hashes = [](const std::string& file) {
        std::string out = testing_support::Run("ffmpeg -v error -i '" + file + "' -map 0:v -f framemd5 - | grep -v '^#'");
        return out;
    };
    std::string ha = hashes(a), hb = hashes(scratch.path + "/b.mp4");
    EXPECT_FALSE(ha.empty());
    EXPECT_EQ(ha, hb);

    // Inside (14, 17] the screen shows "the end".
    std::string raw = scratch.path + "/frame.rgb";
    testing_support::Run("ffmpeg -v error -ss 1.0 -i '" + a + "' -frames:v 1 -f rawvideo -pix_fmt rgb24 '" + raw + "'", &status);
    ASSERT_EQ(status, 0);
    std::vector<unsigned char> frame(320 * 240 * 3);
    FILE* f = std::fopen(raw.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    size_t got = std::fread(frame.data(), 1, frame.size(), f);
    std::fclose(f);
    ASSERT_EQ(got, frame.size());
    EXPECT_EQ(testing_support::DominantOverlay(frame), "theend.jpg");
}

TEST(CaptureRun, HelpAndBadOptions) {
    std::string dir = testing_support::AssetDir();
    int status = -1;
    std::string help = testing_support::Run("'" + dir + "/glimmerset-capture' --help", &status);
    EXPECT_EQ(status, 0);
    for (const char* option : {"--output", "--fps", "--size", "--start", "--duration", "--assets"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
    std::string error = testing_support::Run("'" + dir + "/glimmerset-capture' --fps nope 2>&1", &status);
    EXPECT_EQ(status, 2);
    EXPECT_NE(error.find("frame rate"), std::string::npos) << error;
}
