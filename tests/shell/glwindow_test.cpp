// GLWindow on a real X server with Mesa's OpenGL: the state it leaves, its failures, its update.
#include "shell/glwindow.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "platform/win32/win32_seam.h"
#include "tests/support/test_support.h"
#include "tests/support/x11_support.h"

using testing_support::MessageBoxRecorder;

namespace {

const char kName[] = "Glimmerset - \xDBquandrix";

int swaps = 0;

void CountSwaps() {
    swaps = 0;
    win32seam::SetSwapHook([](HDC) { ++swaps; });
}

bool QuitPending() {
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
}

void ExpectMatrixNear(const GLdouble* actual, const GLdouble* expected) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-6) << "element " << i;
}

}  // namespace

TEST(GLWindow, WindowedConstructionLeavesTheFirstState) {
    MessageBoxRecorder boxes;
    GLWindow window(800, 600, 32, false, kName);
    ASSERT_NE(window.hWnd, nullptr);
    ASSERT_NE(window.hDC, nullptr);
    ASSERT_NE(window.hRC, nullptr);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(window.className, kName);
    EXPECT_EQ(window.windowClass.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(window.windowClass.lpfnWndProc, &WndProc);
    EXPECT_EQ(window.windowClass.hbrBackground, nullptr);

    EXPECT_EQ(pixelFormatDescriptor.nSize, 40);
    EXPECT_EQ(pixelFormatDescriptor.dwFlags, 0x25u);
    EXPECT_EQ(pixelFormatDescriptor.cColorBits, 32);
    EXPECT_EQ(pixelFormatDescriptor.cDepthBits, 16);
    EXPECT_EQ(pixelFormatDescriptor.cStencilBits, 8);

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);

    GLint mode;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLdouble projection[16], modelview[16], expected[16], identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45.0, 800.0 / 600.0, 1.0, 10000.0);
    glGetDoublev(GL_MODELVIEW_MATRIX, expected);
    glPopMatrix();
    ExpectMatrixNear(projection, expected);
    ExpectMatrixNear(modelview, identity);

    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    GLint depth, stencil, alpha, red;
    GLboolean doubleBuffer, rgba;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    glGetIntegerv(GL_ALPHA_BITS, &alpha);
    glGetIntegerv(GL_RED_BITS, &red);
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffer);
    glGetBooleanv(GL_RGBA_MODE, &rgba);
    EXPECT_GE(depth, 16);
    EXPECT_GE(stencil, 8);
    EXPECT_EQ(red, 8);
    EXPECT_EQ(alpha, 8);
    EXPECT_TRUE(doubleBuffer);
    EXPECT_TRUE(rgba);

    // Windowed: caption and frame outside a client area of exactly 800 x 600, shown at creation.
    SDL_Window* sdl = win32seam::NativeWindow(window.hWnd);
    int w, h;
    SDL_GetWindowSize(sdl, &w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    EXPECT_FALSE(SDL_GetWindowFlags(sdl) & SDL_WINDOW_BORDERLESS);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST(GLWindow, FullscreenInTheDisplaysOwnModeDrawsOneToOne) {
    GLWindow window(800, 600, 32, true, kName);
    ASSERT_NE(window.hRC, nullptr);
    int pw, ph, sw, sh;
    win32seam::DrawableSizes(window.hWnd, &pw, &ph, &sw, &sh);
    EXPECT_EQ(pw, 800);
    EXPECT_EQ(ph, 600);
    EXPECT_EQ(sw, 800);
    EXPECT_EQ(sh, 600);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);

    // A few frames: the first may be presented before the X server has mapped the window.
    for (int frame = 0; frame < 5; ++frame) {
        glClearColor(0, 0, 1, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        ASSERT_TRUE(window.Update());
        SDL_Delay(20);
    }
    testing_support::Screenshot shot = testing_support::GrabScreen(nullptr);
    ASSERT_TRUE(shot.Valid());
    int r, g, b;
    shot.Pixel(400, 300, &r, &g, &b);
    EXPECT_EQ(b, 255);
    shot.Pixel(0, 0, &r, &g, &b);
    EXPECT_EQ(b, 255);  // the window covers the screen
}

// A wide screen without an 800 x 600 mode: the picture is still 800 x 600 and fills the screen's
// height, centred, with black bars at the sides.
TEST(GLWindow, FullscreenWithoutTheModeScalesWithBars) {
    const char* scaled = std::getenv("GLIMMERSET_SCALED_DISPLAY");
    ASSERT_NE(scaled, nullptr) << "run under scripts/with-xvfb.sh";
    setenv("DISPLAY", scaled, 1);
    GLWindow window(800, 600, 32, true, kName);
    ASSERT_NE(window.hRC, nullptr);
    int pw, ph, sw, sh;
    win32seam::DrawableSizes(window.hWnd, &pw, &ph, &sw, &sh);
    EXPECT_EQ(pw, 800);
    EXPECT_EQ(ph, 600);
    EXPECT_EQ(sw, 1280);
    EXPECT_EQ(sh, 720);

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    // Red left half, green right half, so the scaling and the placement both show. A few frames:
    // the first may be presented before the X server has mapped the window.
    for (int frame = 0; frame < 5; ++frame) {
        glClearColor(1, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        glScissor(400, 0, 400, 600);
        glClearColor(0, 1, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        std::vector<unsigned char> picture = testing_support::ReadFrame(800, 600);
        EXPECT_EQ(testing_support::PixelAt(picture, 800, 10, 10).r, 255);  // reads the 800 x 600 picture
        ASSERT_TRUE(window.Update());
        SDL_Delay(20);
    }

    testing_support::Screenshot shot = testing_support::GrabScreen(scaled);
    ASSERT_EQ(shot.width, 1280);
    ASSERT_EQ(shot.height, 720);
    struct Probe {
        int x, y, r, g, b;
    } probes[] = {
        {80, 360, 0, 0, 0},      // left bar
        {1200, 360, 0, 0, 0},    // right bar
        {170, 10, 255, 0, 0},    // picture's left edge starts at 160
        {630, 700, 255, 0, 0},   // left half
        {650, 10, 0, 255, 0},    // right half
        {1110, 710, 0, 255, 0},  // picture's right edge ends at 1120
    };
    for (const Probe& p : probes) {
        int r, g, b;
        shot.Pixel(p.x, p.y, &r, &g, &b);
        EXPECT_EQ(r, p.r) << p.x << "," << p.y;
        EXPECT_EQ(g, p.g) << p.x << "," << p.y;
        EXPECT_EQ(b, p.b) << p.x << "," << p.y;
    }
}

TEST(GLWindow, ClassNameTakenFailsBeforeAnyWindow) {
    MessageBoxRecorder boxes;
    WNDCLASSEXA taken{};
    taken.cbSize = sizeof(taken);
    taken.lpfnWndProc = DefWindowProcA;
    taken.lpszClassName = kName;
    ASSERT_NE(RegisterClassExA(&taken), 0);
    GLWindow window(800, 600, 32, true, kName);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Unable to register window class");
    EXPECT_EQ(boxes.boxes[0].caption, "GLWindow::GLWindow");
    EXPECT_EQ(boxes.boxes[0].owner, nullptr);
    EXPECT_EQ(window.hWnd, nullptr);
    EXPECT_EQ(window.hDC, nullptr);
    EXPECT_EQ(window.hRC, nullptr);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);  // the display was never touched
}

TEST(GLWindow, RefusedModeMakesNoWindow) {
    MessageBoxRecorder boxes;
    GLWindow window(800, 600, 8, true, kName);  // no 8-bit palette modes here
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Unable to switch to fullscreen");
    EXPECT_EQ(boxes.boxes[0].caption, "GLWindow::GLWindow");
    EXPECT_EQ(boxes.boxes[0].owner, nullptr);
    EXPECT_EQ(window.hWnd, nullptr);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);  // the cursor stays
    EXPECT_EQ(testing_support::FindWindowByTitle(nullptr, "Glimmerset - \xC3\x9Bquandrix"), 0u);
    // The half-made window still takes messages and ends on the quit message.
    PostQuitMessage(0);
    EXPECT_FALSE(window.Update());
}

TEST(GLWindow, NoDisplayCannotReadTheMode) {
    unsetenv("DISPLAY");
    unsetenv("SDL_VIDEODRIVER");  // the default drivers, as a person runs it
    MessageBoxRecorder boxes;
    GLWindow window(800, 600, 32, true, kName);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Unable to get displaysettings");
    EXPECT_EQ(boxes.boxes[0].caption, "Error");
    EXPECT_EQ(boxes.boxes[0].owner, nullptr);
    EXPECT_EQ(window.hWnd, nullptr);
}

TEST(GLWindow, UnusablePixelFormatIsReportedOverTheNewWindow) {
    pixelFormatDescriptor.dwFlags = PFD_DRAW_TO_WINDOW;  // no OpenGL
    MessageBoxRecorder boxes;
    GLWindow window(800, 600, 32, false, kName);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Unable to find a suitable pixelformat");
    EXPECT_EQ(boxes.boxes[0].caption, "GLWindow::GLWindow");
    EXPECT_NE(window.hWnd, nullptr);
    EXPECT_EQ(boxes.boxes[0].owner, window.hWnd);
    EXPECT_NE(window.hDC, nullptr);
    EXPECT_EQ(window.hRC, nullptr);
}

TEST(GLWindow, SecondConstructionKeepsTheFirstColourBits) {
    {
        GLWindow first(320, 240, 16, false, "first");
        EXPECT_EQ(pixelFormatDescriptor.cColorBits, 16);
    }
    GLWindow second(320, 240, 32, false, "second");
    EXPECT_EQ(pixelFormatDescriptor.cColorBits, 16);
    EXPECT_NE(second.hRC, nullptr);
}

TEST(GLWindowUpdate, PresentsThenDispatchesOneMessage) {
    GLWindow window(800, 600, 32, false, kName);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    CountSwaps();
    EXPECT_TRUE(window.Update());  // empty queue: presents
    EXPECT_EQ(swaps, 1);

    // Escape's key message: the frame is presented before the message is handled.
    bool quitAtSwap = true;
    win32seam::SetSwapHook([&](HDC) {
        ++swaps;
        quitAtSwap = QuitPending();
    });
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.windowID = SDL_GetWindowID(win32seam::NativeWindow(window.hWnd));
    event.key.keysym.sym = SDLK_ESCAPE;
    event.key.state = SDL_PRESSED;
    SDL_PushEvent(&event);
    EXPECT_TRUE(window.Update());
    EXPECT_EQ(swaps, 2);
    EXPECT_FALSE(quitAtSwap);
    EXPECT_TRUE(QuitPending());

    // What the key left behind drains at one message per frame; the update that takes the quit
    // message presents nothing.
    int updates = 0;
    while (window.Update() && updates < 10) ++updates;
    EXPECT_LT(updates, 10);
    EXPECT_EQ(swaps, 2 + updates);
    win32seam::SetSwapHook(nullptr);
}

TEST(GLWindowUpdate, ClosingDestroysTheWindowAndTheNextUpdateQuits) {
    GLWindow window(800, 600, 32, false, kName);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    unsigned long xwindow = testing_support::FindWindowByTitle(nullptr, "Glimmerset - \xC3\x9Bquandrix");
    ASSERT_NE(xwindow, 0u);
    ASSERT_TRUE(testing_support::RequestClose(nullptr, xwindow));
    CountSwaps();
    int frames = 0;
    while (window.Update() && frames < 1000) {
        ++frames;
        SDL_Delay(1);
    }
    EXPECT_LT(frames, 1000);
    EXPECT_EQ(swaps, frames);  // the update that took the quit presented nothing
    EXPECT_EQ(win32seam::NativeWindow(window.hWnd), nullptr);  // default processing destroyed it
    win32seam::SetSwapHook(nullptr);
}
