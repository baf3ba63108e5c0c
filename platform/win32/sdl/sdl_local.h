// State shared by the SDL implementation of the windowing platform. Only files in this folder
// include SDL.
#ifndef GLIMMERSET_PLATFORM_WIN32_SDL_LOCAL_H
#define GLIMMERSET_PLATFORM_WIN32_SDL_LOCAL_H

#include <SDL.h>

#include <deque>
#include <map>
#include <memory>
#include <string>

#include "platform/win32/win32.h"
#include "platform/win32/win32_seam.h"

namespace sdlwin {

// GL attributes a window's SDL window was made with; on X11 they are fixed at creation.
struct SurfaceFormat {
    int red = 8, green = 8, blue = 8, alpha = 8;
    int depth = 16, stencil = 8;
    int doubleBuffer = 1;
    bool operator==(const SurfaceFormat& o) const {
        return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha &&
               depth == o.depth && stencil == o.stencil && doubleBuffer == o.doubleBuffer;
    }
};

struct Window {
    HWND handle = nullptr;
    HDC dc = nullptr;
    SDL_Window* sdl = nullptr;
    WNDPROC proc = nullptr;
    std::string className;
    std::string title;  // UTF-8
    DWORD style = 0;
    int x = 0, y = 0;
    int clientWidth = 0, clientHeight = 0;
    bool fullscreen = false;  // covers the screen in the selected mode
    bool visible = false;
    int pixelFormat = 0;
    SurfaceFormat format;
    // Offscreen picture of exactly the client size, used where the screen shows another size.
    unsigned int framebuffer = 0, colourBuffer = 0, depthStencilBuffer = 0;
};

struct Context {
    HGLRC handle = nullptr;
    SDL_GLContext sdl = nullptr;
};

// The fullscreen mode selected by ChangeDisplaySettingsA, applied to popup windows made after it.
struct SelectedMode {
    bool active = false;
    bool exact = false;  // the display has this very mode
    int width = 0, height = 0;
    SDL_DisplayMode mode{};
};

struct Platform {
    bool videoReady = false;
    std::map<std::string, WNDCLASSEXA> classes;  // key: lower-case name
    std::map<std::string, std::string> classNames;
    std::map<std::uintptr_t, std::unique_ptr<Window>> windows;
    std::map<std::uintptr_t, std::unique_ptr<Context>> contexts;
    std::map<std::uintptr_t, std::uintptr_t> dcToWindow;
    std::uintptr_t nextHandle = 0x1000;
    ATOM nextAtom = 0xC000;
    std::deque<MSG> queue;
    SelectedMode selectedMode;
    int cursorCount = 0;
    HWND focus = nullptr;
    bool keyDown[256] = {};
    bool keyPressedSinceQuery[256] = {};
    Context* current = nullptr;
    Window* currentWindow = nullptr;
    win32seam::MessageBoxHook messageBoxHook;
    win32seam::SwapHook swapHook;
};

Platform& State();
bool EnsureVideo();

std::uintptr_t NewHandleValue();
Window* FindWindow(HWND handle);
Window* FindWindowOfDc(HDC dc);
Window* FindWindowOfSdl(Uint32 sdlWindowId);
Context* FindContext(HGLRC handle);

LRESULT Send(Window* window, UINT message, WPARAM wParam, LPARAM lParam);
void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Makes the SDL window for a Window with its current surface format; used at creation and again
// when a pixel format asks for attributes the first one lacks.
bool CreateSdlWindow(Window* window);

// Releases the offscreen picture of a window whose context is current.
void ReleaseOffscreen(Window* window);

}  // namespace sdlwin

#endif
