// The whole show, all 71 seconds of it with the generated assets, in the address-sanitized build:
// it ends by itself with status 0, with no report from AddressSanitizer, UndefinedBehaviorSanitizer
// or LeakSanitizer at its exit, and gives the display back as it found it. It plays on a private
// X.Org server whose mode can be switched, or, where none can be started, on the test's own display.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/faults/display_support.h"
#include "tests/support/test_support.h"
#include "tests/support/x11_support.h"

using namespace fault_support;

TEST(FullShow, PlaysToItsEndCleanlyAndGivesTheDisplayBack) {
    DummyDisplay x;
    std::string display = x.Name();
    if (!x.Ready()) {
        const char* own = std::getenv("DISPLAY");
        ASSERT_NE(own, nullptr) << "no display to play on: " << x.Reason();
        display = own;
        std::printf("No display whose mode can be switched (%s); playing on %s\n", x.Reason().c_str(), own);
    }
    const std::string modeBefore = CurrentMode(display);
    const Cursor before = CurrentCursor(display);
    ASSERT_TRUE(before.read && before.visible);

    ShowRun show(testing_support::AssetDir(), display);
    ASSERT_NE(WaitForShowWindow(show, display, 120.0), 0u) << show.Output();
    const auto shown = std::chrono::steady_clock::now();
    if (x.Ready()) {
        EXPECT_TRUE(Eventually(20.0, [&] { return CurrentMode(display) == "800x600"; })) << CurrentMode(display);
    }

    int status = -1;
    ASSERT_TRUE(show.Wait(71.0 + 240.0, &status)) << "still running long after its end";
    const double played = std::chrono::duration<double>(std::chrono::steady_clock::now() - shown).count();
    std::printf("Played for %.1f s after its window appeared\n", played);
    EXPECT_GE(played, 71.0);  // the timeline starts after loading, once the window is up
    EXPECT_EQ(status, 0) << show.Output();
    const std::string output = show.Output();
    for (const char* report : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"}) {
        EXPECT_EQ(output.find(report), std::string::npos) << output;
    }

    EXPECT_EQ(testing_support::FindWindowByTitle(display.c_str(), kShowTitle), 0u);
    EXPECT_EQ(CurrentMode(display), modeBefore);
    const Cursor after = CurrentCursor(display);
    EXPECT_TRUE(after.visible);
    EXPECT_EQ(after.serial, before.serial);
}
