#include "demo/lag.h"

#include <cmath>
#include <new>

LagBuffers::LagBuffers() : vertexCount(0), lagFactors(nullptr), lagAngles(nullptr) {}

LagBuffers::~LagBuffers() {
    delete[] lagAngles;
    delete[] lagFactors;
}

void LagSetup(LagBuffers& lag, const Model& working) {
    delete[] lag.lagAngles;
    delete[] lag.lagFactors;
    lag.vertexCount = 0;
    lag.lagFactors = nullptr;
    lag.lagAngles = nullptr;
    if (working.meshCount < 1) return;

    const Mesh& mesh = *working.meshes[0];
    const int count = mesh.vertexCount;
    float* factors = new (std::nothrow) float[count];
    Vec3* angles = new (std::nothrow) Vec3[count];
    if (factors == nullptr || angles == nullptr) {
        delete[] factors;
        delete[] angles;
        return;
    }
    for (int i = 0; i < count; ++i) {
        const Vec3 p = mesh.positions[i];
        const double x = p.x, y = p.y, z = p.z;
        factors[i] = static_cast<float>(std::sqrt(std::sqrt(x * x + y * y + z * z)));
        angles[i] = Vec3{0.0f, 0.0f, 0.0f};
    }
    lag.vertexCount = count;
    lag.lagFactors = factors;
    lag.lagAngles = angles;
}

namespace {

// One angle's step toward its target: the gap divided by the lag factor, times delta, times 100000,
// in double precision in that order. A vertex at the origin has a lag factor of 0; dividing by it
// would make its angles infinite or not a number, and through its rotated position (0 times
// infinity) the normals of every triangle around it. It follows without lag instead: its angles
// land on the targets at once, and as it is turned about the origin its position stays the origin.
float Chase(float angle, float target, float lagFactor, double delta) {
    if (lagFactor == 0.0f) return target;
    const double a = angle;
    return static_cast<float>((static_cast<double>(target) - a) / lagFactor * delta *
                                  static_cast<double>(100000.0f) +
                              a);
}

}  // namespace

void LagPhase(LagBuffers& lag, float demoTime, float delta, Model& working, const Model& rest) {
    if (working.meshCount < 1 || rest.meshCount < 1) return;
    Mesh& w = *working.meshes[0];
    const Mesh& r = *rest.meshes[0];
    if (lag.vertexCount != w.vertexCount || r.vertexCount != w.vertexCount) return;

    const double t = demoTime;
    const float first = static_cast<float>(13.0 * std::sin(0.2 * t) + 9.0);
    const float second = static_cast<float>(13.0 * std::sin(0.1 * t) + 5.0);
    const float third = static_cast<float>(13.0 * std::sin(0.12 * t) + 1.0);

    const double d = delta;
    for (int i = 0; i < w.vertexCount; ++i) {
        Vec3& angles = lag.lagAngles[i];
        const float factor = lag.lagFactors[i];
        angles.x = Chase(angles.x, first, factor, d);
        angles.y = Chase(angles.y, second, factor, d);
        angles.z = Chase(angles.z, third, factor, d);
        w.positions[i] = RotateZ(RotateY(RotateX(r.positions[i], angles.x), angles.y), angles.z);
    }
    working.ComputeNormals();
}
