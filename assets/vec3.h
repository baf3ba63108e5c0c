#ifndef GLIMMERSET_ASSETS_VEC3_H
#define GLIMMERSET_ASSETS_VEC3_H

// Three packed floats: meshes hand arrays of these straight to OpenGL, so nothing else may live here.
struct Vec3 {
    float x;
    float y;
    float z;
};
static_assert(sizeof(Vec3) == 3 * sizeof(float), "Vec3 must stay three packed floats");

// Arithmetic runs in double precision; each component is rounded to float once, when stored.
Vec3 Cross(Vec3 u, Vec3 v);
// Turns +y toward +z; x passes through untouched.
Vec3 RotateX(Vec3 v, float angle);
// Turns +x toward +z; y passes through untouched.
Vec3 RotateY(Vec3 v, float angle);
// Turns +y toward +x; z passes through untouched.
Vec3 RotateZ(Vec3 v, float angle);

#endif
