// Hooks into the windowing platform for tests and for programs that host the show (capture). The
// show itself never includes this header: it only sees win32.h. Every hook is process-wide and is
// cleared by passing an empty function.
#ifndef GLIMMERSET_PLATFORM_WIN32_SEAM_H
#define GLIMMERSET_PLATFORM_WIN32_SEAM_H

#include <cstdint>
#include <functional>

#include "platform/win32/win32.h"

struct SDL_Window;

namespace win32seam {

// Replaces the performance counter: QueryPerformanceCounter returns counter() and
// QueryPerformanceFrequency returns frequency. An empty function restores the real clock.
void SetCounter(std::function<std::int64_t()> counter, std::int64_t frequency);

// Receives every MessageBoxA instead of the user; its result is MessageBoxA's result.
using MessageBoxHook = std::function<int(HWND owner, const char* text, const char* caption, UINT type)>;
void SetMessageBoxHook(MessageBoxHook hook);

// Called by SwapBuffers with the finished frame still readable (glReadPixels reads exactly the
// requested client area), before it is presented.
using SwapHook = std::function<void(HDC dc)>;
void SetSwapHook(SwapHook hook);

// Renders without any display: windows become offscreen surfaces (Mesa through EGL). Call before
// the first window is made.
void UseOffscreenDisplay();

// The SDL window behind a window handle, or null; for tests that look at the real window.
SDL_Window* NativeWindow(HWND window);

// Size of the picture the show draws into (the client area it asked for) and of the surface it is
// finally shown on; they differ where the display lacked the mode and the picture is scaled.
void DrawableSizes(HWND window, int* pictureWidth, int* pictureHeight, int* screenWidth, int* screenHeight);

}  // namespace win32seam

#endif
