// The window's two music members: they only forward to the music module.
#include "music/music.h"
#include "shell/glwindow.h"

void GLWindow::StartMusic(const char* fileName, float startSeconds) {
    MusicInit(hWnd);
    MusicLoad(fileName);
    MusicPlay(static_cast<double>(startSeconds));
}

DWORD GLWindow::GetSpectrum(SpectrumBuffer buffer) { return MusicGetSpectrum(buffer); }
