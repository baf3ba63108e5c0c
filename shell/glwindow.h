#ifndef GLIMMERSET_SHELL_GLWINDOW_H
#define GLIMMERSET_SHELL_GLWINDOW_H

#include "music/spectrum.h"
#include "platform/win32/win32.h"

// The show's one window with its device and OpenGL rendering context. The constructor reports each
// failure in a message box and stops there; the object then holds the handles reached so far and
// null for the rest, and every member still works on it.
class GLWindow {
public:
    // name is both the class name and the title, in the Windows ANSI code page; it is not copied
    // and must outlive the object.
    GLWindow(int width, int height, int colourBits, bool fullscreen, const char* name);
    ~GLWindow();
    GLWindow(const GLWindow&) = delete;
    GLWindow& operator=(const GLWindow&) = delete;

    // Takes at most one pending message. Returns false on the quit message (nothing presented);
    // otherwise presents the frame, then dispatches the message.
    bool Update();

    // The music members live with the music module.
    void StartMusic(const char* fileName, float startSeconds);
    DWORD GetSpectrum(SpectrumBuffer buffer);

    HWND hWnd;
    HDC hDC;
    HGLRC hRC;
    WNDCLASSEXA windowClass;
    const char* className;
};

// Filled by the first construction that reaches its device context; later ones reuse it unchanged.
extern PIXELFORMATDESCRIPTOR pixelFormatDescriptor;

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
