#ifndef GLIMMERSET_DEMO_SCENE_H
#define GLIMMERSET_DEMO_SCENE_H

#include "assets/model.h"
#include "assets/texture.h"
#include "music/spectrum.h"

// The models of the timeline with the sphere maps they are drawn with.
struct SceneAssets {
    Texture& red;
    Model& slimy;  // working copy, (7, 11]
    Texture& jalla3;
    Model& superfigur;  // working copy, (11, 14] and (40, 50]
    Texture& blueeyes;
    Model& tunnel;  // (30, 40]
    Texture& tekstur1;
    Model& rommet;  // (50, 66]
};

// Sets the fixed camera and the shared model transform, then binds, draws when due, and unbinds each
// entry's texture in turn, between sphere mapping on and off. Draws over whatever overlay the frame
// holds.
void ModelPhase(float demoTime, const SpectrumBuffer spectrum, const SceneAssets& assets);

#endif
