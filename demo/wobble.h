#ifndef GLIMMERSET_DEMO_WOBBLE_H
#define GLIMMERSET_DEMO_WOBBLE_H

#include "assets/model.h"

// Moves every vertex of the working copy's first mesh from its rest position along its rest normal
// by an amount that ripples with demo time, then recomputes the working copy's normals. Each frame
// starts again from the rest copy, so the shape depends on demo time alone. Does nothing when either
// copy has no first mesh (a file that failed to load) or their first meshes differ in size.
void WobblePhase(float demoTime, Model& working, const Model& rest);

#endif
