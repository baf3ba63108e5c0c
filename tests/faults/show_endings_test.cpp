// Every way the running show ends gives the display back: the mode it switched to and the cursor it
// hid are as they were before, and its window is gone. Run on a private X.Org server whose mode can
// be switched; skipped where none can be started.
#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tests/faults/display_support.h"
#include "tests/support/test_support.h"
#include "tests/support/x11_support.h"

using namespace fault_support;

namespace {

constexpr double kLoadSeconds = 120.0;  // generous: the sanitized build loads far slower

enum class Ending { kEscape, kCloseRequest, kTerminate, kInterrupt, kHangUp };

struct EndingCase {
    const char* name;
    Ending ending;
};

void PrintTo(const EndingCase& c, std::ostream* out) { *out << c.name; }

// The display as the desktop had it: its starting mode and a cursor one can see.
void ExpectDesktop(const std::string& display, const Cursor& before, const char* when) {
    SCOPED_TRACE(when);
    EXPECT_EQ(CurrentMode(display), "1024x768");
    Cursor now = CurrentCursor(display);
    ASSERT_TRUE(now.read);
    EXPECT_TRUE(now.visible);
    if (before.read) {
        EXPECT_EQ(now.serial, before.serial);
        EXPECT_EQ(now.width, before.width);
        EXPECT_EQ(now.height, before.height);
    }
}

void End(Ending ending, ShowRun& show, const std::string& display, unsigned long window) {
    switch (ending) {
        case Ending::kEscape:
            testing_support::Run("DISPLAY=" + display + " xdotool key --window " + std::to_string(window) +
                                 " Escape");
            break;
        case Ending::kCloseRequest:
            testing_support::RequestClose(display.c_str(), window);
            break;
        case Ending::kTerminate:
            show.Signal(SIGTERM);
            break;
        case Ending::kInterrupt:
            show.Signal(SIGINT);
            break;
        case Ending::kHangUp:  // the terminal that started it closed
            show.Signal(SIGHUP);
            break;
    }
}

class ShowEnding : public ::testing::TestWithParam<EndingCase> {};

TEST_P(ShowEnding, GivesBackTheModeAndTheCursor) {
    DummyDisplay x;
    if (!x.Ready()) GTEST_SKIP() << x.Reason();
    const std::string& display = x.Name();
    ASSERT_EQ(CurrentMode(display), "1024x768");
    const Cursor before = CurrentCursor(display);
    ASSERT_TRUE(before.read && before.visible);

    ShowRun show(testing_support::AssetDir(), display);
    unsigned long window = WaitForShowWindow(show, display, kLoadSeconds);
    ASSERT_NE(window, 0u) << show.Output();
    // Running: the show's own mode, the pointer hidden over its window.
    EXPECT_TRUE(Eventually(20.0, [&] { return CurrentMode(display) == "800x600"; })) << CurrentMode(display);
    EXPECT_TRUE(Eventually(20.0, [&] {
        Cursor now = CurrentCursor(display);
        return now.read && !now.visible;
    }));
    ASSERT_TRUE(show.Running()) << show.Output();

    End(GetParam().ending, show, display, window);
    int status = -1;
    ASSERT_TRUE(show.Wait(60.0, &status)) << "still running";
    EXPECT_EQ(status, 0) << show.Output();
    EXPECT_EQ(testing_support::FindWindowByTitle(display.c_str(), kShowTitle), 0u);
    ExpectDesktop(display, before, "after the show");
}

INSTANTIATE_TEST_SUITE_P(Endings, ShowEnding,
                         ::testing::Values(EndingCase{"Escape", Ending::kEscape},
                                           EndingCase{"CloseRequest", Ending::kCloseRequest},
                                           EndingCase{"Sigterm", Ending::kTerminate},
                                           EndingCase{"Sigint", Ending::kInterrupt},
                                           EndingCase{"Sighup", Ending::kHangUp}),
                         [](const ::testing::TestParamInfo<EndingCase>& info) { return std::string(info.param.name); });

// An image that opens but cannot be decoded ends the process with status 1 and libjpeg's message
// while the show loads, after its window switched the mode; the display still comes back.
TEST(ShowFault, UndecodableImageEndsWithStatusOneAndGivesTheDisplayBack) {
    DummyDisplay x;
    if (!x.Ready()) GTEST_SKIP() << x.Reason();
    const std::string& display = x.Name();
    const Cursor before = CurrentCursor(display);

    testing_support::ScratchDir folder;
    int copied = -1;
    testing_support::Run("cp '" + testing_support::AssetDir() + "'/*.jpg '" + testing_support::AssetDir() +
                             "'/*.ebr '" + testing_support::AssetDir() + "'/*.mp3 '" + folder.path + "'",
                         &copied);
    ASSERT_EQ(copied, 0);
    // Its start-of-image marker, then the end of the image: no frame at all.
    std::ifstream original(folder.path + "/aball.jpg", std::ios::binary);
    std::string soi(2, '\0');
    original.read(&soi[0], 2);
    ASSERT_EQ(soi, "\xFF\xD8");
    folder.Write("aball.jpg", soi + "\xFF\xD9");

    ShowRun show(folder.path, display);
    int status = -1;
    ASSERT_TRUE(show.Wait(kLoadSeconds, &status)) << "still running with a damaged image";
    EXPECT_EQ(status, 1) << show.Output();
    EXPECT_NE(show.Output().find("JPEG datastream contains no image"), std::string::npos) << show.Output();
    EXPECT_EQ(testing_support::FindWindowByTitle(display.c_str(), kShowTitle), 0u);
    ExpectDesktop(display, before, "after the show");
}

}  // namespace
