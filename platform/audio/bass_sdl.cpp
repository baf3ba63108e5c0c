// The audio library's stream interface on SDL2 (output), libmpg123 (decoding) and FFTW (spectrum).
//
// One output device and one stream at a time. The device's callback thread decodes the playing
// stream straight into SDL's buffer and appends the mono mix of every frame it hands over to a ring
// of recent history, stamped with the time of the hand-over. A spectrum query estimates the frame
// being heard from that stamp and the device's latency and analyses the 512 frames before it: it
// reads the ring without locks or allocation, so the show's thread never waits on the decoder.
// Control calls (create, play, seek) lock the device briefly, which waits for at most one callback.
#include <SDL2/SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/audio/bass.h"
#include "platform/audio/bass_seam.h"
#include "platform/audio/mp3_decoder.h"
#include "platform/audio/spectrum_fft.h"

namespace {

using bassimpl::kFftBins;
using bassimpl::kFftSize;
using bassimpl::MonoOf;
using bassimpl::Mp3Decoder;
using bassimpl::SpectrumAnalyser;

constexpr DWORD kFailed = 0xFFFFFFFFu;
constexpr DWORD kSpectrumBytes = kFftBins * sizeof(float);
// History of frames handed to the device (and, virtually, of decoded frames): far more than one
// analysis window plus the device's buffers, so a query never reads frames being replaced.
constexpr int kRingFrames = 16384;
constexpr std::int64_t kRingMask = kRingFrames - 1;
constexpr std::int64_t kPairMask = kRingFrames / 2 - 1;
// Hand-overs remembered with the file position they came from.
constexpr int kBlockRecords = 8;
// Frames decoded per step when playback is virtual.
constexpr int kVirtualChunk = 1024;

std::int64_t NowNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The mono mix of the frames handed to the device, indexed by device frame. Two frames share one
// atomic word, so a query copies its window in 256 plain loads while the device's thread writes
// elsewhere in the ring.
class History {
public:
    History() {
        for (auto& p : pairs_) p.store(0, std::memory_order_relaxed);
    }

    // Device thread only.
    void Write(std::int64_t first, const std::int16_t* stereo, std::size_t frames) {
        std::size_t i = 0;
        std::int64_t f = first;
        if ((f & 1) != 0 && i < frames) {  // completes the pair the previous hand-over began
            Store(f >> 1, pendingLow_, MonoOf(stereo));
            ++i;
            ++f;
        }
        for (; i + 1 < frames; i += 2, f += 2) Store(f >> 1, MonoOf(stereo + 2 * i), MonoOf(stereo + 2 * i + 2));
        if (i < frames) {
            pendingLow_ = MonoOf(stereo + 2 * i);
            Store(f >> 1, pendingLow_, 0.0f);
        }
    }

    // Copies the window of frames [first, first + kFftSize) into room (kFftSize + 2 floats) and
    // returns where it starts there. Frames before 0 (before the first hand-over) are silence.
    const float* Read(std::int64_t first, float* room) const {
        constexpr int kPairs = kFftSize / 2 + 1;
        std::int64_t pair = first >> 1;  // rounds down, also below 0
        int i = 0;
        for (; i < kPairs && pair + i < 0; ++i) room[2 * i] = room[2 * i + 1] = 0.0f;
        while (i < kPairs) {  // at most two unbroken runs of the ring
            std::int64_t at = (pair + i) & kPairMask;
            int run = static_cast<int>(std::min<std::int64_t>(kPairs - i, kPairMask + 1 - at));
            const std::atomic<std::uint64_t>* from = pairs_ + at;
            float* to = room + 2 * i;
            for (int j = 0; j < run; ++j) {
                std::uint64_t word = from[j].load(std::memory_order_relaxed);
                std::memcpy(to + 2 * j, &word, sizeof(word));
            }
            i += run;
        }
        return room + (first & 1);
    }

private:
    void Store(std::int64_t pair, float low, float high) {
        float two[2] = {low, high};
        std::uint64_t word;
        std::memcpy(&word, two, sizeof(word));
        pairs_[pair & kPairMask].store(word, std::memory_order_relaxed);
    }

    std::atomic<std::uint64_t> pairs_[kRingFrames / 2];
    float pendingLow_ = 0.0f;
};

struct Stream {
    HSTREAM handle = 0;
    Mp3Decoder decoder;
    int rate = 0;
    bool playing = false;
    // Live: the file frame of the next frame handed to the device (runs on past the end).
    std::int64_t playFrame = 0;
    // Virtual: the position while not playing, and the cursor's anchor while playing.
    std::int64_t startFrame = 0;
    std::int64_t anchorFrame = 0;
    double anchorClock = 0.0;
    // Virtual: decoded mono frames [ringStart, ringEnd) of the file, and the decoder's scratch.
    std::vector<float> ring;
    std::int64_t ringStart = 0;
    std::int64_t ringEnd = 0;
    std::vector<std::int16_t> scratch;
    // The readout of the latest query.
    std::int64_t lastSpectrumEnd = -1;
};

// What the callback publishes after every hand-over, read by queries through a sequence lock.
// (Left uninitialised: every read fills all of it.)
struct Published {
    std::int64_t written;  // device frames handed over so far
    std::int64_t stampNs;  // when the latest hand-over was made
    std::int64_t blockFrames;
    std::int64_t blocks;
    std::int64_t recordDevice[kBlockRecords];
    std::int64_t recordFile[kBlockRecords];  // -1: not from the file (nothing playing)
    std::int64_t recordFrames[kBlockRecords];
    std::int64_t recordStream[kBlockRecords];  // the handle of the stream it came from
};

struct Audio {
    bool initialised = false;
    std::function<double()> virtualClock;
    double virtualLead = 0.0;
    bool isVirtual = false;
    bool sdlReady = false;
    bool exitHookSet = false;

    SDL_AudioDeviceID device = 0;
    int deviceRate = 0;
    int deviceBufferFrames = 0;
    int deviceQueuedFrames = 0;

    std::unique_ptr<Stream> stream;
    HSTREAM lastHandle = 0;
    std::unique_ptr<SpectrumAnalyser> analyser;

    // Written by the callback thread only; read by queries.
    History history;
    std::atomic<std::uint32_t> sequence{0};
    std::atomic<std::int64_t> written{0};
    std::atomic<std::int64_t> stampNs{0};
    std::atomic<std::int64_t> blockFrames{0};
    std::atomic<std::int64_t> blocks{0};
    std::atomic<std::int64_t> recordDevice[kBlockRecords];
    std::atomic<std::int64_t> recordFile[kBlockRecords];
    std::atomic<std::int64_t> recordFrames[kBlockRecords];
    std::atomic<std::int64_t> recordStream[kBlockRecords];

    Audio() {
        for (int i = 0; i < kBlockRecords; ++i) {
            recordDevice[i].store(0, std::memory_order_relaxed);
            recordFile[i].store(-1, std::memory_order_relaxed);
            recordFrames[i].store(0, std::memory_order_relaxed);
            recordStream[i].store(0, std::memory_order_relaxed);
        }
    }
};

// Never destroyed: the device's thread may still run while the process ends.
Audio& State() {
    static Audio* audio = new Audio;
    return *audio;
}

// ---- device side -------------------------------------------------------------------------------

void Publish(Audio& a, std::int64_t start, std::int64_t frames, std::int64_t fileStart, HSTREAM stream,
             std::int64_t stamp) {
    std::uint32_t seq = a.sequence.load(std::memory_order_relaxed);
    a.sequence.store(seq + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    std::int64_t block = a.blocks.load(std::memory_order_relaxed);
    int slot = static_cast<int>(block % kBlockRecords);
    a.recordDevice[slot].store(start, std::memory_order_relaxed);
    a.recordFile[slot].store(fileStart, std::memory_order_relaxed);
    a.recordFrames[slot].store(frames, std::memory_order_relaxed);
    a.recordStream[slot].store(stream, std::memory_order_relaxed);
    a.blocks.store(block + 1, std::memory_order_relaxed);
    a.blockFrames.store(frames, std::memory_order_relaxed);
    a.stampNs.store(stamp, std::memory_order_relaxed);
    a.written.store(start + frames, std::memory_order_relaxed);
    a.sequence.store(seq + 2, std::memory_order_release);
}

void SDLCALL FillDevice(void* userdata, Uint8* bytes, int length) {
    Audio& a = *static_cast<Audio*>(userdata);
    auto* out = reinterpret_cast<std::int16_t*>(bytes);
    std::size_t frames = static_cast<std::size_t>(length) / 4;
    std::size_t got = 0;
    std::int64_t fileStart = -1;
    HSTREAM handle = 0;
    // SDL holds the device lock around this call; control calls change the stream only under it.
    Stream* s = a.stream.get();
    if (s != nullptr && s->playing) {
        fileStart = s->playFrame;
        handle = s->handle;
        if (!s->decoder.Ended()) got = s->decoder.Read(out, frames);
        s->playFrame += static_cast<std::int64_t>(frames);
    }
    std::memset(bytes + got * 4, 0, static_cast<std::size_t>(length) - got * 4);

    std::int64_t start = a.written.load(std::memory_order_relaxed);
    // Orders the ring stores below after every earlier publication: a query that sees one of them
    // also sees a `written` recent enough to tell that its window was being replaced.
    std::atomic_thread_fence(std::memory_order_release);
    a.history.Write(start, out, frames);
    Publish(a, start, static_cast<std::int64_t>(frames), fileStart, handle, NowNanoseconds());
}

// False only when the device's thread stopped inside a publication (it cannot resume there).
bool ReadPublished(Audio& a, Published* p) {
    for (int attempt = 0; attempt < 10000; ++attempt) {
        std::uint32_t before = a.sequence.load(std::memory_order_acquire);
        if ((before & 1u) == 0) {
            p->written = a.written.load(std::memory_order_relaxed);
            p->stampNs = a.stampNs.load(std::memory_order_relaxed);
            p->blockFrames = a.blockFrames.load(std::memory_order_relaxed);
            p->blocks = a.blocks.load(std::memory_order_relaxed);
            for (int i = 0; i < kBlockRecords; ++i) {
                p->recordDevice[i] = a.recordDevice[i].load(std::memory_order_relaxed);
                p->recordFile[i] = a.recordFile[i].load(std::memory_order_relaxed);
                p->recordFrames[i] = a.recordFrames[i].load(std::memory_order_relaxed);
                p->recordStream[i] = a.recordStream[i].load(std::memory_order_relaxed);
            }
            std::atomic_thread_fence(std::memory_order_acquire);
            if (a.sequence.load(std::memory_order_relaxed) == before) return true;
        }
        // The writer holds the lock for a handful of stores; give it the processor if it was
        // interrupted inside them.
        if (attempt > 64) SDL_Delay(0);
    }
    return false;
}

// The device frame being heard: the latest hand-over starts sounding once the frames queued ahead
// of it have played, and then advances at the device's rate; never past what was handed over.
std::int64_t LiveCursor(const Audio& a, const Published& p, std::int64_t nowNs) {
    if (p.written == 0) return 0;
    std::int64_t blockStart = p.written - p.blockFrames;
    std::int64_t elapsedNs = std::max<std::int64_t>(nowNs - p.stampNs, 0);
    std::int64_t advanced = elapsedNs / 1000 * a.deviceRate / 1000000;
    advanced = std::min(advanced, p.blockFrames);
    return std::max<std::int64_t>(blockStart - a.deviceQueuedFrames + advanced, 0);
}

// File frame of the device frame `frame`, or -1 when no remembered hand-over from the stream's file
// holds it.
std::int64_t FileFrameOf(const Published& p, HSTREAM stream, std::int64_t frame, std::int64_t* offset) {
    for (int i = 0; i < kBlockRecords; ++i) {
        if (p.recordFrames[i] > 0 && frame >= p.recordDevice[i] && frame < p.recordDevice[i] + p.recordFrames[i]) {
            if (p.recordFile[i] < 0 || p.recordStream[i] != static_cast<std::int64_t>(stream)) return -1;
            *offset = p.recordFile[i] - p.recordDevice[i];
            return frame + *offset;
        }
    }
    return -1;
}

// File frame just past the device frames [first, end), or -1 when they are not one stretch of it.
std::int64_t FileEndOf(const Published& p, HSTREAM stream, std::int64_t first, std::int64_t end) {
    if (first < 0 || end <= first) return -1;
    std::int64_t firstOffset = 0;
    std::int64_t lastOffset = 0;
    if (FileFrameOf(p, stream, first, &firstOffset) < 0 || FileFrameOf(p, stream, end - 1, &lastOffset) < 0) return -1;
    if (firstOffset != lastOffset) return -1;
    return end + lastOffset;
}

bool OpenDevice(Audio& a, int rate) {
    SDL_AudioSpec want;
    SDL_zero(want);
    want.freq = rate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    // About 23 ms: small enough that the spectrum follows the beat, large enough not to starve.
    want.samples = rate >= 32000 ? 1024 : 512;
    want.callback = FillDevice;
    want.userdata = &a;
    SDL_AudioSpec have;
    SDL_zero(have);
    // No changes allowed: SDL converts to whatever the hardware takes, so the stream's own rate and
    // format are what the callback fills.
    SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) return false;
    a.device = device;
    a.deviceRate = rate;
    a.deviceBufferFrames = have.samples;
    // A real device still holds about one buffer when it asks for the next; the silent drivers
    // start "playing" a buffer the moment they take it.
    const char* driver = SDL_GetCurrentAudioDriver();
    bool silentDriver = driver != nullptr && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "disk") == 0);
    a.deviceQueuedFrames = silentDriver ? 0 : have.samples;
    return true;
}

void CloseDevice(Audio& a) {
    if (a.device != 0) SDL_CloseAudioDevice(a.device);
    a.device = 0;
    a.deviceRate = 0;
    a.deviceBufferFrames = 0;
    a.deviceQueuedFrames = 0;
}

void CloseAtExit() {
    Audio& a = State();
    CloseDevice(a);
    if (a.sdlReady) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    a.sdlReady = false;
}

// Runs `change` with the device's callback held off (live), or directly (virtual).
template <typename Change>
auto WithDeviceLocked(Audio& a, Change change) {
    if (a.device == 0) return change();
    SDL_LockAudioDevice(a.device);
    auto result = change();
    SDL_UnlockAudioDevice(a.device);
    return result;
}

Stream* Find(DWORD handle) {
    Audio& a = State();
    if (handle == 0 || !a.stream || a.stream->handle != handle) return nullptr;
    return a.stream.get();
}

// ---- virtual playback --------------------------------------------------------------------------

// The clock of virtual playback; 0 if it was taken away after BASS_Init.
double VirtualNow(const Audio& a) { return a.virtualClock ? a.virtualClock() : 0.0; }

std::int64_t VirtualCursor(const Audio& a, const Stream& s) {
    if (!s.playing) return s.startFrame;
    double elapsed = VirtualNow(a) - s.anchorClock + a.virtualLead;
    double frames = elapsed * s.rate;
    // A clock gone wild must not overflow the frame count.
    if (!std::isfinite(frames)) frames = 0.0;
    frames = std::max(std::min(frames, 4.0e15), -4.0e15);
    return s.anchorFrame + std::llround(frames);
}

// Decodes the file up to `end` (exclusive) into the stream's ring, seeking where the frames wanted
// from `first` on are not in the ring nor a short decode ahead.
void DecodeVirtual(Stream& s, std::int64_t first, std::int64_t end) {
    if (first >= end) return;
    const std::int64_t maxAhead = s.rate;  // decoding one second forward beats a seek
    if (first < s.ringStart || first > s.ringEnd + maxAhead) {
        s.decoder.Seek(first);  // refused or failed: the reads below give silence
        s.ringStart = s.ringEnd = first;
    }
    while (s.ringEnd < end) {
        std::int64_t want = std::min<std::int64_t>(kVirtualChunk, end - s.ringEnd);
        std::size_t got = 0;
        if (!s.decoder.Ended() && s.decoder.Position() == s.ringEnd) {
            got = s.decoder.Read(s.scratch.data(), static_cast<std::size_t>(want));
        }
        for (std::int64_t i = 0; i < want; ++i) {
            float v = static_cast<std::size_t>(i) < got ? MonoOf(s.scratch.data() + 2 * i) : 0.0f;
            s.ring[static_cast<std::size_t>((s.ringEnd + i) & kRingMask)] = v;
        }
        s.ringEnd += want;
        s.ringStart = std::max(s.ringStart, s.ringEnd - kRingFrames);
    }
}

void FillVirtualWindow(Stream& s, std::int64_t end, float* samples) {
    std::int64_t first = end - kFftSize;
    std::int64_t from = std::max<std::int64_t>(first, 0);
    std::int64_t to = end;
    std::int64_t length = s.decoder.Length();
    if (length >= 0) to = std::min(to, length);
    DecodeVirtual(s, from, to);
    for (int n = 0; n < kFftSize; ++n) {
        std::int64_t f = first + n;
        float v = (f >= from && f < to) ? s.ring[static_cast<std::size_t>(f & kRingMask)] : 0.0f;
        samples[n] = v;
    }
}

}  // namespace

// ---- the interface -----------------------------------------------------------------------------

BOOL BASS_Init(int device, DWORD frequency, DWORD, HWND, const void*) {
    Audio& a = State();
    if (device != 1 && device != -1) return FALSE;
    if (a.initialised) return TRUE;
    if (a.virtualClock) {
        a.isVirtual = true;
        a.initialised = true;
        return TRUE;
    }
    a.isVirtual = false;
    if (!a.sdlReady) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return FALSE;
        a.sdlReady = true;
    }
    int rate = (frequency >= 8000 && frequency <= 48000) ? static_cast<int>(frequency) : 44100;
    if (!OpenDevice(a, rate)) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        a.sdlReady = false;
        return FALSE;
    }
    if (!a.exitHookSet) {
        // Stops the device's thread before anything else of the process goes away.
        std::atexit(CloseAtExit);
        a.exitHookSet = true;
    }
    a.initialised = true;
    return TRUE;
}

HSTREAM BASS_StreamCreateFile(BOOL fromMemory, const void* file, QWORD offset, QWORD length, DWORD flags) {
    Audio& a = State();
    if (!a.initialised || fromMemory || file == nullptr || offset != 0 || length != 0) return 0;
    auto s = std::make_unique<Stream>();
    if (!s->decoder.Open(static_cast<const char*>(file), (flags & BASS_SEEK_EXACT) != 0)) return 0;
    s->rate = s->decoder.Rate();
    if (!a.analyser) a.analyser = std::make_unique<SpectrumAnalyser>();
    if (a.isVirtual) {
        s->ring.assign(kRingFrames, 0.0f);
        s->scratch.assign(2 * kVirtualChunk, 0);
    } else if (a.device == 0 || a.deviceRate != s->rate) {
        // The device runs at the stream's rate; SDL converts for the hardware. Closing the device
        // stops its thread, so the old stream can go without the lock.
        CloseDevice(a);
        a.stream.reset();
        if (!OpenDevice(a, s->rate)) return 0;
    }
    a.lastHandle = a.lastHandle + 1 == 0 ? 1 : a.lastHandle + 1;
    s->handle = a.lastHandle;
    HSTREAM handle = s->handle;
    std::unique_ptr<Stream> old;
    WithDeviceLocked(a, [&] {
        old = std::move(a.stream);
        a.stream = std::move(s);
        return 0;
    });
    return handle;
}

BOOL BASS_StreamPlay(HSTREAM handle, BOOL flush, DWORD) {
    Audio& a = State();
    Stream* s = Find(handle);
    if (s == nullptr) return FALSE;
    if (a.isVirtual) {
        if (flush) s->startFrame = 0;
        if (!s->playing || flush) {
            s->anchorFrame = s->playing ? 0 : s->startFrame;
            s->anchorClock = VirtualNow(a);
            s->playing = true;
        }
        return TRUE;
    }
    WithDeviceLocked(a, [&] {
        if (flush && s->decoder.Seek(0)) s->playFrame = 0;
        s->playing = true;
        return 0;
    });
    SDL_PauseAudioDevice(a.device, 0);
    return TRUE;
}

BOOL BASS_ChannelSetPosition(DWORD handle, QWORD position) {
    Audio& a = State();
    Stream* s = Find(handle);
    if (s == nullptr) return FALSE;
    QWORD frame = position / 4;  // 16-bit stereo frames
    std::int64_t length = s->decoder.Length();
    if (frame > static_cast<QWORD>(std::numeric_limits<std::int64_t>::max())) return FALSE;
    std::int64_t target = static_cast<std::int64_t>(frame);
    if (length >= 0 && target > length) return FALSE;
    if (a.isVirtual) {
        if (s->playing) {
            s->anchorFrame = target;
            s->anchorClock = VirtualNow(a);
        } else {
            s->startFrame = target;
        }
        return TRUE;
    }
    return WithDeviceLocked(a, [&] {
        if (!s->decoder.Seek(target)) return FALSE;
        s->playFrame = target;
        return TRUE;
    });
}

DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length) {
    Audio& a = State();
    if (buffer == nullptr || length != BASS_DATA_FFT512) return kFailed;
    Stream* s = Find(handle);
    if (s == nullptr || !a.analyser) return kFailed;
    float room[kFftSize + 2];
    const float* samples = room;

    if (a.isVirtual) {
        if (s->playing) {
            std::int64_t end = VirtualCursor(a, *s);
            FillVirtualWindow(*s, end, room);
            s->lastSpectrumEnd = end;
        } else {
            std::fill(room, room + kFftSize, 0.0f);
        }
    } else {
        bool copied = false;
        for (int attempt = 0; attempt < 4 && !copied; ++attempt) {
            Published p;
            if (!ReadPublished(a, &p)) break;
            std::int64_t end = LiveCursor(a, p, NowNanoseconds());
            std::int64_t first = end - kFftSize;
            samples = a.history.Read(first, room);
            std::atomic_thread_fence(std::memory_order_acquire);
            // The frames read are intact unless the device has since come round the ring to them
            // (with one hand-over in flight).
            std::int64_t nowWritten = a.written.load(std::memory_order_relaxed);
            if (nowWritten + p.blockFrames - first < kRingFrames) {
                copied = true;
                s->lastSpectrumEnd = FileEndOf(p, s->handle, first, end);
            }
        }
        if (!copied) return kFailed;
    }
    a.analyser->Run(samples, static_cast<float*>(buffer));
    return kSpectrumBytes;
}

// ---- seam --------------------------------------------------------------------------------------

namespace bassseam {

void SetVirtualPlayback(std::function<double()> clockSeconds, double leadSeconds) {
    State().virtualClock = std::move(clockSeconds);
    State().virtualLead = leadSeconds;
}

std::int64_t CursorFrames(DWORD stream) {
    Audio& a = State();
    Stream* s = Find(stream);
    if (s == nullptr || !s->playing) return -1;
    if (a.isVirtual) return VirtualCursor(a, *s);
    Published p;
    if (!ReadPublished(a, &p)) return -1;
    std::int64_t cursor = LiveCursor(a, p, NowNanoseconds());
    if (cursor == 0) return -1;
    std::int64_t offset = 0;
    std::int64_t file = FileFrameOf(p, s->handle, cursor - 1, &offset);
    return file < 0 ? -1 : file + 1;
}

std::int64_t LastSpectrumEnd(DWORD stream) {
    Stream* s = Find(stream);
    return s == nullptr ? -1 : s->lastSpectrumEnd;
}

int StreamRate(DWORD stream) {
    Stream* s = Find(stream);
    return s == nullptr ? 0 : s->rate;
}

std::int64_t StreamLength(DWORD stream) {
    Stream* s = Find(stream);
    return s == nullptr ? -1 : s->decoder.Length();
}

int DeviceBufferFrames() { return State().deviceBufferFrames; }

int DeviceQueuedFrames() { return State().deviceQueuedFrames; }

bool DecodeFile(const char* path, const PcmSink& sink) {
    Mp3Decoder decoder;
    if (!decoder.Open(path, false)) return false;
    std::vector<std::int16_t> block(2 * 4096);
    while (!decoder.Ended()) {
        std::size_t got = decoder.Read(block.data(), 4096);
        if (got > 0) sink(block.data(), got, decoder.Rate());
    }
    return !decoder.Failed();
}

void SpectrumOfFrames(const std::int16_t* interleavedStereo, float* bins) {
    static std::mutex* lock = new std::mutex;
    static SpectrumAnalyser* analyser = nullptr;
    std::lock_guard<std::mutex> hold(*lock);
    if (analyser == nullptr) analyser = new SpectrumAnalyser;
    analyser->RunFrames(interleavedStereo, bins);
}

}  // namespace bassseam
