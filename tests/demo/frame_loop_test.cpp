// The show's frame loop driven by a clock the test sets, on a real window: when it ends, and how many
// frames it presents on the way.
#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <vector>

#include "platform/win32/win32.h"
#include "platform/win32/win32_seam.h"
#include "tests/support/test_support.h"

using testing_support::MessageBoxRecorder;
using testing_support::ScratchDir;

namespace {

// A power-of-two frequency keeps every demo time below exact.
constexpr std::int64_t kFrequency = 1024;

struct FrameScript {
    std::vector<double> times;  // demo time of each frame; the last repeats
    int reads = 0;
    int swaps = 0;
    std::vector<unsigned char> lastFrame;

    void Install() {
        win32seam::SetCounter(
            [this]() -> std::int64_t {
                int read = reads++;
                if (read == 0) return 0;  // the timer's construction: demo time starts at 0
                size_t frame = static_cast<size_t>(read - 1) / 2;  // two reads per frame
                if (frame >= times.size()) frame = times.size() - 1;
                return static_cast<std::int64_t>(times[frame] * kFrequency);
            },
            kFrequency);
        win32seam::SetSwapHook([this](HDC) {
            ++swaps;
            lastFrame = testing_support::ReadFrame(800, 600);
        });
    }
    ~FrameScript() {
        win32seam::SetCounter(nullptr, 0);
        win32seam::SetSwapHook(nullptr);
    }
};

int RunShow() {
    char commandLine[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
}

}  // namespace

// 71.0 itself does not end the show; the first frame above it is drawn in full, then it ends.
TEST(FrameLoop, EndsAfterTheFirstFrameAboveSeventyOne) {
    ScratchDir dir;
    MessageBoxRecorder boxes;
    FrameScript script;
    script.times = {70.0, 71.0, 71.0 + 1.0 / kFrequency, 80.0};
    script.Install();
    EXPECT_EQ(RunShow(), 0);
    EXPECT_EQ(script.swaps, 3);
    // Nothing is scheduled after 70 seconds: the last frame is black.
    ASSERT_FALSE(script.lastFrame.empty());
    for (int y : {0, 300, 599}) {
        for (int x : {0, 400, 799}) {
            testing_support::Rgb p = testing_support::PixelAt(script.lastFrame, 800, x, y);
            EXPECT_EQ(p.r + p.g + p.b, 0) << x << "," << y;
        }
    }
}

TEST(FrameLoop, EscapeHeldBeforeTheFirstFrameDrawsNothing) {
    ScratchDir dir;
    MessageBoxRecorder boxes;
    int swaps = 0;
    bool pressed = false;
    win32seam::SetSwapHook([&](HDC) { ++swaps; });
    // The timer is made after the window: press Escape at its first reading, before the loop.
    win32seam::SetCounter(
        [&]() -> std::int64_t {
            if (!pressed) {
                SDL_Event event{};
                event.type = SDL_KEYDOWN;
                event.key.keysym.sym = SDLK_ESCAPE;
                event.key.state = SDL_PRESSED;
                SDL_PushEvent(&event);
                pressed = true;
            }
            return 0;
        },
        kFrequency);
    EXPECT_EQ(RunShow(), 0);
    EXPECT_TRUE(pressed);
    EXPECT_EQ(swaps, 0);
    win32seam::SetCounter(nullptr, 0);
    win32seam::SetSwapHook(nullptr);
}

// SIGTERM asks the window to close: the update that takes the close presents its frame, the one
// that takes the quit does not, and the show ends normally.
TEST(FrameLoop, TerminationSignalClosesTheWindowAndEndsTheShow) {
    ScratchDir dir;
    MessageBoxRecorder boxes;
    FrameScript script;
    script.times = {2.0, 3.0, 4.0, 5.0, 6.0};
    script.Install();
    win32seam::SetSwapHook([&](HDC) {
        if (++script.swaps == 2) std::raise(SIGTERM);
    });
    EXPECT_EQ(RunShow(), 0);
    EXPECT_EQ(script.swaps, 3);
}
