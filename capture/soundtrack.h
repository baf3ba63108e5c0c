#ifndef GLIMMERSET_CAPTURE_SOUNDTRACK_H
#define GLIMMERSET_CAPTURE_SOUNDTRACK_H

#include <functional>

// Makes the audio library play the soundtrack without a device, its play cursor at the demo time the
// clock reports: the spectrum of each captured frame is the music's at that frame's time, also when
// the capture starts part-way through the show (at captureStart seconds of demo time).
void FollowSoundtrack(std::function<double()> demoTime, double captureStart);

#endif
