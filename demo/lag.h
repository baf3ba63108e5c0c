#ifndef GLIMMERSET_DEMO_LAG_H
#define GLIMMERSET_DEMO_LAG_H

#include "assets/model.h"

// Per-vertex state of the lag rotation: how slowly each vertex follows (the square root of its
// distance from the origin) and the three angles it has reached. Allocated once by LagSetup.
struct LagBuffers {
    LagBuffers();
    ~LagBuffers();
    LagBuffers(const LagBuffers&) = delete;
    LagBuffers& operator=(const LagBuffers&) = delete;

    int vertexCount;
    float* lagFactors;
    Vec3* lagAngles;  // first, second, third angle in x, y, z; radians
};

// Sizes the buffers for the first mesh of `working` (as loaded), fills the lag factors and zeroes
// the angles. A model with no first mesh gets no buffers, and the effect then does nothing.
void LagSetup(LagBuffers& lag, const Model& working);

// Moves every vertex's angles toward three targets that swing with demo time, each by the share
// delta * 100000 / lag factor of its gap, then turns the rest position by them into the working
// copy and recomputes the working copy's normals. Allocates nothing.
void LagPhase(LagBuffers& lag, float demoTime, float delta, Model& working, const Model& rest);

#endif
