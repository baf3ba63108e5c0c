#include "demo/scene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "demo/window.h"

void ModelPhase(float t, const SpectrumBuffer spectrum, const SceneAssets& assets) {
    const float b0 = spectrum[0], b3 = spectrum[3], b5 = spectrum[5];

    // The aspect is the show's own 4 : 3, whatever the window.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.3333333333333333, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(440.0, -10.0, 40.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);

    // One transform for every model: swing along x with time, kicked by the bass bins.
    const double t64 = t;
    glTranslatef(static_cast<float>(200.0f * std::sin(t64) + 30.0f * static_cast<double>(b0)),
                 static_cast<float>(100.0f * static_cast<double>(b3)),
                 static_cast<float>(500.0f * static_cast<double>(b5)));
    glRotatef(static_cast<float>(30.0f * t64), 1.0f, 1.0f, 1.0f);

    SphereMapOn();
    struct Entry {
        Texture& texture;
        Model& model;
        float lower, upper;
    };
    const Entry entries[] = {
        {assets.red, assets.slimy, 7.0f, 11.0f},
        {assets.jalla3, assets.superfigur, 11.0f, 14.0f},
        {assets.blueeyes, assets.tunnel, 30.0f, 40.0f},
        {assets.jalla3, assets.superfigur, 40.0f, 50.0f},
        {assets.tekstur1, assets.rommet, 50.0f, 66.0f},
    };
    for (const Entry& entry : entries) {
        // Every entry binds and unbinds in every frame, drawn or not.
        entry.texture.Bind();
        if (InWindow(t, entry.lower, entry.upper)) entry.model.Draw();
        entry.texture.Unbind();
    }
    SphereMapOff();
}
