// The built program, run as a person runs it, on the test's X server.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_support.h"
#include "tests/support/x11_support.h"

using testing_support::ChildProcess;

namespace {

const char kTitle[] = "Glimmerset - \xC3\x9Bquandrix";

unsigned long WaitForWindow(ChildProcess& show, double seconds) {
    for (int i = 0; i < seconds * 20 && show.Running(); ++i) {
        unsigned long w = testing_support::FindWindowByTitle(nullptr, kTitle);
        if (w != 0) return w;
        testing_support::Run("sleep 0.05");
    }
    return 0;
}

}  // namespace

TEST(ShowProcess, OpensItsWindowAndEndsOnEscape) {
    std::string dir = testing_support::AssetDir();
    ChildProcess show({dir + "/glimmerset"}, dir);
    unsigned long window = WaitForWindow(show, 30);
    ASSERT_NE(window, 0u) << "no window titled " << kTitle << "; " << testing_support::DescribeWindows(nullptr);
    testing_support::Run("sleep 0.3");
    testing_support::Screenshot shot = testing_support::GrabScreen(nullptr);
    ASSERT_EQ(shot.width, 800);
    int r, g, b;
    shot.Pixel(400, 300, &r, &g, &b);
    EXPECT_EQ(r + g + b, 0);  // the first second of the show is black

    int status = -1;
    testing_support::Run("xdotool windowfocus --sync " + std::to_string(window) + " key Escape");
    ASSERT_TRUE(show.Wait(10, &status)) << "still running after Escape";
    EXPECT_EQ(status, 0);
}

TEST(ShowProcess, EndsWhenItsWindowIsClosed) {
    std::string dir = testing_support::AssetDir();
    ChildProcess show({dir + "/glimmerset"}, dir);
    unsigned long window = WaitForWindow(show, 30);
    ASSERT_NE(window, 0u) << testing_support::DescribeWindows(nullptr);
    ASSERT_TRUE(testing_support::RequestClose(nullptr, window));
    int status = -1;
    ASSERT_TRUE(show.Wait(10, &status));
    EXPECT_EQ(status, 0);
}
