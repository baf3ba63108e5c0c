// Surfaces for .ebr meshes built from a parametric function, with shared vertices so the computed
// normals come out smooth, and counter-clockwise winding seen from the side that is meant to show.
#ifndef GLIMMERSET_TOOLS_MODELS_SHAPES_H
#define GLIMMERSET_TOOLS_MODELS_SHAPES_H

#include <array>
#include <functional>
#include <string>

#include "tools/models/ebr_writer.h"

namespace ebr {

using Point = std::array<double, 3>;

// A closed surface over longitude theta in [0, 2 pi) and latitude phi in [-pi/2, pi/2], with one
// vertex at each pole. `surface` must map (theta, -pi/2) and (theta, pi/2) to the two poles and run
// from +x toward +y in theta and toward +z in phi, like the unit sphere
// (cos phi cos theta, cos phi sin theta, sin phi). Columns around, rows from pole to pole.
// Vertices: columns * (rows - 1) + 2; triangles: 2 * columns * (rows - 1).
MeshData ClosedSurface(const std::string& name, int columns, int rows,
                       const std::function<Point(double theta, double phi)>& surface, bool inward);

// An open tube over theta in [0, 2 pi) around and u in [0, 1] along, oriented like the cylinder
// (cos theta, sin theta, u). Vertices: columns * (rows + 1); triangles: 2 * columns * rows.
MeshData Tube(const std::string& name, int columns, int rows,
              const std::function<Point(double theta, double u)>& surface, bool inward);

}  // namespace ebr

#endif
