// The show: every object is a local of the entry, made in a fixed order, and destroyed in reverse.
#include <GL/gl.h>

#include "assets/model.h"
#include "assets/texture.h"
#include "demo/lag.h"
#include "demo/overlay.h"
#include "demo/scene.h"
#include "demo/wobble.h"
#include "platform/win32/win32.h"
#include "shell/glwindow.h"
#include "shell/timer.h"

// The title's fourteenth byte is 0xDB, the U with circumflex of the Windows ANSI code page.
static const char kShowName[] = "Glimmerset - \xDBquandrix";

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    GLWindow window(800, 600, 32, true, kShowName);

    Texture blueeyes("blueeyes.jpg");
    Texture tekstur1("tekstur1.jpg");
    Texture bakgrunn("bakgrunn.jpg");
    Texture names("names.jpg");
    Texture thx("thx.jpg");
    Texture jalla5("jalla5.jpg");
    Texture jalla3("jalla3.jpg");
    Texture knaesjbg("kn\xE6sjbg.jpg");  // 0xE6: the ae of the Windows ANSI code page
    Texture aball("aball.jpg");
    Texture loading("loading.jpg");
    Texture theend("theend.jpg");
    Texture realend("realend.jpg");
    Texture red("red.jpg");

    // The animated models twice: a working copy the effects rewrite and the scene draws, and a
    // rest copy they read.
    Model superfigur("superfigur.ebr");
    Model superfigurRest("superfigur.ebr");
    Model rommet("rommet.ebr");
    Model tunnel("tunnel.ebr");
    Model slimy("slimy.ebr");
    Model slimyRest("slimy.ebr");

    LagBuffers lag;
    LagSetup(lag, slimy);

    // Demo time starts here: loading is not part of the show.
    Timer timer;
    window.StartMusic("velloro - trance4m.mp3", 0.0f);

    float demoTime = 0.0f;
    float delta = 0.0f;
    SpectrumBuffer spectrum = {};

    const OverlayTextures overlays = {knaesjbg, aball, theend, loading, bakgrunn, jalla5, names, thx, realend};
    const SceneAssets scene = {red, slimy, jalla3, superfigur, blueeyes, tunnel, tekstur1, rommet};

    for (;;) {
        if (GetAsyncKeyState(VK_ESCAPE) != 0) break;
        // The previous frame's time: exactly 71.0 still gets another frame.
        if (demoTime > 71.0f) break;

        window.GetSpectrum(spectrum);
        demoTime = static_cast<float>(timer.Elapsed());
        delta = static_cast<float>(timer.SinceLastElapsed());

        WobblePhase(demoTime, superfigur, superfigurRest);

        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();

        OverlayPhase(demoTime, spectrum, overlays);
        LagPhase(lag, demoTime, delta, slimy, slimyRest);
        ModelPhase(demoTime, spectrum, scene);

        if (!window.Update()) break;
    }
    return 0;
}
