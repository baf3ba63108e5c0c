// The music module and the window's music members: the calls they make, the boxes they show and
// the position they move the stream to.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "music/music.h"
#include "platform/audio/bass_seam.h"
#include "shell/glwindow.h"
#include "tests/music/audio_fixtures.h"
#include "tests/support/test_support.h"

namespace {

using namespace audio_fixtures;
using testing_support::MessageBoxRecorder;
using testing_support::RecordedBox;
using testing_support::ScratchDir;

constexpr DWORD kFailed = 0xFFFFFFFFu;

HWND FakeWindow() { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x5151)); }

void ExpectBoxes(const std::vector<RecordedBox>& boxes, HWND owner, const std::vector<std::string>& texts) {
    ASSERT_EQ(boxes.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(boxes[i].text, texts[i]) << "box " << i;
        EXPECT_EQ(boxes[i].caption, "BASS") << "box " << i;
        EXPECT_EQ(boxes[i].owner, owner) << "box " << i;
        EXPECT_EQ(boxes[i].type, static_cast<UINT>(MB_OK)) << "box " << i;
    }
}

// Queries leave a buffer that failed exactly as it was.
void ExpectQueriesFillNothing(const std::function<DWORD(float*)>& query) {
    SpectrumBuffer buffer;
    for (int i = 0; i < 512; ++i) buffer[i] = 0.25f * i;
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(query(buffer), kFailed);
        for (int i = 0; i < 512; ++i) ASSERT_EQ(buffer[i], 0.25f * i) << "element " << i;
    }
}

struct VirtualClock {
    double now = 0.0;
    VirtualClock() {
        bassseam::SetVirtualPlayback([this] { return now; });
    }
    ~VirtualClock() { bassseam::SetVirtualPlayback(nullptr); }
};

std::string ToneFile(const ScratchDir& dir) {
    std::string path = dir.path + "/music.mp3";
    WriteMp3(path, Tone(44100, 2, 3.0, 20 * 44100 / 512.0, 0.8), 44100, 2);
    return path;
}

TEST(MusicPosition, SecondsBecomeTheLow32BitsOfTheTruncatedByteCount) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double seconds;
        QWORD bytes;
    };
    const Case cases[] = {
        {0.0, 0},
        {-0.0, 0},
        {1.0, 176400},
        {0.5, 88200},
        {71.0, 12524400},
        {2.0 / 176400.0 * 0.999, 1},                  // 1.998 bytes truncates to 1
        {static_cast<double>(0.1f), 17640},           // a float start time widened: 17640.00026...
        {static_cast<double>(1.3f), 229319},          // 229319.9957...: truncated, not rounded
        {1e-9, 0},
        {24347.0, 4294810800u},                       // the last whole second below 2^32 bytes
        {24348.0, 19904},                             // 4294987200 wraps past 2^32
        {4294967296.0 / 176400.0 * 3.0, 0},           // exactly 3 x 2^32 bytes
        {1e300, 0},                                   // a multiple of 2^32 far beyond any integer type
        {-1e-9, 0},                                   // -0.000176 bytes truncates to 0
        {-1.0, 4294790896u},                          // -176400 as two's complement
        {nan, 0},
        {inf, 0},
        {-inf, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(MusicBytePosition(c.seconds), c.bytes) << "seconds " << c.seconds;
}

TEST(Music, MissingFileShowsBothBoxesInOrderAndQueriesFillNothing) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ScratchDir dir;
    MessageBoxRecorder recorder;
    MusicInit(FakeWindow());
    EXPECT_EQ(musicWindow, FakeWindow());
    EXPECT_TRUE(recorder.boxes.empty());
    MusicLoad("velloro - trance4m.mp3");
    EXPECT_EQ(musicStream, 0u);
    MusicPlay(0.0);
    ExpectBoxes(recorder.boxes, FakeWindow(), {"BASS error, file not found?", "BASS error, can not play stream?"});
    ExpectQueriesFillNothing([](float* buffer) { return MusicGetSpectrum(buffer); });
}

TEST(Music, FailedInitShowsBassErrorAndTheRestStillRuns) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    ScratchDir dir;
    std::string path = ToneFile(dir);
    MessageBoxRecorder recorder;
    MusicInit(FakeWindow());
    MusicLoad(path.c_str());
    MusicPlay(0.0);
    EXPECT_EQ(musicStream, 0u);
    ExpectBoxes(recorder.boxes, FakeWindow(),
                {"BASS error", "BASS error, file not found?", "BASS error, can not play stream?"});
    ExpectQueriesFillNothing([](float* buffer) { return MusicGetSpectrum(buffer); });
}

TEST(Music, PlaysFromTheStartItIsGiven) {
    ScratchDir dir;
    std::string path = ToneFile(dir);
    VirtualClock clock;
    clock.now = 10.0;
    MessageBoxRecorder recorder;
    MusicInit(FakeWindow());
    MusicLoad(path.c_str());
    ASSERT_NE(musicStream, 0u);
    MusicPlay(0.0);
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_EQ(bassseam::CursorFrames(musicStream), 0);
    clock.now = 10.5;
    EXPECT_EQ(bassseam::CursorFrames(musicStream), 22050);
    SpectrumBuffer buffer = {};
    EXPECT_EQ(MusicGetSpectrum(buffer), 1024u);
    EXPECT_NEAR(buffer[20], 0.4, 0.04);
    for (int i = 256; i < 512; ++i) ASSERT_EQ(buffer[i], 0.0f);

    // Playing again moves the stream to the new start.
    MusicPlay(1.5);
    EXPECT_EQ(bassseam::CursorFrames(musicStream), 66150);
    // A start before the beginning comes out past any end: the position is refused and the stream
    // plays on from where it was.
    MusicPlay(-1.0);
    EXPECT_EQ(bassseam::CursorFrames(musicStream), 66150);
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST(MusicWindow, StartMusicForwardsTheWindowTheFileAndTheStart) {
    ScratchDir dir;
    std::string path = ToneFile(dir);
    VirtualClock clock;
    MessageBoxRecorder recorder;
    GLWindow window(800, 600, 32, false, "music test");
    recorder.boxes.clear();
    window.StartMusic(path.c_str(), 2.0f);
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_EQ(musicWindow, window.hWnd);
    ASSERT_NE(musicStream, 0u);
    EXPECT_EQ(bassseam::CursorFrames(musicStream), 88200);
    SpectrumBuffer buffer = {};
    EXPECT_EQ(window.GetSpectrum(buffer), 1024u);
    EXPECT_NEAR(buffer[20], 0.4, 0.04);
}

TEST(MusicWindow, StartMusicWithoutTheFileShowsItsBoxesOwnedByTheWindow) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    ScratchDir dir;
    MessageBoxRecorder recorder;
    GLWindow window(800, 600, 32, false, "music test");
    recorder.boxes.clear();
    window.StartMusic("velloro - trance4m.mp3", 0.0f);
    ExpectBoxes(recorder.boxes, window.hWnd,
                {"BASS error", "BASS error, file not found?", "BASS error, can not play stream?"});
    ExpectQueriesFillNothing([&](float* buffer) { return window.GetSpectrum(buffer); });
}

}  // namespace
