// What the windowing platform costs a frame: the show's empty frame (clear, matrix reset,
// GLWindow::Update) against a bare SDL loop that clears and swaps a window of the same size on the
// same display. Prints frames per second of both and their ratio. Needs DISPLAY (Xvfb will do).
#include <GL/gl.h>
#include <SDL.h>

#include <chrono>
#include <cstdio>

#include "platform/win32/win32_seam.h"
#include "shell/glwindow.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kSeconds = 2.0;

double ShowEmptyFrames(bool fullscreen) {
    GLWindow window(800, 600, 32, fullscreen, "Glimmerset bench");
    int frames = 0;
    auto start = Clock::now();
    while (std::chrono::duration<double>(Clock::now() - start).count() < kSeconds) {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        window.Update();
        ++frames;
    }
    return frames / std::chrono::duration<double>(Clock::now() - start).count();
}

double BareSdlFrames(bool fullscreen) {
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_Window* window = SDL_CreateWindow("bare", 0, 0, 800, 600,
                                          SDL_WINDOW_OPENGL | (fullscreen ? SDL_WINDOW_FULLSCREEN : 0));
    SDL_GLContext context = SDL_GL_CreateContext(window);
    int frames = 0;
    auto start = Clock::now();
    SDL_Event event;
    while (std::chrono::duration<double>(Clock::now() - start).count() < kSeconds) {
        while (SDL_PollEvent(&event)) {
        }
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SDL_GL_SwapWindow(window);
        ++frames;
    }
    double fps = frames / std::chrono::duration<double>(Clock::now() - start).count();
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    return fps;
}

}  // namespace

int main() {
    for (bool fullscreen : {false, true}) {
        // Alternate the two loops so drift on a shared machine hits both alike.
        double show = 0, bare = 0;
        for (int round = 0; round < 2; ++round) {
            bare += BareSdlFrames(fullscreen);
            show += ShowEmptyFrames(fullscreen);
        }
        std::printf("%s 800x600: bare SDL %.0f fps, show's empty frame %.0f fps, ratio %.3f\n",
                    fullscreen ? "fullscreen" : "windowed", bare / 2, show / 2, show / bare);
    }
    return 0;
}
