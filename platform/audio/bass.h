// The audio library's stream interface as the music module calls it: open an output device, create
// a stream from an MP3 file, play it, move it, and read a 512-sample spectrum of what is being heard.
//
// Implemented behaviours:
//  [X] BASS_Init: device 1 is the system's default output (device -1 means the same); fails (FALSE)
//      when no output can be opened, after which every other call fails cleanly.
//  [X] BASS_StreamCreateFile from a file (not memory): MP3, decoded as it plays, so memory stays the
//      same whatever the file's length. BASS_SEEK_EXACT scans the file so positions are exact.
//  [X] BASS_StreamPlay: the stream sounds on its own from then on, until it ends.
//  [X] BASS_ChannelSetPosition: byte positions count 16-bit stereo frames at the stream's rate.
//  [X] BASS_ChannelGetData(BASS_DATA_FFT512): 256 magnitudes of the 512 samples being heard.
// Missing, as nothing here needs them:
//  [ ] Streams from memory, other formats, more than one stream at a time, recording, effects.
#ifndef GLIMMERSET_PLATFORM_AUDIO_BASS_H
#define GLIMMERSET_PLATFORM_AUDIO_BASS_H

#include <cstdint>

#include "platform/win32/win32.h"

typedef std::uint64_t QWORD;
typedef DWORD HSTREAM;

// Stream creation: scan the MP3 file so that seeking is sample-exact.
#define BASS_SEEK_EXACT 0x20000
// Channel data: 256 magnitudes of a 512-sample FFT.
#define BASS_DATA_FFT512 0x80000000

BOOL BASS_Init(int device, DWORD frequency, DWORD flags, HWND window, const void* deviceGuid);
HSTREAM BASS_StreamCreateFile(BOOL fromMemory, const void* file, QWORD offset, QWORD length, DWORD flags);
BOOL BASS_StreamPlay(HSTREAM stream, BOOL flush, DWORD flags);
BOOL BASS_ChannelSetPosition(DWORD channel, QWORD position);
DWORD BASS_ChannelGetData(DWORD channel, void* buffer, DWORD length);

#endif
