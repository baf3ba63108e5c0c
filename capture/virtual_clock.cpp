#include "capture/virtual_clock.h"

#include <cmath>

namespace {

// Past the show's end: once the wanted frames are captured, the next frame reads a time after 71 s
// and the show ends by itself after drawing it.
constexpr double kAfterTheShow = 72.0;

}  // namespace

VirtualClock::VirtualClock(double fps, double startSeconds, int frames)
    : fps_(fps), start_(startSeconds), frames_(frames) {}

double VirtualClock::FrameTime(int n) const { return start_ + n / fps_; }

std::int64_t VirtualClock::Read() {
    if (!started_) {
        started_ = true;
        return 0;
    }
    double seconds = finished() ? kAfterTheShow + frame_ / fps_ : FrameTime(frame_);
    return std::llround(seconds * kFrequency) + readsThisFrame_++;
}

void VirtualClock::FrameDone() {
    ++frame_;
    readsThisFrame_ = 0;
}
