// The soundtrack: one stream per process through the audio library, and its spectrum.
#include "music/music.h"

#include <cmath>

HWND musicWindow = nullptr;
HSTREAM musicStream = 0;

QWORD MusicBytePosition(double seconds) {
    // 176400 bytes make one second of 44100 Hz 16-bit stereo.
    double bytes = std::trunc(seconds * 176400.0);
    // Converting a double outside the target's range to an integer is undefined, so the low 32 bits
    // are taken arithmetically: fmod is exact, and so is the sum below for |remainder| < 2^32. A
    // negative count wraps as two's complement would; NaN and infinities give 0.
    if (!std::isfinite(bytes)) return 0;
    const double wrap = 4294967296.0;
    double low = std::fmod(bytes, wrap);
    if (low < 0) low += wrap;
    return static_cast<QWORD>(static_cast<std::uint32_t>(low));
}

void MusicInit(HWND window) {
    musicWindow = window;
    if (!BASS_Init(1, 44100, 0, window, nullptr)) {
        MessageBoxA(window, "BASS error", "BASS", MB_OK);
    }
}

void MusicLoad(const char* fileName) {
    musicStream = BASS_StreamCreateFile(FALSE, fileName, 0, 0, BASS_SEEK_EXACT);
    if (musicStream == 0) {
        MessageBoxA(musicWindow, "BASS error, file not found?", "BASS", MB_OK);
    }
}

void MusicPlay(double seconds) {
    if (!BASS_StreamPlay(musicStream, FALSE, 0)) {
        MessageBoxA(musicWindow, "BASS error, can not play stream?", "BASS", MB_OK);
    }
    // Started first, moved after: from 0 nothing jumps. A position past the end is refused and the
    // stream plays on from where it is.
    BASS_ChannelSetPosition(musicStream, MusicBytePosition(seconds));
}

DWORD MusicGetSpectrum(float* buffer) { return BASS_ChannelGetData(musicStream, buffer, BASS_DATA_FFT512); }
