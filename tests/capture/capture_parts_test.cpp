// The capture program's own parts: its clock, its options, the picture's fit, the progress line.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "capture/options.h"
#include "capture/progress.h"
#include "capture/virtual_clock.h"

TEST(VirtualClock, FramesReadTheirOwnTimePlusOneTickPerRead) {
    const double fps = 60.0, start = 21.0;
    VirtualClock clock(fps, start, 3);
    const std::int64_t f = VirtualClock::kFrequency;
    EXPECT_EQ(clock.Read(), 0);  // the show's timer starts: demo time counts from here
    for (int n = 0; n < 3; ++n) {
        std::int64_t at = std::llround((start + n / fps) * f);
        EXPECT_EQ(clock.Read(), at) << n;      // demo time
        EXPECT_EQ(clock.Read(), at + 1) << n;  // the delta's read, one tick later
        EXPECT_FALSE(clock.finished());
        clock.FrameDone();
    }
    EXPECT_TRUE(clock.finished());
    // Once every frame is taken, the show reads a time past its end and stops by itself.
    EXPECT_GT(static_cast<double>(clock.Read()) / f, 71.0);
    EXPECT_DOUBLE_EQ(clock.FrameTime(2), start + 2 / fps);
}

TEST(CaptureOptions, ParsesWhatTheHelpSays) {
    struct Case {
        std::vector<std::string> args;
        bool ok;
        std::string output;
        double fps;
        int width, height;
        double start, duration;
    } cases[] = {
        {{}, true, "glimmerset.mp4", 60, 1280, 720, 0, 71},
        {{"-o", "a.mp4", "-r", "30", "-s", "640x480"}, true, "a.mp4", 30, 640, 480, 0, 71},
        {{"--output", "b.mp4", "--fps", "24", "--size", "1920X1080", "--start", "20", "--duration", "2.5"},
         true, "b.mp4", 24, 1920, 1080, 20, 2.5},
        {{"--fps", "0"}, false, "", 0, 0, 0, 0, 0},
        {{"--fps", "sixty"}, false, "", 0, 0, 0, 0, 0},
        {{"--size", "1280"}, false, "", 0, 0, 0, 0, 0},
        {{"--size", "1280x720x3"}, false, "", 0, 0, 0, 0, 0},
        {{"--duration", "72"}, false, "", 0, 0, 0, 0, 0},
        {{"--start", "-1"}, false, "", 0, 0, 0, 0, 0},
        {{"--output"}, false, "", 0, 0, 0, 0, 0},
        {{"--bogus"}, false, "", 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv = {const_cast<char*>("glimmerset-capture")};
        for (const std::string& a : c.args) argv.push_back(const_cast<char*>(a.c_str()));
        CaptureOptions options;
        std::string error;
        bool ok = ParseCaptureOptions(static_cast<int>(argv.size()), argv.data(), &options, &error);
        std::string label = c.args.empty() ? "(none)" : c.args[0];
        ASSERT_EQ(ok, c.ok) << label << ": " << error;
        if (!ok) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        EXPECT_EQ(options.output, c.output) << label;
        EXPECT_EQ(options.fps, c.fps) << label;
        EXPECT_EQ(options.width, c.width) << label;
        EXPECT_EQ(options.height, c.height) << label;
        EXPECT_EQ(options.start, c.start) << label;
        EXPECT_EQ(options.duration, c.duration) << label;
    }
    EXPECT_NE(std::string(kCaptureUsage).find("--output"), std::string::npos);
}

TEST(CaptureOptions, PictureKeepsFourByThreeInsideTheVideo) {
    struct Case {
        int vw, vh, w, h;
    } cases[] = {
        {1280, 720, 960, 720}, {800, 600, 800, 600}, {1920, 1080, 1440, 1080},
        {640, 640, 640, 480},  {333, 250, 332, 248},
    };
    for (const Case& c : cases) {
        int w, h;
        FitPicture(c.vw, c.vh, &w, &h);
        EXPECT_EQ(w, c.w) << c.vw << "x" << c.vh;
        EXPECT_EQ(h, c.h) << c.vw << "x" << c.vh;
    }
}

TEST(CaptureProgress, SaysFramesElapsedAndWhatIsLeft) {
    std::string line = ProgressLine(1065, 4260, 10.0);
    EXPECT_NE(line.find("1065/4260 frames"), std::string::npos) << line;
    EXPECT_NE(line.find("10.0 s elapsed"), std::string::npos) << line;
    EXPECT_NE(line.find("about 30.0 s left"), std::string::npos) << line;
    EXPECT_NE(line.find("[#######"), std::string::npos) << line;
    EXPECT_EQ(ProgressLine(4260, 4260, 70.0).find("left"), std::string::npos);
}
