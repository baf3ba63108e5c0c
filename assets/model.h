#ifndef GLIMMERSET_ASSETS_MODEL_H
#define GLIMMERSET_ASSETS_MODEL_H

#include "assets/vec3.h"

// One indexed triangle mesh. The arrays are tightly packed so OpenGL's client arrays read them in
// place with a stride of 0.
struct Mesh {
    // Allocates the four arrays at their sizes, contents undefined. If memory runs out (or a count is
    // negative) the mesh is left empty instead: both counts 0 and every array null.
    Mesh(int vertexCount, int triangleCount);
    ~Mesh();
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // Face normals weighted by area, summed per vertex in file order, then normalised. Allocates
    // nothing. A vertex no triangle uses gets a non-finite normal; nothing draws it.
    void ComputeNormals();

    int vertexCount;
    int triangleCount;
    Vec3* positions;
    Vec3* normals;
    float* texCoords;  // s, t per vertex
    int* indices;      // three per triangle
};

// The meshes of one .ebr file. A file that cannot be opened or is damaged is reported in a message
// box and leaves a model with no meshes, which draws nothing and recomputes nothing.
class Model {
public:
    explicit Model(const char* path);
    ~Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    void ComputeNormals();
    void Draw();

    int meshCount;
    Mesh** meshes;
};

// Sphere-map texture-coordinate generation for s and t.
void SphereMapOn();
void SphereMapOff();

#endif
