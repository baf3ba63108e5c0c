#include "assets/vec3.h"

#include <cmath>

Vec3 Cross(Vec3 u, Vec3 v) {
    const double ux = u.x, uy = u.y, uz = u.z;
    const double vx = v.x, vy = v.y, vz = v.z;
    return Vec3{static_cast<float>(uy * vz - uz * vy),
                static_cast<float>(uz * vx - ux * vz),
                static_cast<float>(ux * vy - uy * vx)};
}

// The rotations take the float sine and cosine of the float angle and widen them; the rest is
// double arithmetic, rounded once per stored component. The component along the rotation's own
// axis is copied, never recomputed, so it comes back bit for bit.

Vec3 RotateX(Vec3 v, float angle) {
    const double s = std::sin(angle);
    const double c = std::cos(angle);
    const double y = v.y, z = v.z;
    return Vec3{v.x, static_cast<float>(c * y - s * z), static_cast<float>(s * y + c * z)};
}

Vec3 RotateY(Vec3 v, float angle) {
    const double s = std::sin(angle);
    const double c = std::cos(angle);
    const double x = v.x, z = v.z;
    return Vec3{static_cast<float>(c * x - s * z), v.y, static_cast<float>(s * x + c * z)};
}

Vec3 RotateZ(Vec3 v, float angle) {
    const double s = std::sin(angle);
    const double c = std::cos(angle);
    const double x = v.x, y = v.y;
    return Vec3{static_cast<float>(c * x + s * y), static_cast<float>(c * y - s * x), v.z};
}
