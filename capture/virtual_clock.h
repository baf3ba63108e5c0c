#ifndef GLIMMERSET_CAPTURE_VIRTUAL_CLOCK_H
#define GLIMMERSET_CAPTURE_VIRTUAL_CLOCK_H

#include <cstdint>

// The performance counter of a capture: frame n is read at start + n / fps seconds, however long
// frames take to render. The counter runs at 2^20 Hz so that the show's float period is exact, and
// begins at 0 like a freshly started machine. Every read within a frame adds one tick (about 0.95 us),
// so the frame's two reads (demo time, then the delta) still differ as on real hardware.
class VirtualClock {
public:
    static constexpr std::int64_t kFrequency = 1 << 20;

    VirtualClock(double fps, double startSeconds, int frames);

    // The counter's next reading. The very first reading (the show's timer starting) is 0, so demo
    // time counts from the capture's start time.
    std::int64_t Read();
    // Called when frame `frame()` has been presented.
    void FrameDone();

    int frame() const { return frame_; }
    int frames() const { return frames_; }
    bool finished() const { return frame_ >= frames_; }
    // The demo time frame n shows.
    double FrameTime(int n) const;

private:
    double fps_;
    double start_;
    int frames_;
    int frame_ = 0;
    std::int64_t readsThisFrame_ = 0;
    bool started_ = false;
};

#endif
