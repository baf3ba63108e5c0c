// The audio layer against sound made in the test: tones and silence encoded with LAME, spectra
// checked against a direct DFT, positions against a sequential decode, and damaged files.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/bass.h"
#include "platform/audio/bass_seam.h"
#include "tests/music/audio_fixtures.h"
#include "tests/support/test_support.h"

namespace {

using namespace audio_fixtures;
using testing_support::ScratchDir;

constexpr DWORD kFailed = 0xFFFFFFFFu;
constexpr DWORD kBytes = 256 * sizeof(float);

double BinHz(int bin, int rate) { return bin * rate / 512.0; }

void UseDriver(const char* driver) { setenv("SDL_AUDIODRIVER", driver, 1); }

// The clock of virtual playback, moved by the test.
struct VirtualClock {
    double now = 0.0;
    VirtualClock() {
        bassseam::SetVirtualPlayback([this] { return now; });
    }
    ~VirtualClock() { bassseam::SetVirtualPlayback(nullptr); }
};

std::vector<float> Query(DWORD stream, DWORD* result) {
    std::vector<float> bins(512, -7.0f);
    *result = BASS_ChannelGetData(stream, bins.data(), BASS_DATA_FFT512);
    return bins;
}

// Polls the live cursor until it reaches `frames`.
bool WaitForCursor(DWORD stream, std::int64_t frames, double seconds = 10.0) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (bassseam::CursorFrames(stream) >= frames) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

HSTREAM Open(const std::string& path) {
    return BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_SEEK_EXACT);
}

// Varied content: a new pair of tones every 50 ms, so that any two windows differ.
std::vector<std::int16_t> Melody(int rate, double seconds) {
    const double pi = std::acos(-1.0);
    std::size_t frames = static_cast<std::size_t>(seconds * rate);
    std::vector<std::int16_t> pcm(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        int step = static_cast<int>(i / (rate / 20));
        double a = 200.0 + 37.0 * (step % 23);
        double b = 900.0 + 113.0 * (step % 7);
        double t = static_cast<double>(i) / rate;
        pcm[2 * i] = static_cast<std::int16_t>(std::lrint(9000.0 * std::sin(2 * pi * a * t) + 4000.0 * std::sin(2 * pi * b * t)));
        pcm[2 * i + 1] = static_cast<std::int16_t>(std::lrint(7000.0 * std::sin(2 * pi * a * t) - 5000.0 * std::sin(2 * pi * b * t)));
    }
    return pcm;
}

double MaxDifference(const std::vector<float>& bins, const float* reference) {
    double worst = 0.0;
    for (int k = 0; k < 256; ++k) worst = std::max(worst, std::fabs(static_cast<double>(bins[k]) - reference[k]));
    return worst;
}

std::vector<float> FramesSpectrum(const std::vector<std::int16_t>& stereo, long end) {
    std::vector<float> bins(256, 0.0f);
    bassseam::SpectrumOfFrames(stereo.data() + 2 * (end - 512), bins.data());
    return bins;
}

// The peak amplitude of a steady tone in decoded stereo, as a fraction of full scale (from its RMS
// over the middle half, where the tone is steady).
double ToneAmplitude(const std::vector<std::int16_t>& stereo) {
    double squares = 0.0;
    std::size_t first = stereo.size() / 4;
    std::size_t last = stereo.size() * 3 / 4;
    for (std::size_t i = first; i < last; ++i) squares += static_cast<double>(stereo[i]) * stereo[i];
    return std::sqrt(2.0 * squares / static_cast<double>(last - first)) / 32768.0;
}

TEST(BassSpectrum, ToneAtABinCentreReadsHalfItsAmplitudeThereAndMatchesADirectDft) {
    // The encoder keeps a full-scale tone at full scale at 256 kb/s; at lower rates it gives back a
    // little less, and the reading follows what is decoded.
    struct Case {
        int rate, channels, bin, kbps;
    };
    const Case cases[] = {{44100, 2, 20, 256}, {48000, 2, 100, 256}, {44100, 1, 7, 192}, {22050, 2, 33, 160}};
    UseDriver("dummy");
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rate << " Hz, " << c.channels << " channel(s), bin " << c.bin);
        std::string path = dir.path + "/tone.mp3";
        WriteMp3(path, Tone(c.rate, c.channels, 2.0, BinHz(c.bin, c.rate), 1.0), c.rate, c.channels, c.kbps);
        std::vector<std::int16_t> decoded = Decode(path);
        double amplitude = ToneAmplitude(decoded);
        if (c.kbps == 256) {
            EXPECT_GT(amplitude, 0.99);
        }
        HSTREAM stream = Open(path);
        ASSERT_NE(stream, 0u);
        EXPECT_EQ(bassseam::StreamRate(stream), c.rate);
        ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
        ASSERT_TRUE(WaitForCursor(stream, c.rate / 2));

        DWORD result = 0;
        std::vector<float> bins = Query(stream, &result);
        ASSERT_EQ(result, kBytes);
        EXPECT_NEAR(bins[c.bin], 0.5 * amplitude, 0.025 * amplitude);
        EXPECT_NEAR(bins[c.bin - 1], 0.25 * amplitude, 0.025 * amplitude);
        EXPECT_NEAR(bins[c.bin + 1], 0.25 * amplitude, 0.025 * amplitude);
        for (int k = 0; k < 256; ++k) {
            if (std::abs(k - c.bin) >= 3) {
                EXPECT_LT(bins[k], 0.01f) << "bin " << k;
            }
        }
        for (int k = 256; k < 512; ++k) ASSERT_EQ(bins[k], -7.0f) << "element " << k;

        std::int64_t end = bassseam::LastSpectrumEnd(stream);
        ASSERT_GE(end, 512);
        std::vector<double> reference = ReferenceBins(decoded, static_cast<long>(end));
        for (int k = 0; k < 256; ++k) EXPECT_NEAR(bins[k], reference[k], 1e-4) << "bin " << k;
    }
}

TEST(BassSpectrum, SilenceReadsZero) {
    UseDriver("dummy");
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    ScratchDir dir;
    std::string path = dir.path + "/silence.mp3";
    WriteMp3(path, Tone(44100, 2, 1.0, 1000.0, 0.0), 44100, 2);
    HSTREAM stream = Open(path);
    ASSERT_NE(stream, 0u);
    DWORD result = 0;
    // Before play, and while playing.
    std::vector<float> before = Query(stream, &result);
    EXPECT_EQ(result, kBytes);
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
    ASSERT_TRUE(WaitForCursor(stream, 22050));
    std::vector<float> playing = Query(stream, &result);
    EXPECT_EQ(result, kBytes);
    for (int k = 0; k < 256; ++k) {
        EXPECT_EQ(before[k], 0.0f) << "bin " << k;
        EXPECT_EQ(playing[k], 0.0f) << "bin " << k;
    }
}

TEST(BassSpectrum, ToneOnsetRaisesItsBinWithinOneBufferOfItsTime) {
    ScratchDir dir;
    std::string path = dir.path + "/onset.mp3";
    const double onset = 1.0;
    WriteMp3(path, Tone(44100, 2, 2.5, BinHz(20, 44100), 0.8, onset, 2.0), 44100, 2);
    VirtualClock clock;
    clock.now = 100.0;
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    HSTREAM stream = Open(path);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));

    double risen = -1.0;
    for (double t = 0.9; t <= 1.1; t += 0.0005) {
        clock.now = 100.0 + t;
        DWORD result = 0;
        std::vector<float> bins = Query(stream, &result);
        ASSERT_EQ(result, kBytes);
        if (t < onset - 0.02) {
            EXPECT_LT(bins[20], 0.05f) << "at " << t;
        }
        if (t > onset + 0.02) {
            EXPECT_GT(bins[20], 0.38f) << "at " << t;
        }
        if (risen < 0 && bins[20] >= 0.2f) risen = t;
    }
    EXPECT_GE(risen, onset);
    EXPECT_LE(risen, onset + 0.025);
}

TEST(BassSpectrum, LiveQueriesAnalyseTheFramesEndingAtTheCursor) {
    UseDriver("dummy");
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    ScratchDir dir;
    std::string path = dir.path + "/melody.mp3";
    WriteMp3(path, Melody(44100, 3.0), 44100, 2);
    std::vector<std::int16_t> reference = Decode(path);
    HSTREAM stream = Open(path);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));

    int compared = 0;
    std::int64_t previousEnd = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (compared < 100 && std::chrono::steady_clock::now() < deadline) {
        DWORD result = 0;
        std::vector<float> bins = Query(stream, &result);
        ASSERT_EQ(result, kBytes);
        std::int64_t end = bassseam::LastSpectrumEnd(stream);
        if (end >= 512 && end <= static_cast<std::int64_t>(reference.size() / 2)) {
            EXPECT_GE(end, previousEnd);
            previousEnd = end;
            EXPECT_LT(MaxDifference(bins, FramesSpectrum(reference, static_cast<long>(end)).data()), 1e-5)
                << "window ending at frame " << end;
            ++compared;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(7));
    }
    EXPECT_EQ(compared, 100);
}

TEST(BassStream, PositionsAreSampleExactAndTheStreamGapless) {
    ScratchDir dir;
    std::string path = dir.path + "/melody.mp3";
    std::vector<std::int16_t> source = Melody(44100, 3.0);
    const std::int64_t frames = static_cast<std::int64_t>(source.size() / 2);
    WriteMp3(path, source, 44100, 2);
    std::vector<std::int16_t> reference = Decode(path);
    EXPECT_EQ(static_cast<std::int64_t>(reference.size() / 2), frames);

    VirtualClock clock;
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    HSTREAM stream = Open(path);
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(bassseam::StreamLength(stream), frames);

    // Set before play: play starts there.
    ASSERT_TRUE(BASS_ChannelSetPosition(stream, 176400));
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
    EXPECT_EQ(bassseam::CursorFrames(stream), 44100);
    clock.now = 0.5;
    EXPECT_EQ(bassseam::CursorFrames(stream), 66150);

    // Forward, back, a little forward, near the end; a byte count not on a frame drops the rest.
    const std::int64_t positions[] = {1000, 44100, 100000, 50000, 50600, 49999, 130000, frames - 1, 600};
    for (std::int64_t p : positions) {
        SCOPED_TRACE(testing::Message() << "frame " << p);
        ASSERT_TRUE(BASS_ChannelSetPosition(stream, static_cast<QWORD>(p) * 4 + 3));
        EXPECT_EQ(bassseam::CursorFrames(stream), p);
        DWORD result = 0;
        std::vector<float> bins = Query(stream, &result);
        ASSERT_EQ(result, kBytes);
        EXPECT_EQ(bassseam::LastSpectrumEnd(stream), p);
        std::vector<double> direct = ReferenceBins(reference, static_cast<long>(p));
        double worst = 0.0;
        for (int k = 0; k < 256; ++k) worst = std::max(worst, std::fabs(bins[k] - direct[k]));
        EXPECT_LT(worst, 1e-4);
    }

    // The end itself is a position; past it is refused and changes nothing.
    EXPECT_TRUE(BASS_ChannelSetPosition(stream, static_cast<QWORD>(frames) * 4));
    EXPECT_FALSE(BASS_ChannelSetPosition(stream, static_cast<QWORD>(frames + 1) * 4));
    EXPECT_FALSE(BASS_ChannelSetPosition(stream, ~QWORD{0}));
    EXPECT_EQ(bassseam::CursorFrames(stream), frames);
    DWORD result = 0;
    std::vector<float> after = Query(stream, &result);
    ASSERT_EQ(result, kBytes);
    double tail = 0.0;
    for (int k = 0; k < 256; ++k) tail = std::max(tail, static_cast<double>(after[k]));
    EXPECT_GT(tail, 0.01);  // the last 512 frames still sound
    clock.now = 1.0;        // ... and past the end all is silent
    after = Query(stream, &result);
    ASSERT_EQ(result, kBytes);
    for (int k = 0; k < 256; ++k) EXPECT_EQ(after[k], 0.0f);
}

TEST(BassStream, LivePlaybackGoesOnByItselfAndMovesWhereItIsSet) {
    UseDriver("dummy");
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    ScratchDir dir;
    std::string path = dir.path + "/melody.mp3";
    WriteMp3(path, Melody(44100, 4.0), 44100, 2);
    HSTREAM stream = Open(path);
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(bassseam::CursorFrames(stream), -1);
    auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
    ASSERT_TRUE(WaitForCursor(stream, 4410));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    std::int64_t cursor = bassseam::CursorFrames(stream);
    double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    // Playing on without calls, and never ahead of the wall clock by more than a buffer.
    EXPECT_GT(cursor, 4410);
    EXPECT_LE(cursor, static_cast<std::int64_t>(elapsed * 44100) + bassseam::DeviceBufferFrames());

    const std::int64_t target = 132300;  // 3 s
    auto moved = std::chrono::steady_clock::now();
    ASSERT_TRUE(BASS_ChannelSetPosition(stream, static_cast<QWORD>(target) * 4));
    ASSERT_TRUE(WaitForCursor(stream, target));
    cursor = bassseam::CursorFrames(stream);
    elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - moved).count();
    EXPECT_LE(cursor - target, static_cast<std::int64_t>(elapsed * 44100) + bassseam::DeviceBufferFrames());

    // It plays out to the end (1 s more) and is then silent.
    ASSERT_TRUE(WaitForCursor(stream, 176400 + 44100));
    DWORD result = 0;
    std::vector<float> bins = Query(stream, &result);
    ASSERT_EQ(result, kBytes);
    for (int k = 0; k < 256; ++k) EXPECT_EQ(bins[k], 0.0f);
}

TEST(BassDevice, WithoutAnOutputEveryCallFailsCleanly) {
    ScratchDir dir;
    std::string path = dir.path + "/tone.mp3";
    WriteMp3(path, Tone(44100, 2, 1.0, 1000.0, 0.5), 44100, 2);
    UseDriver("no-such-driver");
    EXPECT_FALSE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    EXPECT_FALSE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
    HSTREAM stream = Open(path);
    EXPECT_EQ(stream, 0u);
    for (DWORD handle : {0u, 1u, 2u}) {
        EXPECT_FALSE(BASS_StreamPlay(handle, FALSE, 0));
        EXPECT_FALSE(BASS_ChannelSetPosition(handle, 0));
        DWORD result = 0;
        std::vector<float> bins = Query(handle, &result);
        EXPECT_EQ(result, kFailed);
        for (float v : bins) EXPECT_EQ(v, -7.0f);
    }
}

TEST(BassDevice, OnlyTheDefaultOutputIsOffered) {
    UseDriver("dummy");
    EXPECT_FALSE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    EXPECT_FALSE(BASS_Init(2, 44100, 0, nullptr, nullptr));
    EXPECT_TRUE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
    EXPECT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    EXPECT_GT(bassseam::DeviceBufferFrames(), 0);
}

TEST(BassRequests, QueriesWriteTheFirst256ElementsOnlyAndRefuseOthers) {
    ScratchDir dir;
    std::string path = dir.path + "/melody.mp3";
    WriteMp3(path, Melody(44100, 1.0), 44100, 2);
    VirtualClock clock;
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    HSTREAM stream = Open(path);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));

    float buffer[512];
    for (int i = 0; i < 512; ++i) buffer[i] = -1000.0f - i;
    for (double t : {0.0, 0.3, 0.31, 5.0}) {
        clock.now = t;
        ASSERT_EQ(BASS_ChannelGetData(stream, buffer, BASS_DATA_FFT512), kBytes);
        for (int i = 256; i < 512; ++i) ASSERT_EQ(buffer[i], -1000.0f - i) << "element " << i;
        for (int i = 0; i < 256; ++i) ASSERT_GE(buffer[i], 0.0f) << "element " << i;
    }

    std::vector<float> untouched(512, 3.0f);
    for (DWORD length : {0u, 1024u, 0x80000001u, 0x80000003u, 0x7FFFFFFFu}) {
        EXPECT_EQ(BASS_ChannelGetData(stream, untouched.data(), length), kFailed) << length;
    }
    EXPECT_EQ(BASS_ChannelGetData(stream, nullptr, BASS_DATA_FFT512), kFailed);
    EXPECT_EQ(BASS_ChannelGetData(0, untouched.data(), BASS_DATA_FFT512), kFailed);
    EXPECT_EQ(BASS_ChannelGetData(stream + 1, untouched.data(), BASS_DATA_FFT512), kFailed);
    // A new stream replaces the old one, whose handle then fails.
    HSTREAM next = Open(path);
    ASSERT_NE(next, 0u);
    EXPECT_NE(next, stream);
    EXPECT_EQ(BASS_ChannelGetData(stream, untouched.data(), BASS_DATA_FFT512), kFailed);
    EXPECT_FALSE(BASS_StreamPlay(stream, FALSE, 0));
    for (float v : untouched) EXPECT_EQ(v, 3.0f);
}

// ---- damaged files ------------------------------------------------------------------------------

std::string Scramble(std::string bytes, std::size_t at, std::size_t count, std::uint32_t seed) {
    for (std::size_t i = at; i < at + count && i < bytes.size(); ++i) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        bytes[i] = static_cast<char>(seed & 0xFF);
    }
    return bytes;
}

bool BinsSane(const std::vector<float>& bins) {
    for (int k = 0; k < 256; ++k) {
        // |sum w x| / 256 cannot exceed sum w / 256 = 1 for samples within full scale.
        if (!(bins[k] >= 0.0f && bins[k] <= 1.0001f)) return false;
    }
    return true;
}

// Plays the file virtually, with the clock going forward, back and far ahead; true when nothing
// went wrong that the caller can see.
bool PlayVirtually(const std::string& path, bool mustRefuse) {
    double now = 0.0;
    bassseam::SetVirtualPlayback([&now] { return now; });
    if (!BASS_Init(1, 44100, 0, nullptr, nullptr)) return false;
    HSTREAM stream = Open(path);
    if (stream == 0) return true;
    if (mustRefuse) return false;
    if (!BASS_StreamPlay(stream, FALSE, 0)) return false;
    std::vector<double> times;
    for (double t = 0.0; t < 3.0; t += 1.0 / 60) times.push_back(t);
    for (double t : {0.5, 0.01, 2.9, 1.7, 1e6, -5.0, 1.0}) times.push_back(t);
    for (double t : times) {
        now = t;
        DWORD result = 0;
        std::vector<float> bins = Query(stream, &result);
        if (result != kBytes || !BinsSane(bins)) return false;
    }
    BASS_ChannelSetPosition(stream, 44100 * 4);
    std::int64_t length = bassseam::StreamLength(stream);
    if (length >= 0) {
        // Past what could be decoded the stream is silent.
        now = 2.0 + static_cast<double>(length) / 44100;
        DWORD result = 0;
        std::vector<float> bins = Query(stream, &result);
        if (result != kBytes) return false;
        for (int k = 0; k < 256; ++k)
            if (bins[k] != 0.0f) return false;
    }
    Decode(path);
    return true;
}

bool PlayLive(const std::string& path) {
    UseDriver("dummy");
    if (!BASS_Init(1, 44100, 0, nullptr, nullptr)) return false;
    HSTREAM stream = Open(path);
    if (stream == 0) return true;
    if (!BASS_StreamPlay(stream, FALSE, 0)) return false;
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(600);
    while (std::chrono::steady_clock::now() < end) {
        DWORD result = 0;
        std::vector<float> bins = Query(stream, &result);
        if (result != kBytes || !BinsSane(bins)) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST(BassDamagedFiles, NeverCrashNorHang) {
    ScratchDir dir;
    std::string good = WriteMp3(dir.path + "/good.mp3", Melody(44100, 2.0), 44100, 2, 128);
    ASSERT_GT(good.size(), 20000u);
    struct Case {
        const char* name;
        std::string bytes;
        bool mustRefuse;
    };
    const Case cases[] = {
        {"truncated to half", good.substr(0, good.size() / 2), false},
        {"truncated inside the first frames", good.substr(0, 1000), false},
        {"garbage in the middle", Scramble(good, good.size() / 2, 4096, 12345), false},
        {"zeros in the middle", std::string(good).replace(good.size() / 3, 3000, 3000, '\0'), false},
        {"garbage sprinkled throughout", [&] {
             std::string s = good;
             for (std::size_t at = 700; at + 16 < s.size(); at += 2000) s = Scramble(s, at, 16, static_cast<std::uint32_t>(at));
             return s;
         }(), false},
        {"text", std::string(20000, 'x'), true},
        {"random bytes", Scramble(std::string(65536, '\0'), 0, 65536, 777), false},
        {"empty", std::string(), true},
        {"an ID3 tag claiming more than there is", std::string("ID3\x03\x00\x00\x7f\x7f\x7f\x7f", 10) + good.substr(0, 3000), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = dir.path + "/damaged.mp3";
        WriteFile(path, c.bytes);
        ChildResult virtualRun = RunInChild(60.0, [&] { return PlayVirtually(path, c.mustRefuse); });
        EXPECT_EQ(virtualRun.end, ChildEnd::kExited);
        EXPECT_EQ(virtualRun.value, 0);
        ChildResult liveRun = RunInChild(60.0, [&] { return PlayLive(path); });
        EXPECT_EQ(liveRun.end, ChildEnd::kExited);
        EXPECT_EQ(liveRun.value, 0);
    }
}

}  // namespace
