// The windowing platform on a real SDL and X server: classes, windows, the message FIFO, the close
// request a window manager sends, the keyboard and the modal message box.
#include <gtest/gtest.h>
// After gtest: SDL_syswm.h brings X11's macros.
#include <SDL.h>
#include <SDL_syswm.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/common/codepage.h"
#include "platform/win32/win32.h"
#include "platform/win32/win32_seam.h"
#include "tests/support/test_support.h"
#include "tests/support/x11_support.h"

namespace {

std::vector<UINT> seen;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    seen.push_back(message);
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

ATOM Register(const char* name, WNDPROC proc = RecordingProc) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    return RegisterClassExA(&wc);
}

HWND MakeWindow(const char* className, const char* title, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE) {
    RECT rect = {0, 0, 320, 240};
    AdjustWindowRect(&rect, style, FALSE);
    return CreateWindowExA(0, className, title, style, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

unsigned long XWindowOf(HWND window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(win32seam::NativeWindow(window), &info)) return 0;
    return info.info.x11.window;
}

// Pumps the platform until a message of this kind is at the head of the queue, or time runs out.
bool WaitForMessage(MSG* msg, UINT wanted) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < until) {
        if (PeekMessageA(msg, nullptr, wanted, wanted, PM_NOREMOVE)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

}  // namespace

TEST(Codepage, WindowsAnsiBecomesUtf8) {
    struct Case {
        const char* ansi;
        const char* utf8;
    } cases[] = {
        {"Glimmerset - \xDBquandrix", "Glimmerset - \xC3\x9Bquandrix"},
        {"kn\xE6sjbg.jpg", "kn\xC3\xA6sjbg.jpg"},
        {"\x80 \x99 \x9F", "\xE2\x82\xAC \xE2\x84\xA2 \xC5\xB8"},
        {"\x81\x8D", "\xC2\x81\xC2\x8D"},  // unassigned bytes keep their value
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(win32::AnsiToUtf8(c.ansi), c.utf8) << c.ansi;
}

TEST(WindowClass, RegisteredOnceByNameUntilUnregistered) {
    EXPECT_NE(Register("Alpha"), 0);
    EXPECT_EQ(Register("Alpha"), 0);
    EXPECT_EQ(Register("ALPHA"), 0);  // class names ignore case
    EXPECT_EQ(MakeWindow("Nobody", "x"), nullptr);
    EXPECT_TRUE(UnregisterClassA("Alpha", GetModuleHandleA(nullptr)));
    EXPECT_FALSE(UnregisterClassA("Alpha", GetModuleHandleA(nullptr)));
    EXPECT_NE(Register("Alpha"), 0);
}

TEST(Window, CreationSendsItsMessagesAndShowsTheTitle) {
    ASSERT_NE(Register("Glimmerset - \xDBquandrix"), 0);
    seen.clear();
    HWND window = MakeWindow("Glimmerset - \xDBquandrix", "Glimmerset - \xDBquandrix");
    ASSERT_NE(window, nullptr);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0], static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(seen[1], static_cast<UINT>(WM_CREATE));
    SDL_Window* sdl = win32seam::NativeWindow(window);
    ASSERT_NE(sdl, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(sdl), "Glimmerset - \xC3\x9Bquandrix");
    EXPECT_TRUE(SDL_GetWindowFlags(sdl) & SDL_WINDOW_SHOWN);  // WS_VISIBLE shows it at once
    int w = 0, h = 0;
    SDL_GetWindowSize(sdl, &w, &h);
    EXPECT_EQ(w, 320);  // the client area is exactly what was asked for
    EXPECT_EQ(h, 240);
    // The title reaches the X server as UTF-8, so a person sees it right.
    EXPECT_NE(testing_support::FindWindowByTitle(nullptr, "Glimmerset - \xC3\x9Bquandrix"), 0u);
    EXPECT_FALSE(UnregisterClassA("Glimmerset - \xDBquandrix", nullptr));  // still has a window
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_FALSE(DestroyWindow(window));  // a stale handle fails cleanly
    EXPECT_EQ(win32seam::NativeWindow(window), nullptr);
}

TEST(Window, ProcedureCanRefuseCreation) {
    auto refuse = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        return m == WM_CREATE ? -1 : DefWindowProcA(w, m, wp, lp);
    };
    ASSERT_NE(Register("Refuser", refuse), 0);
    EXPECT_EQ(MakeWindow("Refuser", "x"), nullptr);
}

TEST(MessageQueue, OneMessagePerPeekInPostingOrderAndNeverWaits) {
    ASSERT_NE(Register("Queue"), 0);
    HWND window = MakeWindow("Queue", "queue");
    ASSERT_NE(window, nullptr);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));

    PostQuitMessage(7);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(MessageQueue, CloseRequestDestroysTheWindowAndQuits) {
    ASSERT_NE(Register("Closer"), 0);
    HWND window = MakeWindow("Closer", "closer");
    ASSERT_NE(window, nullptr);
    unsigned long xwindow = XWindowOf(window);
    ASSERT_NE(xwindow, 0u);
    ASSERT_TRUE(testing_support::RequestClose(nullptr, xwindow));

    MSG msg;
    ASSERT_TRUE(WaitForMessage(&msg, WM_CLOSE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    ASSERT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
    seen.clear();
    DispatchMessageA(&msg);
    // Default processing of the close destroys the window; its WM_DESTROY posts the quit.
    EXPECT_EQ(seen, (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_EQ(win32seam::NativeWindow(window), nullptr);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}

// A real key press through the X server (XTest), as a person types it.
TEST(Keyboard, EscapeTapReachesTheQueueAndTheKeyState) {
    ASSERT_NE(Register("Keys"), 0);
    HWND window = MakeWindow("Keys", "keys");
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    SetFocus(window);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);

    int status = -1;
    testing_support::Run("xdotool windowfocus --sync " + std::to_string(XWindowOf(window)) +
                             " key Escape 2>&1",
                         &status);
    ASSERT_EQ(status, 0);
    // The tap is over before anyone asks: the key state still reports it, once.
    SHORT state = 0;
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (state == 0 && std::chrono::steady_clock::now() < until) state = GetAsyncKeyState(VK_ESCAPE);
    EXPECT_NE(state, 0);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);

    ASSERT_TRUE(WaitForMessage(&msg, WM_KEYUP));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(27));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_TRUE(TranslateMessage(&msg));  // Escape is a character key: WM_CHAR 27 follows
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYUP));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(27));
}

TEST(Keyboard, KeyStateSeesPressesBeforeAnyPeek) {
    ASSERT_NE(Register("Early"), 0);
    HWND window = MakeWindow("Early", "early");
    ASSERT_NE(window, nullptr);
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = SDLK_ESCAPE;
    event.key.state = SDL_PRESSED;
    SDL_PushEvent(&event);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE) & 0x8000, 0x8000);  // down now
    event.type = SDL_KEYUP;
    event.key.state = SDL_RELEASED;
    SDL_PushEvent(&event);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
}

TEST(MessageBox, ModalBoxWaitsForThePersonAndReturnsOk) {
    // SDL's box sets its title as UTF-8; a person (a separate process) finds it and presses Return.
    // Not a thread of this process: the box forks while it is shown, and a thread busy with X or a
    // pipe at that moment would leave the box's process stuck on what it had held.
    const std::string person =
        "for i in $(seq 100); do"
        "  id=$(xwininfo -root -tree 2>/dev/null | grep -F '\"BASS \xC3\xA6\"' | awk '{print $1; exit}');"
        "  if [ -n \"$id\" ]; then sleep 0.2; exec xdotool key --window \"$id\" Return; fi;"
        "  sleep 0.1;"
        "done; exit 1";
    testing_support::ChildProcess dismisser({"/bin/sh", "-c", person}, ".");
    auto start = std::chrono::steady_clock::now();
    int result = MessageBoxA(nullptr, "It waits", "BASS \xE6", MB_OK);
    auto waited = std::chrono::steady_clock::now() - start;
    int status = -1;
    EXPECT_TRUE(dismisser.Wait(10, &status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(result, IDOK);
    EXPECT_GE(waited, std::chrono::milliseconds(150));  // it blocked until dismissed
}

TEST(MessageBox, WithoutADisplayItGoesToStandardError) {
    unsetenv("DISPLAY");
    unsetenv("SDL_VIDEODRIVER");  // the default drivers, as a person runs it
    testing::internal::CaptureStderr();
    int result = MessageBoxA(nullptr, "Unable to load JPG File!", "kn\xE6sjbg.jpg", MB_OK);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, IDOK);
    EXPECT_NE(err.find("kn\xC3\xA6sjbg.jpg: Unable to load JPG File!\n"), std::string::npos) << err;
}

TEST(Display, ReportsTheDesktopModeAndSelectsFullscreen) {
    DEVMODEA mode{};
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode));
    EXPECT_EQ(mode.dmPelsWidth, 800u);  // the test display's screen
    EXPECT_EQ(mode.dmPelsHeight, 600u);
    EXPECT_EQ(mode.dmBitsPerPel, 32u);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    mode.dmBitsPerPel = 8;  // no palette modes here
    EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
    EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
}

TEST(Counter, MonotonicNanoseconds) {
    LARGE_INTEGER f, a, b;
    ASSERT_TRUE(QueryPerformanceFrequency(&f));
    EXPECT_EQ(f.QuadPart, 1000000000);
    ASSERT_TRUE(QueryPerformanceCounter(&a));
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_TRUE(QueryPerformanceCounter(&b));
    EXPECT_GE(b.QuadPart - a.QuadPart, 2000000);
}
