// Hooks into the audio layer for tests and for programs that host the show (capture). The show
// itself never includes this header: it only sees bass.h. All of it is process-wide and is meant to
// be called from the thread that calls the BASS_ functions.
#ifndef GLIMMERSET_PLATFORM_AUDIO_BASS_SEAM_H
#define GLIMMERSET_PLATFORM_AUDIO_BASS_SEAM_H

#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/audio/bass.h"

namespace bassseam {

// Virtual playback, for a program that renders the show frame by frame instead of in real time.
// Set it before BASS_Init: BASS_Init then opens no device and succeeds, nothing sounds, and a
// playing stream's cursor is the clock's value minus its value at BASS_StreamPlay (or at the latest
// BASS_ChannelSetPosition), plus the position set. BASS_ChannelGetData decodes (forward, or seeking
// when the cursor jumps) up to the cursor and analyses the 512 frames that end there, with the same
// code as live playback. An empty function returns later BASS_Init calls to the real device.
// leadSeconds puts the cursor that much further into the file than the show asked for, as if the
// show had started that long before the clock: a capture that begins part-way through the show
// hears the music of its own moment.
void SetVirtualPlayback(std::function<double()> clockSeconds, double leadSeconds = 0.0);

// The frame of the file being heard now, at the stream's own rate (its first frame is 0). Live, it
// is estimated from the device's progress and latency; virtually, it comes from the clock and may
// lie past the end. -1 for an unknown handle, a stream that is not playing, or while the device
// still plays what came before the stream.
std::int64_t CursorFrames(DWORD stream);

// The file frame just past the 512 frames that the latest successful BASS_ChannelGetData of this
// stream analysed (virtually: the cursor). -1 when there was none, or, live, when those frames were
// not one unbroken stretch of the file as played (a seek fell inside them, or they began before the
// stream's first frame reached the device).
std::int64_t LastSpectrumEnd(DWORD stream);

// The stream's sample rate and length in frames (exact with BASS_SEEK_EXACT); 0 and -1 for an
// unknown handle.
int StreamRate(DWORD stream);
std::int64_t StreamLength(DWORD stream);

// Frames per buffer of the open output device and frames it holds ahead of the one being filled
// (the latency the cursor allows for); 0 without a device.
int DeviceBufferFrames();
int DeviceQueuedFrames();

// Decodes a whole MP3 file from its start, in order, handing interleaved 16-bit stereo to sink a
// piece at a time: exactly the samples a stream of the file plays. Independent of BASS_Init and of
// any stream. False when the file cannot be opened as MP3 or decoding stopped on damaged data (what
// came before the damage has been handed over).
using PcmSink = std::function<void(const std::int16_t* interleavedStereo, std::size_t frames, int rate)>;
bool DecodeFile(const char* path, const PcmSink& sink);

// The spectrum of 512 interleaved 16-bit stereo frames, computed as BASS_ChannelGetData computes it
// for the frames it analyses: writes bins[0..255].
void SpectrumOfFrames(const std::int16_t* interleavedStereo, float* bins);

}  // namespace bassseam

#endif
