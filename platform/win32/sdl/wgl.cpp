// GDI and WGL on SDL2: device contexts, pixel formats, OpenGL contexts and the buffer swap.
//
// The show always draws into a picture of exactly the size it asked for. Where the screen shows that
// size one to one, the picture is the window's own back buffer. Where it does not (the display lacks
// the mode, or the desktop has one fixed size), the picture is an offscreen framebuffer of that size,
// bound as the default target, and each swap scales it onto the screen with its aspect kept.
#define GL_GLEXT_PROTOTYPES 0
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

#include "platform/win32/sdl/sdl_local.h"

namespace sdlwin {
namespace {

struct FramebufferCalls {
    bool loaded = false;
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;
};

FramebufferCalls& Calls() {
    static FramebufferCalls calls;
    if (!calls.loaded) {
        calls.loaded = true;
        calls.genFramebuffers = reinterpret_cast<PFNGLGENFRAMEBUFFERSPROC>(SDL_GL_GetProcAddress("glGenFramebuffers"));
        calls.deleteFramebuffers = reinterpret_cast<PFNGLDELETEFRAMEBUFFERSPROC>(SDL_GL_GetProcAddress("glDeleteFramebuffers"));
        calls.bindFramebuffer = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(SDL_GL_GetProcAddress("glBindFramebuffer"));
        calls.genRenderbuffers = reinterpret_cast<PFNGLGENRENDERBUFFERSPROC>(SDL_GL_GetProcAddress("glGenRenderbuffers"));
        calls.deleteRenderbuffers = reinterpret_cast<PFNGLDELETERENDERBUFFERSPROC>(SDL_GL_GetProcAddress("glDeleteRenderbuffers"));
        calls.bindRenderbuffer = reinterpret_cast<PFNGLBINDRENDERBUFFERPROC>(SDL_GL_GetProcAddress("glBindRenderbuffer"));
        calls.renderbufferStorage = reinterpret_cast<PFNGLRENDERBUFFERSTORAGEPROC>(SDL_GL_GetProcAddress("glRenderbufferStorage"));
        calls.framebufferRenderbuffer = reinterpret_cast<PFNGLFRAMEBUFFERRENDERBUFFERPROC>(SDL_GL_GetProcAddress("glFramebufferRenderbuffer"));
        calls.checkFramebufferStatus = reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSPROC>(SDL_GL_GetProcAddress("glCheckFramebufferStatus"));
        calls.blitFramebuffer = reinterpret_cast<PFNGLBLITFRAMEBUFFERPROC>(SDL_GL_GetProcAddress("glBlitFramebuffer"));
    }
    return calls;
}

bool HaveFramebufferCalls() {
    FramebufferCalls& c = Calls();
    return c.genFramebuffers && c.deleteFramebuffers && c.bindFramebuffer && c.genRenderbuffers &&
           c.deleteRenderbuffers && c.bindRenderbuffer && c.renderbufferStorage &&
           c.framebufferRenderbuffer && c.checkFramebufferStatus && c.blitFramebuffer;
}

void ScreenSize(Window* w, int* width, int* height) {
    *width = w->clientWidth;
    *height = w->clientHeight;
    if (w->sdl) SDL_GL_GetDrawableSize(w->sdl, width, height);
}

// Gives the window an offscreen picture of its client size when the screen shows another size.
// Needs the window's context to be current.
void EnsurePictureTarget(Window* w) {
    if (w->framebuffer != 0) return;
    int screenWidth, screenHeight;
    ScreenSize(w, &screenWidth, &screenHeight);
    if (screenWidth == w->clientWidth && screenHeight == w->clientHeight) return;
    if (!HaveFramebufferCalls()) return;
    FramebufferCalls& c = Calls();
    GLuint framebuffer = 0, buffers[2] = {0, 0};
    c.genFramebuffers(1, &framebuffer);
    c.genRenderbuffers(2, buffers);
    c.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    c.bindRenderbuffer(GL_RENDERBUFFER, buffers[0]);
    c.renderbufferStorage(GL_RENDERBUFFER, w->format.alpha > 0 ? GL_RGBA8 : GL_RGB8, w->clientWidth, w->clientHeight);
    c.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffers[0]);
    c.bindRenderbuffer(GL_RENDERBUFFER, buffers[1]);
    c.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, w->clientWidth, w->clientHeight);
    c.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, buffers[1]);
    c.bindRenderbuffer(GL_RENDERBUFFER, 0);
    if (c.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        c.bindFramebuffer(GL_FRAMEBUFFER, 0);
        c.deleteRenderbuffers(2, buffers);
        c.deleteFramebuffers(1, &framebuffer);
        return;
    }
    w->framebuffer = framebuffer;
    w->colourBuffer = buffers[0];
    w->depthStencilBuffer = buffers[1];
    // The picture starts black, and the program's own clear colour is left as it was.
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
}

// Scales the offscreen picture onto the screen, centred, aspect kept, the rest black.
void PresentPicture(Window* w) {
    FramebufferCalls& c = Calls();
    int screenWidth, screenHeight;
    ScreenSize(w, &screenWidth, &screenHeight);
    double scale = std::min(static_cast<double>(screenWidth) / w->clientWidth,
                            static_cast<double>(screenHeight) / w->clientHeight);
    int width = static_cast<int>(w->clientWidth * scale + 0.5);
    int height = static_cast<int>(w->clientHeight * scale + 0.5);
    int left = (screenWidth - width) / 2, bottom = (screenHeight - height) / 2;

    GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glDisable(GL_SCISSOR_TEST);
    c.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    c.bindFramebuffer(GL_READ_FRAMEBUFFER, w->framebuffer);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    c.blitFramebuffer(0, 0, w->clientWidth, w->clientHeight, left, bottom, left + width, bottom + height,
                      GL_COLOR_BUFFER_BIT, width == w->clientWidth ? GL_NEAREST : GL_LINEAR);
    SDL_GL_SwapWindow(w->sdl);
    c.bindFramebuffer(GL_FRAMEBUFFER, w->framebuffer);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
    if (scissor) glEnable(GL_SCISSOR_TEST);
}

SurfaceFormat FormatOf(const PIXELFORMATDESCRIPTOR& pfd) {
    SurfaceFormat f;
    if (pfd.cColorBits <= 16) {
        f.red = 5, f.green = 6, f.blue = 5;
    } else {
        f.red = f.green = f.blue = 8;
    }
    // 32 colour bits hold an 8-bit alpha beside the three 8-bit colours.
    f.alpha = pfd.cAlphaBits ? pfd.cAlphaBits : (pfd.cColorBits >= 32 ? 8 : 0);
    f.depth = pfd.cDepthBits;
    f.stencil = pfd.cStencilBits;
    f.doubleBuffer = (pfd.dwFlags & PFD_DOUBLEBUFFER) ? 1 : 0;
    return f;
}

}  // namespace

void ReleaseOffscreen(Window* w) {
    if (w->framebuffer == 0) return;
    FramebufferCalls& c = Calls();
    GLuint buffers[2] = {w->colourBuffer, w->depthStencilBuffer};
    c.bindFramebuffer(GL_FRAMEBUFFER, 0);
    c.deleteRenderbuffers(2, buffers);
    c.deleteFramebuffers(1, &w->framebuffer);
    w->framebuffer = w->colourBuffer = w->depthStencilBuffer = 0;
}

}  // namespace sdlwin

using namespace sdlwin;

HDC WINAPI GetDC(HWND handle) {
    Window* w = FindWindow(handle);
    return w ? w->dc : nullptr;
}

int WINAPI ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor) {
    if (FindWindowOfDc(dc) == nullptr || descriptor == nullptr) return 0;
    if (!(descriptor->dwFlags & PFD_SUPPORT_OPENGL) || descriptor->iPixelType != PFD_TYPE_RGBA) return 0;
    // One format per descriptor: SetPixelFormat takes its attributes from the descriptor it is given.
    return 1;
}

BOOL WINAPI SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor) {
    Window* w = FindWindowOfDc(dc);
    if (w == nullptr || format != 1 || descriptor == nullptr) return FALSE;
    if (w->pixelFormat != 0) return w->pixelFormat == format ? TRUE : FALSE;  // set once per window
    SurfaceFormat wanted = FormatOf(*descriptor);
    if (!(wanted == w->format)) {
        // X11 fixes the visual when the window is made, so a window made with other attributes is
        // made again with these; later attributes alone would silently give no stencil or alpha.
        SurfaceFormat previous = w->format;
        SDL_Window* old = w->sdl;
        w->format = wanted;
        if (!CreateSdlWindow(w)) {
            w->format = previous;
            w->sdl = old;
            return FALSE;
        }
        SDL_DestroyWindow(old);
    }
    w->pixelFormat = format;
    return TRUE;
}

HGLRC WINAPI wglCreateContext(HDC dc) {
    Window* w = FindWindowOfDc(dc);
    if (w == nullptr || w->pixelFormat == 0) return nullptr;
    Platform& p = State();
    SDL_GLContext sdl = SDL_GL_CreateContext(w->sdl);
    if (sdl == nullptr) return nullptr;
    // Creating does not make it current: put back whatever was current before.
    if (p.current && p.currentWindow) {
        SDL_GL_MakeCurrent(p.currentWindow->sdl, p.current->sdl);
    } else {
        SDL_GL_MakeCurrent(w->sdl, nullptr);
    }
    auto context = std::make_unique<Context>();
    context->handle = reinterpret_cast<HGLRC>(NewHandleValue());
    context->sdl = sdl;
    HGLRC handle = context->handle;
    p.contexts[reinterpret_cast<std::uintptr_t>(handle)] = std::move(context);
    return handle;
}

BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC handle) {
    Platform& p = State();
    if (handle == nullptr) {
        // Releasing needs no valid device context.
        if (p.current) SDL_GL_MakeCurrent(p.currentWindow ? p.currentWindow->sdl : nullptr, nullptr);
        p.current = nullptr;
        p.currentWindow = nullptr;
        return TRUE;
    }
    Window* w = FindWindowOfDc(dc);
    Context* context = FindContext(handle);
    if (w == nullptr || context == nullptr || w->pixelFormat == 0) return FALSE;
    if (SDL_GL_MakeCurrent(w->sdl, context->sdl) != 0) return FALSE;
    p.current = context;
    p.currentWindow = w;
    EnsurePictureTarget(w);
    if (w->framebuffer) Calls().bindFramebuffer(GL_FRAMEBUFFER, w->framebuffer);
    return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC handle) {
    Platform& p = State();
    Context* context = FindContext(handle);
    if (context == nullptr) return FALSE;
    if (p.current == context) {
        if (p.currentWindow) ReleaseOffscreen(p.currentWindow);
        SDL_GL_MakeCurrent(p.currentWindow ? p.currentWindow->sdl : nullptr, nullptr);
        p.current = nullptr;
        p.currentWindow = nullptr;
    }
    SDL_GL_DeleteContext(context->sdl);
    p.contexts.erase(reinterpret_cast<std::uintptr_t>(handle));
    return TRUE;
}

BOOL WINAPI SwapBuffers(HDC dc) {
    Platform& p = State();
    Window* w = FindWindowOfDc(dc);
    if (w == nullptr) return FALSE;
    bool current = p.currentWindow == w && p.current != nullptr;
    if (current && p.swapHook) p.swapHook(dc);
    if (current && w->framebuffer) {
        PresentPicture(w);
    } else {
        SDL_GL_SwapWindow(w->sdl);
        // The screen may only now show its real size (a fullscreen switch that settled elsewhere):
        // from the next frame on, the picture keeps the size asked for.
        if (current) {
            EnsurePictureTarget(w);
            if (w->framebuffer) Calls().bindFramebuffer(GL_FRAMEBUFFER, w->framebuffer);
        }
    }
    return TRUE;
}

namespace win32seam {

void DrawableSizes(HWND window, int* pictureWidth, int* pictureHeight, int* screenWidth, int* screenHeight) {
    Window* w = FindWindow(window);
    int pw = 0, ph = 0, sw = 0, sh = 0;
    if (w) {
        pw = w->clientWidth;
        ph = w->clientHeight;
        ScreenSize(w, &sw, &sh);
    }
    if (pictureWidth) *pictureWidth = pw;
    if (pictureHeight) *pictureHeight = ph;
    if (screenWidth) *screenWidth = sw;
    if (screenHeight) *screenHeight = sh;
}

}  // namespace win32seam
