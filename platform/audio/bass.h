// The audio library's stream interface as the music module calls it: open an output device, create
// a stream from an MP3 file, play it, move it, and read a 512-sample spectrum of what is being heard.
// Implemented on SDL2 (output), libmpg123 (decoding) and FFTW (spectrum) in bass_sdl.cpp.
//
// Emulated:
//  [X] BASS_Init: device 1 is the system's default output (device -1 means the same); other numbers
//      fail. It fails (FALSE) when no output can be opened; every later call then fails cleanly:
//      stream creation returns 0, play and set-position FALSE, get-data 0xFFFFFFFF writing nothing,
//      and the program goes on silent. A second call after a success returns TRUE and changes
//      nothing. frequency is the device's first rate (the device follows the stream's own rate);
//      flags, window and GUID are accepted and unused.
//  [X] BASS_StreamCreateFile from a file (fromMemory FALSE, offset 0, length 0 = the whole file):
//      MP3 (MPEG audio), decoded while it plays, so memory stays the same whatever the file's
//      length. Gapless: the stream holds exactly the encoded samples, as 16-bit stereo at the file's
//      own rate (mono is doubled). BASS_SEEK_EXACT scans the file first so lengths and positions
//      are sample-exact. Anything else (a missing, empty or non-MP3 file, memory, a part of a file)
//      returns 0. One stream at a time: creating another releases the previous one, whose handle
//      then fails.
//  [X] BASS_StreamPlay: the stream sounds on its own from then on, until its end; after that, or
//      after damaged data part-way, it is silent. flush nonzero restarts it from its start.
//  [X] BASS_ChannelSetPosition: byte positions count 16-bit stereo frames at the stream's rate
//      (176400 bytes per second at 44100 Hz; a remainder below 4 bytes is dropped). Before play it
//      sets where play starts. A position past the stream's end returns FALSE and changes nothing.
//  [X] BASS_ChannelGetData(BASS_DATA_FFT512): 256 magnitudes of the 512 samples that end at the one
//      being heard (the device's buffered latency allowed for), channels mixed to mono, Hann window.
//      Bin k lies at k x rate / 512 Hz; element k = |FFT bin k| / 256, so a full-scale sine at a
//      bin's centre reads 0.5 there and silence reads 0. Writes buffer[0..255] only and returns the
//      number of bytes written (1024); 0xFFFFFFFF (-1) with nothing written for an unknown handle, a
//      null buffer or any other length word. Before the stream plays, and past its end, it reads 0.
// Not emulated, as nothing here needs them:
//  [ ] Streams from memory or URLs, formats other than MPEG audio, more than one stream at a time,
//      sample data other than the FFT, pause/stop, volume, recording, effects, error codes.
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
