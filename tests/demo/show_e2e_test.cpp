// The built show with its generated assets, played end to end as a person would see it: on the
// test's X server, with SDL's silent audio driver, for its whole 71 seconds.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/show_frames.h"
#include "tests/support/test_support.h"
#include "tests/support/x11_support.h"

using testing_support::ChildProcess;
using testing_support::Screenshot;

namespace {

using Clock = std::chrono::steady_clock;
const char kTitle[] = "Glimmerset - \xC3\x9Bquandrix";

unsigned long WaitForTitle(ChildProcess& show, const std::string& title, double seconds) {
    auto until = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < until && show.Running()) {
        unsigned long w = testing_support::FindWindowByTitle(nullptr, title);
        if (w != 0) return w;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
}

std::string OnScreen(const Screenshot& shot) { return testing_support::DominantOverlay(shot.rgb); }

double NonBlack(const Screenshot& shot) {
    size_t lit = 0, pixels = shot.rgb.size() / 3;
    for (size_t i = 0; i < pixels; ++i) {
        if (shot.rgb[i * 3] + shot.rgb[i * 3 + 1] + shot.rgb[i * 3 + 2] > 30) ++lit;
    }
    return pixels ? static_cast<double>(lit) / pixels : 0.0;
}

// Watches the screen until the title card shows: demo time has then just passed 1 second.
bool WaitForTitleCard(ChildProcess& show, Clock::time_point* demoOne) {
    auto until = Clock::now() + std::chrono::seconds(30);
    while (Clock::now() < until && show.Running()) {
        auto before = Clock::now();
        Screenshot shot = testing_support::GrabScreen(nullptr);
        if (shot.Valid() && OnScreen(shot) == "kn\xE6sjbg.jpg") {
            *demoOne = before;
            return true;
        }
    }
    return false;
}

void SleepUntilDemoTime(Clock::time_point demoOne, double t) {
    std::this_thread::sleep_until(demoOne + std::chrono::duration_cast<Clock::duration>(
                                                std::chrono::duration<double>(t - 1.0)));
}

std::string ScreenshotDir() {
    std::string dir = testing_support::AssetDir() + "/../screenshots";
    mkdir(dir.c_str(), 0755);
    return dir;
}

}  // namespace

TEST(ShowEndToEnd, PlaysTheWholeShowAndEndsByItself) {
    std::string dir = testing_support::AssetDir();
    auto started = Clock::now();
    ChildProcess show({dir + "/glimmerset"}, dir);
    ASSERT_NE(WaitForTitle(show, kTitle, 30), 0u) << testing_support::DescribeWindows(nullptr);
    Clock::time_point demoOne;
    ASSERT_TRUE(WaitForTitleCard(show, &demoOne)) << "the title card never showed";

    struct Moment {
        double t;
        const char* overlay;  // "" for none, nullptr: not checked
        bool model;
        const char* keep;  // screenshot file kept for the README, or nullptr
    } moments[] = {
        {2.5, "kn\xE6sjbg.jpg", false, "title.png"},
        {5.5, "aball.jpg", false, nullptr},
        {9.0, nullptr, true, "slimy.png"},
        {12.5, nullptr, true, nullptr},
        {15.5, "theend.jpg", false, nullptr},
        {18.5, "loading.jpg", false, nullptr},
        {35.0, "jalla5.jpg", true, "tunnel.png"},
        {68.0, "realend.jpg", false, nullptr},
    };
    std::vector<unsigned char> previous;
    for (const Moment& m : moments) {
        SleepUntilDemoTime(demoOne, m.t);
        Screenshot shot = testing_support::GrabScreen(nullptr);
        ASSERT_TRUE(shot.Valid());
        if (m.overlay) {
            EXPECT_EQ(OnScreen(shot), m.overlay) << "t=" << m.t;
        } else if (m.model) {
            EXPECT_GT(NonBlack(shot), 0.01) << "t=" << m.t;
        }
        // Frames keep coming: no two moments look the same.
        EXPECT_NE(shot.rgb, previous) << "t=" << m.t;
        previous = shot.rgb;
        if (m.keep) testing_support::SavePng(shot, ScreenshotDir() + "/" + m.keep);
        // The show's own window is the only one: no message box was raised.
        std::vector<std::string> titles = testing_support::WindowTitles(nullptr);
        EXPECT_EQ(titles, std::vector<std::string>{kTitle}) << "t=" << m.t;
    }

    int status = -1;
    ASSERT_TRUE(show.Wait(20, &status)) << "still running long after 71 seconds";
    EXPECT_EQ(status, 0);
    double ran = std::chrono::duration<double>(Clock::now() - started).count();
    EXPECT_GT(ran, 70.0);
}

// Without its soundtrack the show says so twice, then plays to its end in silence.
TEST(ShowEndToEnd, MissingMusicShowsTwoBoxesThenPlaysSilently) {
    testing_support::ScratchDir scratch;
    std::string assets = testing_support::AssetDir();
    int status = -1;
    testing_support::Run("cd '" + assets + "' && for f in *; do case \"$f\" in *.mp3) ;; *) ln -s \"$PWD/$f\" '" +
                             scratch.path + "/'; esac; done",
                         &status);
    ASSERT_EQ(status, 0);
    ChildProcess show({scratch.path + "/glimmerset"}, scratch.path);
    for (int box = 0; box < 2; ++box) {
        unsigned long w = WaitForTitle(show, "BASS", 30);
        ASSERT_NE(w, 0u) << "box " << box + 1 << " never appeared; " << testing_support::DescribeWindows(nullptr);
        testing_support::Run("sleep 0.2; xdotool key --window " + std::to_string(w) + " Return");
        auto until = Clock::now() + std::chrono::seconds(10);
        while (testing_support::FindWindowByTitle(nullptr, "BASS") == w && Clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    // The silent show goes on: its frames still come, with no further box.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    EXPECT_EQ(testing_support::WindowTitles(nullptr), std::vector<std::string>{kTitle});
    ASSERT_TRUE(show.Wait(90, &status));
    EXPECT_EQ(status, 0);
}
