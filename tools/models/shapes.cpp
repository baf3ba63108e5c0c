#include "tools/models/shapes.h"

#include <cmath>

namespace ebr {

namespace {

const double kPi = 3.14159265358979323846;

Vertex MakeVertex(const Point& p, double s, double t) {
    return Vertex{static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]),
                  static_cast<float>(s), static_cast<float>(t)};
}

// Appends a triangle, counter-clockwise as given when seen from outside, or the other way round.
void AddTriangle(MeshData& mesh, int a, int b, int c, bool inward) {
    mesh.indices.push_back(a);
    mesh.indices.push_back(inward ? c : b);
    mesh.indices.push_back(inward ? b : c);
}

}  // namespace

MeshData ClosedSurface(const std::string& name, int columns, int rows,
                       const std::function<Point(double, double)>& surface, bool inward) {
    MeshData mesh;
    mesh.name = name;
    mesh.vertices.push_back(MakeVertex(surface(0.0, -kPi / 2), 0.5, 0.0));
    for (int j = 1; j < rows; ++j) {
        const double phi = -kPi / 2 + kPi * j / rows;
        for (int i = 0; i < columns; ++i) {
            const double theta = 2 * kPi * i / columns;
            mesh.vertices.push_back(MakeVertex(surface(theta, phi), static_cast<double>(i) / columns,
                                               static_cast<double>(j) / rows));
        }
    }
    mesh.vertices.push_back(MakeVertex(surface(0.0, kPi / 2), 0.5, 1.0));

    const int south = 0;
    const int north = static_cast<int>(mesh.vertices.size()) - 1;
    auto ring = [columns](int j, int i) { return 1 + (j - 1) * columns + (i % columns); };
    for (int i = 0; i < columns; ++i) AddTriangle(mesh, south, ring(1, i + 1), ring(1, i), inward);
    for (int j = 1; j + 1 < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            AddTriangle(mesh, ring(j, i), ring(j, i + 1), ring(j + 1, i + 1), inward);
            AddTriangle(mesh, ring(j, i), ring(j + 1, i + 1), ring(j + 1, i), inward);
        }
    }
    for (int i = 0; i < columns; ++i) AddTriangle(mesh, north, ring(rows - 1, i), ring(rows - 1, i + 1), inward);
    return mesh;
}

MeshData Tube(const std::string& name, int columns, int rows,
              const std::function<Point(double, double)>& surface, bool inward) {
    MeshData mesh;
    mesh.name = name;
    for (int j = 0; j <= rows; ++j) {
        const double u = static_cast<double>(j) / rows;
        for (int i = 0; i < columns; ++i) {
            const double theta = 2 * kPi * i / columns;
            mesh.vertices.push_back(MakeVertex(surface(theta, u), static_cast<double>(i) / columns, u));
        }
    }
    auto at = [columns](int j, int i) { return j * columns + (i % columns); };
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            AddTriangle(mesh, at(j, i), at(j, i + 1), at(j + 1, i + 1), inward);
            AddTriangle(mesh, at(j, i), at(j + 1, i + 1), at(j + 1, i), inward);
        }
    }
    return mesh;
}

}  // namespace ebr
