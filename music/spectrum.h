#ifndef GLIMMERSET_MUSIC_SPECTRUM_H
#define GLIMMERSET_MUSIC_SPECTRUM_H

// 512 magnitudes; a query writes elements 0..255 only. Bin k lies at k x rate / 512 Hz.
typedef float SpectrumBuffer[512];

#endif
