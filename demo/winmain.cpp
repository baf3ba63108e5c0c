// The show: every object is a local of the entry, made in a fixed order, and destroyed in reverse.
#include <GL/gl.h>

#include "platform/win32/win32.h"
#include "shell/glwindow.h"
#include "shell/timer.h"

// The title's fourteenth byte is 0xDB, the U with circumflex of the Windows ANSI code page.
static const char kShowName[] = "Glimmerset - \xDBquandrix";

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    GLWindow window(800, 600, 32, true, kShowName);

    Timer timer;

    float demoTime = 0.0f;
    float delta = 0.0f;
    SpectrumBuffer spectrum = {};

    for (;;) {
        if (GetAsyncKeyState(VK_ESCAPE) != 0) break;
        if (demoTime > 71.0f) break;

        demoTime = static_cast<float>(timer.Elapsed());
        delta = static_cast<float>(timer.SinceLastElapsed());

        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();

        if (!window.Update()) break;
    }
    (void)delta;
    (void)spectrum;
    return 0;
}
