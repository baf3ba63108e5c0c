// Writes the show's four model files into the folder given as the only argument. The output
// depends on nothing but this program, so every build makes the same files.
#include <cmath>
#include <cstdio>
#include <string>

#include "tools/models/ebr_writer.h"
#include "tools/models/shapes.h"

namespace {

const double kPi = 3.14159265358979323846;

// The superformula: a radius that runs through m lobes per turn, shaped by n1, n2 and n3.
double Superformula(double angle, double m, double n1, double n2, double n3) {
    const double c = std::fabs(std::cos(m * angle / 4));
    const double s = std::fabs(std::sin(m * angle / 4));
    return std::pow(std::pow(c, n2) + std::pow(s, n3), -1.0 / n1);
}

// Sign-keeping power, for the rounded box.
double SignedPow(double value, double exponent) {
    return std::copysign(std::pow(std::fabs(value), exponent), value);
}

// Superfigur: the spherical product of two superformulas, a closed many-lobed solid. Its size
// leaves room for the wobble, which pushes vertices up to 45 units along their normals.
ebr::MeshData Superfigur() {
    const double scale = 55.0;
    return ebr::ClosedSurface("superfigur", 100, 40, [scale](double theta, double phi) {
        const double r1 = Superformula(theta, 8, 0.9, 1.3, 1.3);
        const double r2 = Superformula(phi, 6, 1.1, 1.5, 1.5);
        return ebr::Point{scale * r1 * std::cos(theta) * r2 * std::cos(phi),
                          scale * r1 * std::sin(theta) * r2 * std::cos(phi), scale * r2 * std::sin(phi)};
    }, false);
}

// Slimy: a lumpy blob, a sphere swollen by a few slow waves. No vertex lies near the origin.
ebr::MeshData Slimy() {
    return ebr::ClosedSurface("slimy", 100, 40, [](double theta, double phi) {
        const double r = 62.0 * (1.0 + 0.16 * std::sin(3 * theta + 1.0) * std::cos(2 * phi) +
                                 0.10 * std::sin(5 * phi + 2 * theta) + 0.07 * std::cos(4 * theta - 3 * phi));
        return ebr::Point{1.15 * r * std::cos(phi) * std::cos(theta), r * std::cos(phi) * std::sin(theta),
                          0.9 * r * std::sin(phi)};
    }, false);
}

// Tunnel: a ribbed tube seen from inside, long enough that the camera looks down it.
ebr::MeshData Tunnel() {
    const double length = 520.0;
    return ebr::Tube("tunnel", 48, 40, [length](double theta, double u) {
        const double r = 75.0 + 9.0 * std::cos(2 * kPi * 8 * u) + 4.0 * std::sin(3 * theta);
        return ebr::Point{r * std::cos(theta), r * std::sin(theta), length * (u - 0.5)};
    }, true);
}

// Rommet: a room with rounded corners, seen from inside.
ebr::MeshData Rommet() {
    const double e = 0.3;  // small exponents flatten the walls and round the edges
    return ebr::ClosedSurface("rommet", 48, 24, [e](double theta, double phi) {
        const double cp = SignedPow(std::cos(phi), e);
        return ebr::Point{150.0 * cp * SignedPow(std::cos(theta), e), 150.0 * cp * SignedPow(std::sin(theta), e),
                          100.0 * SignedPow(std::sin(phi), e)};
    }, true);
}

bool Write(const std::string& folder, const char* name, const ebr::MeshData& mesh) {
    const std::string path = folder + "/" + name;
    if (!ebr::WriteFile(path, ebr::Encode({mesh}))) {
        std::fprintf(stderr, "make_models: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_models OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = Write(folder, "superfigur.ebr", Superfigur());
    ok = Write(folder, "slimy.ebr", Slimy()) && ok;
    ok = Write(folder, "tunnel.ebr", Tunnel()) && ok;
    ok = Write(folder, "rommet.ebr", Rommet()) && ok;
    return ok ? 0 : 1;
}
