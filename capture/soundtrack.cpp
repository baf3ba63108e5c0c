#include "capture/soundtrack.h"

#include "platform/audio/bass_seam.h"

void FollowSoundtrack(std::function<double()> demoTime, double captureStart) {
    // The show starts its music at demo time 0 of the capture's clock, which reads captureStart
    // then: the music leads by that much, so frame and sound share one moment.
    bassseam::SetVirtualPlayback(std::move(demoTime), captureStart);
}
