#ifndef GLIMMERSET_DEMO_OVERLAY_H
#define GLIMMERSET_DEMO_OVERLAY_H

#include "assets/texture.h"
#include "music/spectrum.h"

// The nine full-screen images of the timeline.
struct OverlayTextures {
    Texture& knaesjbg;  // (1, 4]
    Texture& aball;     // (4, 7]
    Texture& theend;    // (14, 17]
    Texture& loading;   // (17, 20]
    Texture& bakgrunn;  // (20, 30], moved by the spectrum
    Texture& jalla5;    // (30, 40], one corner bent by the spectrum
    Texture& names;     // (40, 50], moved and spun by the spectrum
    Texture& thx;       // (50, 66]
    Texture& realend;   // (66, 70]
};

// Draws at most one image quad in clip space, chosen by demo time. Expects both matrices at identity
// with the modelview current; leaves depth testing on and the image's texture bound and enabled.
void OverlayPhase(float demoTime, const SpectrumBuffer spectrum, const OverlayTextures& textures);

// The quad every overlay draws (row 6 bends the texture coordinate of its top right corner).
void DrawOverlayQuad(float topRightT);

#endif
