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

#endif
