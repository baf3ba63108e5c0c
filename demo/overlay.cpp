#include "demo/overlay.h"

#include <GL/gl.h>

#include "demo/window.h"

void DrawOverlayQuad(float topRightT) {
    // Counter-clockwise on screen, so it faces the viewer through back-face culling; the image's top
    // row (t = 0) along the top edge.
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-1.0f, -1.0f, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(1.0f, -1.0f, 0.0f);
    glTexCoord2f(1.0f, topRightT);
    glVertex3f(1.0f, 1.0f, 0.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-1.0f, 1.0f, 0.0f);
    glEnd();
}

namespace {

enum class Motion { None, Moved, MovedAndSpun, Bent };

void DrawRow(Texture& texture, Motion motion, float t, const SpectrumBuffer bins) {
    const float b0 = bins[0], b2 = bins[2], b3 = bins[3], b4 = bins[4], b9 = bins[9], b17 = bins[17];
    glDisable(GL_DEPTH_TEST);
    if (motion == Motion::Moved || motion == Motion::MovedAndSpun) {
        // Clip-space units: past 0.1 in bin 2 the quad lies beyond the far plane and vanishes.
        glTranslatef(3.0f * b9, 10.0f * b17, 10.0f * b2);
    }
    texture.Bind();
    if (motion == Motion::MovedAndSpun && (b0 != 0.0f || b2 != 0.0f || b4 != 0.0f)) {
        // A zero axis (silence) has no direction to turn about: that frame is not turned.
        glRotatef(100.0f * t, b0, b2, b4);
    }
    DrawOverlayQuad(motion == Motion::Bent ? b3 : 0.0f);
    glEnable(GL_DEPTH_TEST);
}

}  // namespace

void OverlayPhase(float t, const SpectrumBuffer spectrum, const OverlayTextures& textures) {
    struct Row {
        float lower, upper;
        Texture& texture;
        Motion motion;
    };
    const Row rows[] = {
        {1.0f, 4.0f, textures.knaesjbg, Motion::None},
        {4.0f, 7.0f, textures.aball, Motion::None},
        {14.0f, 17.0f, textures.theend, Motion::None},
        {17.0f, 20.0f, textures.loading, Motion::None},
        {20.0f, 30.0f, textures.bakgrunn, Motion::Moved},
        {30.0f, 40.0f, textures.jalla5, Motion::Bent},
        {40.0f, 50.0f, textures.names, Motion::MovedAndSpun},
        {50.0f, 66.0f, textures.thx, Motion::None},
        {66.0f, 70.0f, textures.realend, Motion::None},
    };
    for (const Row& row : rows) {
        if (InWindow(t, row.lower, row.upper)) DrawRow(row.texture, row.motion, t, spectrum);
    }
}
