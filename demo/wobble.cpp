#include "demo/wobble.h"

#include <cmath>

void WobblePhase(float demoTime, Model& working, const Model& rest) {
    if (working.meshCount < 1 || rest.meshCount < 1) return;
    Mesh& w = *working.meshes[0];
    const Mesh& r = *rest.meshes[0];
    if (w.vertexCount != r.vertexCount) return;

    // The rate factors are float constants, widened; the amplitude's constants are doubles.
    const double t = demoTime;
    const float xFrequency = static_cast<float>(4.0f * std::sin(static_cast<double>(1.2f) * t) + 3.0f);
    const float yFrequency = static_cast<float>(4.0f * (std::sin(static_cast<double>(1.3f) * t) + 1.0f));
    const float zFrequency = static_cast<float>(7.0f * std::sin(static_cast<double>(1.1f) * t) + 1.0f);
    const float amplitude = static_cast<float>(25.0 * std::sin(1.4 * t) + 20.0);

    const double fx = xFrequency, fy = yFrequency, fz = zFrequency, a = amplitude;
    for (int i = 0; i < w.vertexCount; ++i) {
        const Vec3 n = r.normals[i];
        const Vec3 p = r.positions[i];
        const double s = std::sin(fx * n.x + t) * std::sin(fy * n.y + t) * std::sin(fz * n.z + t);
        const double k = a * s;
        w.positions[i] = Vec3{static_cast<float>(p.x + k * n.x), static_cast<float>(p.y + k * n.y),
                              static_cast<float>(p.z + k * n.z)};
    }
    working.ComputeNormals();
}
