// The soundtrack: one stream per process, played through the audio library, and its spectrum.
#ifndef GLIMMERSET_MUSIC_MUSIC_H
#define GLIMMERSET_MUSIC_MUSIC_H

#include "music/spectrum.h"
#include "platform/audio/bass.h"

// Owner of the music's message boxes; null until MusicInit.
extern HWND musicWindow;
// The playing stream; 0 before and after a failed load.
extern HSTREAM musicStream;

void MusicInit(HWND window);
void MusicLoad(const char* fileName);
void MusicPlay(double seconds);
DWORD MusicGetSpectrum(float* buffer);

// The byte position MusicPlay moves to: seconds x 176400 (bytes of 44100 Hz 16-bit stereo),
// truncated toward zero, of which the low 32 bits, widened with a zero high half. Defined for every
// input: a negative count wraps as two's complement would (a position past any end, which the
// library refuses); NaN and infinities give 0.
QWORD MusicBytePosition(double seconds);

#endif
