// USER on SDL2: window classes, windows, display modes, the cursor, the message queue, the keyboard
// and message boxes.
#include <signal.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win32/common/codepage.h"
#include "platform/win32/sdl/sdl_local.h"

namespace sdlwin {

Platform& State() {
    // Never destroyed: SDL_Quit runs from atexit and must not find this gone.
    static Platform* state = new Platform;
    return *state;
}

namespace {

std::string Lower(const char* text) {
    std::string s = text ? text : "";
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Virtual-key codes for SDL keys, both names on each line.
int VirtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);  // VK_A..VK_Z
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);  // VK_0..VK_9
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);  // VK_F1..VK_F12
    switch (key) {
        case SDLK_ESCAPE: return VK_ESCAPE;        // VK_ESCAPE
        case SDLK_RETURN: return VK_RETURN;        // VK_RETURN
        case SDLK_KP_ENTER: return VK_RETURN;      // VK_RETURN
        case SDLK_SPACE: return VK_SPACE;          // VK_SPACE
        case SDLK_BACKSPACE: return VK_BACK;       // VK_BACK
        case SDLK_TAB: return VK_TAB;              // VK_TAB
        case SDLK_LEFT: return VK_LEFT;            // VK_LEFT
        case SDLK_UP: return VK_UP;                // VK_UP
        case SDLK_RIGHT: return VK_RIGHT;          // VK_RIGHT
        case SDLK_DOWN: return VK_DOWN;            // VK_DOWN
        case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;    // VK_SHIFT
        case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;    // VK_CONTROL
        case SDLK_LALT: case SDLK_RALT: return VK_MENU;         // VK_MENU
        default: return 0;
    }
}

// Key presses are recorded as SDL queues them, so GetAsyncKeyState sees a tap that began and ended
// between two of its queries, and sees it before any PeekMessageA has looked at the queue.
int SDLCALL WatchKeys(void*, SDL_Event* event) {
    if (event->type != SDL_KEYDOWN && event->type != SDL_KEYUP) return 1;
    int vk = VirtualKey(event->key.keysym.sym);
    if (vk <= 0 || vk > 255) return 1;
    Platform& p = State();
    if (event->type == SDL_KEYDOWN) {
        p.keyDown[vk] = true;
        p.keyPressedSinceQuery[vk] = true;
    } else {
        p.keyDown[vk] = false;
    }
    return 1;
}

LPARAM KeyLParam(const SDL_KeyboardEvent& key) {
    std::uint32_t bits = 1;  // repeat count
    bits |= (static_cast<std::uint32_t>(key.keysym.scancode) & 0xFF) << 16;
    if (key.repeat) bits |= 1u << 30;  // the key was down before
    if (key.type == SDL_KEYUP) bits |= (1u << 30) | (1u << 31);
    return static_cast<LPARAM>(bits);
}

Window* TargetOf(Uint32 sdlWindowId) {
    Window* w = FindWindowOfSdl(sdlWindowId);
    if (w == nullptr) w = FindWindow(State().focus);
    if (w == nullptr && !State().windows.empty()) w = State().windows.begin()->second.get();
    return w;
}

// Turns what SDL has queued into window messages at the end of the FIFO.
void PumpIntoQueue() {
    if (!State().videoReady) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                int vk = VirtualKey(event.key.keysym.sym);
                Window* w = TargetOf(event.key.windowID);
                if (vk == 0 || w == nullptr) break;
                bool alt = (event.key.keysym.mod & KMOD_ALT) != 0;
                UINT message = event.type == SDL_KEYDOWN ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN)
                                                         : (alt ? WM_SYSKEYUP : WM_KEYUP);
                Post(w->handle, message, static_cast<WPARAM>(vk), KeyLParam(event.key));
                break;
            }
            case SDL_WINDOWEVENT:
                if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                    if (Window* w = FindWindowOfSdl(event.window.windowID)) Post(w->handle, WM_CLOSE, 0, 0);
                }
                break;
            case SDL_QUIT:
                // SIGINT or SIGTERM: every window is asked to close, as a session end would.
                for (auto& entry : State().windows) Post(entry.second->handle, WM_CLOSE, 0, 0);
                if (State().windows.empty()) PostQuitMessage(0);
                break;
            default:
                break;
        }
    }
}

void ForwardHangUp(int) { raise(SIGTERM); }

// A hang-up (the terminal that started the program closed) ends it as SIGTERM does, through SDL's
// quit request, so the desktop gets its mode and cursor back: by default it would end the process
// on the spot, leaving the display switched. Left alone where the hang-up is ignored or SIGTERM has
// no handler to pass it to.
void HandleHangUpAsTermination() {
    struct sigaction term {};
    struct sigaction hangUp {};
    if (sigaction(SIGTERM, nullptr, &term) != 0 || sigaction(SIGHUP, nullptr, &hangUp) != 0) return;
    const bool termHandled =
        (term.sa_flags & SA_SIGINFO) == 0 && term.sa_handler != SIG_DFL && term.sa_handler != SIG_IGN;
    if (!termHandled || (hangUp.sa_flags & SA_SIGINFO) != 0 || hangUp.sa_handler != SIG_DFL) return;
    struct sigaction forward {};
    forward.sa_handler = ForwardHangUp;
    sigemptyset(&forward.sa_mask);
    sigaction(SIGHUP, &forward, nullptr);
}

bool FrameMetrics(DWORD style, RECT* frame) {
    *frame = RECT{0, 0, 0, 0};
    if (style & WS_POPUP) return false;
    // Nominal frame of a captioned window; the desktop's own decorations lie outside the client area.
    LONG border = (style & WS_THICKFRAME) ? 8 : ((style & WS_CAPTION) ? 3 : 0);
    LONG caption = ((style & WS_CAPTION) == WS_CAPTION) ? 23 : 0;
    *frame = RECT{border, border + caption, border, border};
    return border != 0 || caption != 0;
}

void RemoveWindow(Window* w) {
    Platform& p = State();
    if (p.currentWindow == w) {
        ReleaseOffscreen(w);
        p.currentWindow = nullptr;
        p.current = nullptr;
    }
    if (w->sdl) SDL_DestroyWindow(w->sdl);
    if (p.focus == w->handle) p.focus = nullptr;
    p.dcToWindow.erase(reinterpret_cast<std::uintptr_t>(w->dc));
    p.windows.erase(reinterpret_cast<std::uintptr_t>(w->handle));
}

// Starts SDL's video. When no display answers, SDL falls back to a driver that draws nowhere; unless
// the host or the person asked for one (SDL_VIDEODRIVER), that would play the show to nobody, so it
// counts as no display at all.
bool StartVideo() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool drawsNowhere =
        driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    if (drawsNowhere && (asked == nullptr || asked[0] == '\0')) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_SetError("no display to show a window on");
        return false;
    }
    return true;
}

}  // namespace

bool EnsureVideo() {
    Platform& p = State();
    if (p.videoReady) return true;
    // A message box or a desktop switch must not minimise the show and take its mode away.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // Closing the last window is a WM_CLOSE like any other, not a second quit request.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // A display that another program is just reconfiguring (a mode given back as it ends) can
    // refuse for a moment; only a display that stays away counts as none.
    int attempts = 0;
    while (!StartVideo()) {
        if (++attempts == 3) return false;
        SDL_Delay(100);
    }
    static bool atExitRegistered = false;
    if (!atExitRegistered) {
        // Ending the process gives the desktop back its mode and cursor, whichever way it ends.
        std::atexit(SDL_Quit);
        atExitRegistered = true;
    }
    SDL_AddEventWatch(WatchKeys, nullptr);
    HandleHangUpAsTermination();
    p.videoReady = true;
    return true;
}

std::uintptr_t NewHandleValue() {
    std::uintptr_t value = State().nextHandle;
    State().nextHandle += 0x10;
    return value;
}

Window* FindWindow(HWND handle) {
    auto& windows = State().windows;
    auto it = windows.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == windows.end() ? nullptr : it->second.get();
}

Window* FindWindowOfDc(HDC dc) {
    auto& dcs = State().dcToWindow;
    auto it = dcs.find(reinterpret_cast<std::uintptr_t>(dc));
    return it == dcs.end() ? nullptr : FindWindow(reinterpret_cast<HWND>(it->second));
}

Window* FindWindowOfSdl(Uint32 sdlWindowId) {
    for (auto& entry : State().windows) {
        if (entry.second->sdl && SDL_GetWindowID(entry.second->sdl) == sdlWindowId) return entry.second.get();
    }
    return nullptr;
}

Context* FindContext(HGLRC handle) {
    auto& contexts = State().contexts;
    auto it = contexts.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == contexts.end() ? nullptr : it->second.get();
}

LRESULT Send(Window* window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == nullptr || window->proc == nullptr) return 0;
    return window->proc(window->handle, message, wParam, lParam);
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = SDL_WasInit(SDL_INIT_TIMER | SDL_INIT_VIDEO) ? SDL_GetTicks() : 0;
    State().queue.push_back(msg);
}

bool CreateSdlWindow(Window* w) {
    const SurfaceFormat& f = w->format;
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, f.red);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, f.green);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, f.blue);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, f.alpha);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, f.depth);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, f.stencil);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, f.doubleBuffer);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (w->style & WS_POPUP) flags |= SDL_WINDOW_BORDERLESS;
    if (w->style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
    int width = w->clientWidth, height = w->clientHeight;
    int x = w->x, y = w->y;
    const SelectedMode& mode = State().selectedMode;
    if (w->fullscreen) {
        // Made at the screen's corner and, without the mode, at the screen's size: a desktop with no
        // window manager never resizes a window that only asks to be fullscreen.
        SDL_Rect bounds{0, 0, width, height};
        SDL_GetDisplayBounds(0, &bounds);
        x = bounds.x;
        y = bounds.y;
        if (mode.exact) {
            flags |= SDL_WINDOW_FULLSCREEN;
        } else {
            flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
            width = bounds.w;
            height = bounds.h;
        }
    }
    w->sdl = SDL_CreateWindow(w->title.c_str(), x, y, std::max(width, 1), std::max(height, 1), flags);
    if (w->sdl == nullptr && f.alpha > 0) {
        // Some displays offer no visual with alpha; the show never reads destination alpha.
        SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
        w->sdl = SDL_CreateWindow(w->title.c_str(), x, y, std::max(width, 1), std::max(height, 1), flags);
        if (w->sdl) w->format.alpha = 0;
    }
    if (w->sdl == nullptr) return false;
    if (w->fullscreen && mode.exact) SDL_SetWindowDisplayMode(w->sdl, &mode.mode);
    if (w->visible) SDL_ShowWindow(w->sdl);
    return true;
}

}  // namespace sdlwin

using namespace sdlwin;

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass) {
    if (windowClass == nullptr || windowClass->cbSize != sizeof(WNDCLASSEXA) ||
        windowClass->lpszClassName == nullptr || windowClass->lpfnWndProc == nullptr) {
        return 0;
    }
    Platform& p = State();
    std::string key = Lower(windowClass->lpszClassName);
    if (p.classes.count(key)) return 0;
    p.classes[key] = *windowClass;
    p.classNames[key] = windowClass->lpszClassName;
    p.classes[key].lpszClassName = p.classNames[key].c_str();
    return p.nextAtom++;
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE) {
    Platform& p = State();
    std::string key = Lower(className);
    if (className == nullptr || !p.classes.count(key)) return FALSE;
    for (auto& entry : p.windows) {
        if (Lower(entry.second->className.c_str()) == key) return FALSE;  // still in use
    }
    p.classes.erase(key);
    p.classNames.erase(key);
    return TRUE;
}

BOOL WINAPI AdjustWindowRect(RECT* rect, DWORD style, BOOL) {
    if (rect == nullptr) return FALSE;
    RECT frame;
    FrameMetrics(style, &frame);
    rect->left -= frame.left;
    rect->top -= frame.top;
    rect->right += frame.right;
    rect->bottom += frame.bottom;
    return TRUE;
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    // Only the stock application icon exists; programs here carry no icon resources.
    if (instance == nullptr && name == IDI_APPLICATION) return reinterpret_cast<HICON>(static_cast<std::uintptr_t>(0x10));
    return nullptr;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (instance == nullptr && name == IDC_ARROW) return reinterpret_cast<HCURSOR>(static_cast<std::uintptr_t>(0x20));
    return nullptr;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                            LPVOID param) {
    Platform& p = State();
    if (className == nullptr || !p.classes.count(Lower(className))) return nullptr;
    if (parent != nullptr && FindWindow(parent) == nullptr) return nullptr;
    if (!EnsureVideo()) return nullptr;

    const WNDCLASSEXA& cls = p.classes[Lower(className)];
    auto owned = std::make_unique<Window>();
    Window* w = owned.get();
    w->handle = reinterpret_cast<HWND>(NewHandleValue());
    w->dc = reinterpret_cast<HDC>(NewHandleValue());
    w->proc = cls.lpfnWndProc;
    w->className = cls.lpszClassName;
    w->title = win32::AnsiToUtf8(windowName);
    w->style = style;
    RECT frame;
    FrameMetrics(style, &frame);
    w->x = x + frame.left;
    w->y = y + frame.top;
    w->clientWidth = width - frame.left - frame.right;
    w->clientHeight = height - frame.top - frame.bottom;
    w->fullscreen = (style & WS_POPUP) != 0 && p.selectedMode.active;
    w->visible = false;
    if (w->clientWidth <= 0 || w->clientHeight <= 0) return nullptr;

    if (!CreateSdlWindow(w)) return nullptr;
    p.windows[reinterpret_cast<std::uintptr_t>(w->handle)] = std::move(owned);
    p.dcToWindow[reinterpret_cast<std::uintptr_t>(w->dc)] = reinterpret_cast<std::uintptr_t>(w->handle);

    // Creation messages, as a window procedure expects them before the call returns.
    CREATESTRUCTA create{};
    create.lpCreateParams = param;
    create.hInstance = instance;
    create.hMenu = menu;
    create.hwndParent = parent;
    create.cy = height;
    create.cx = width;
    create.y = y;
    create.x = x;
    create.style = static_cast<LONG>(style);
    create.lpszName = windowName;
    create.lpszClass = className;
    create.dwExStyle = exStyle;
    if (Send(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create)) == 0 ||
        Send(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        HWND handle = w->handle;
        if (FindWindow(handle)) RemoveWindow(w);
        return nullptr;
    }
    Send(w, WM_SIZE, 0, static_cast<LPARAM>((w->clientHeight << 16) | (w->clientWidth & 0xFFFF)));
    Send(w, WM_MOVE, 0, static_cast<LPARAM>((w->y << 16) | (w->x & 0xFFFF)));
    if (style & WS_VISIBLE) ShowWindow(w->handle, SW_SHOWNORMAL);
    return w->handle;
}

BOOL WINAPI DestroyWindow(HWND handle) {
    Window* w = FindWindow(handle);
    if (w == nullptr) return FALSE;
    Send(w, WM_DESTROY, 0, 0);
    w = FindWindow(handle);  // the procedure may have destroyed it already
    if (w == nullptr) return TRUE;
    Send(w, WM_NCDESTROY, 0, 0);
    if ((w = FindWindow(handle)) != nullptr) RemoveWindow(w);
    return TRUE;
}

BOOL WINAPI ShowWindow(HWND handle, int command) {
    Window* w = FindWindow(handle);
    if (w == nullptr) return FALSE;
    BOOL wasVisible = w->visible ? TRUE : FALSE;
    bool show = command != SW_HIDE;
    if (show != w->visible) {
        w->visible = show;
        if (show) {
            SDL_ShowWindow(w->sdl);
        } else {
            SDL_HideWindow(w->sdl);
        }
        Send(w, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    }
    return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND handle) {
    // Nothing is painted by the platform: the window's content is whatever OpenGL presents.
    return FindWindow(handle) ? TRUE : FALSE;
}

BOOL WINAPI SetForegroundWindow(HWND handle) {
    Window* w = FindWindow(handle);
    if (w == nullptr) return FALSE;
    SDL_RaiseWindow(w->sdl);
    return TRUE;
}

HWND WINAPI SetFocus(HWND handle) {
    Platform& p = State();
    HWND previous = p.focus;
    Window* w = FindWindow(handle);
    if (handle != nullptr && w == nullptr) return nullptr;
    if (previous == handle) return previous;
    if (Window* old = FindWindow(previous)) Send(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
    p.focus = handle;
    if (w) {
        SDL_SetWindowInputFocus(w->sdl);
        Send(w, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return previous;
}

int WINAPI ShowCursor(BOOL show) {
    Platform& p = State();
    p.cursorCount += show ? 1 : -1;
    if (EnsureVideo()) SDL_ShowCursor(p.cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return p.cursorCount;
}

BOOL WINAPI EnumDisplaySettingsA(LPCSTR, DWORD modeNumber, DEVMODEA* mode) {
    if (mode == nullptr || !EnsureVideo()) return FALSE;
    SDL_DisplayMode m;
    int ok;
    if (modeNumber == ENUM_CURRENT_SETTINGS) {
        ok = SDL_GetCurrentDisplayMode(0, &m);
    } else if (modeNumber == ENUM_REGISTRY_SETTINGS) {
        ok = SDL_GetDesktopDisplayMode(0, &m);
    } else {
        ok = SDL_GetDisplayMode(0, static_cast<int>(modeNumber), &m);
    }
    if (ok != 0) return FALSE;
    mode->dmPelsWidth = static_cast<DWORD>(m.w);
    mode->dmPelsHeight = static_cast<DWORD>(m.h);
    // Pixels are stored in whole bytes; a 24-bit desktop keeps them in 32.
    mode->dmBitsPerPel = static_cast<DWORD>(SDL_BYTESPERPIXEL(m.format) * 8);
    mode->dmDisplayFrequency = static_cast<DWORD>(m.refresh_rate);
    mode->dmDisplayFlags = 0;
    mode->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFLAGS | DM_DISPLAYFREQUENCY;
    return TRUE;
}

LONG WINAPI ChangeDisplaySettingsA(DEVMODEA* mode, DWORD) {
    Platform& p = State();
    if (mode == nullptr) {
        p.selectedMode = SelectedMode{};
        return DISP_CHANGE_SUCCESSFUL;
    }
    if (!EnsureVideo()) return DISP_CHANGE_BADMODE;
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) return DISP_CHANGE_BADMODE;
    int width = (mode->dmFields & DM_PELSWIDTH) ? static_cast<int>(mode->dmPelsWidth) : desktop.w;
    int height = (mode->dmFields & DM_PELSHEIGHT) ? static_cast<int>(mode->dmPelsHeight) : desktop.h;
    if (width <= 0 || height <= 0) return DISP_CHANGE_BADPARAM;
    if ((mode->dmFields & DM_BITSPERPEL) && (mode->dmBitsPerPel < 15 || mode->dmBitsPerPel > 32)) {
        return DISP_CHANGE_BADMODE;
    }
    SelectedMode selected;
    selected.active = true;
    selected.width = width;
    selected.height = height;
    // The desktop already in that mode needs no switch at all: the window simply covers it.
    bool desktopFits = desktop.w == width && desktop.h == height;
    for (int i = 0, n = desktopFits ? 0 : SDL_GetNumDisplayModes(0); i < n; ++i) {
        SDL_DisplayMode m;
        if (SDL_GetDisplayMode(0, i, &m) == 0 && m.w == width && m.h == height) {
            selected.exact = true;
            selected.mode = m;
            break;
        }
    }
    // Without that mode the picture is still drawn at the size asked for, then scaled to the screen.
    p.selectedMode = selected;
    return DISP_CHANGE_SUCCESSFUL;
}

BOOL WINAPI PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (msg == nullptr) return FALSE;
    PumpIntoQueue();
    auto& queue = State().queue;
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        bool windowMatches = window == nullptr || it->hwnd == window;
        bool rangeMatches = (filterMin == 0 && filterMax == 0) ||
                            (it->message >= filterMin && it->message <= filterMax);
        if (!windowMatches || !rangeMatches) continue;
        *msg = *it;
        if (removeFlags & PM_REMOVE) queue.erase(it);
        return TRUE;
    }
    return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (msg == nullptr || msg->message != WM_KEYDOWN) return FALSE;
    int vk = static_cast<int>(msg->wParam);
    char c = 0;
    if (vk >= 'A' && vk <= 'Z') c = static_cast<char>(vk - 'A' + 'a');
    else if ((vk >= '0' && vk <= '9') || vk == VK_SPACE || vk == VK_ESCAPE || vk == VK_RETURN ||
             vk == VK_BACK || vk == VK_TAB) c = static_cast<char>(vk);
    if (c == 0) return FALSE;
    Post(msg->hwnd, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), msg->lParam);
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (msg == nullptr) return 0;
    Window* w = FindWindow(msg->hwnd);
    if (w == nullptr) return 0;  // thread message, or a window gone since it was posted
    return Send(w, msg->message, msg->wParam, msg->lParam);
}

void WINAPI PostQuitMessage(int exitCode) { Post(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0); }

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_NCCREATE:
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_SYSKEYDOWN:
            if (wParam == VK_F4) Post(window, WM_CLOSE, 0, 0);  // Alt+F4
            return 0;
        default:
            return 0;
    }
}

SHORT WINAPI GetAsyncKeyState(int virtualKey) {
    if (virtualKey <= 0 || virtualKey > 255) return 0;
    Platform& p = State();
    if (p.videoReady) SDL_PumpEvents();
    int state = (p.keyDown[virtualKey] ? 0x8000 : 0) | (p.keyPressedSinceQuery[virtualKey] ? 1 : 0);
    p.keyPressedSinceQuery[virtualKey] = false;
    return static_cast<SHORT>(state);
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    Platform& p = State();
    if (p.messageBoxHook) return p.messageBoxHook(owner, text, caption, type);
    std::string utf8Text = win32::AnsiToUtf8(text);
    std::string utf8Caption = win32::AnsiToUtf8(caption ? caption : "Error");
    Window* w = FindWindow(owner);
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, utf8Caption.c_str(), utf8Text.c_str(),
                                 w ? w->sdl : nullptr) != 0) {
        // No display to show it on: say it where a person running the program will see it.
        std::fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
    }
    return IDOK;
}

namespace win32seam {

void SetMessageBoxHook(MessageBoxHook hook) { State().messageBoxHook = std::move(hook); }

void SetSwapHook(SwapHook hook) { State().swapHook = std::move(hook); }

void UseOffscreenDisplay() { SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen"); }

SDL_Window* NativeWindow(HWND window) {
    Window* w = FindWindow(window);
    return w ? w->sdl : nullptr;
}

}  // namespace win32seam
