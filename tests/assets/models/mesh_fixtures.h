// Small meshes for tests, written as .ebr files and loaded through the real reader.
#ifndef GLIMMERSET_TESTS_ASSETS_MODELS_MESH_FIXTURES_H
#define GLIMMERSET_TESTS_ASSETS_MODELS_MESH_FIXTURES_H

#include <array>
#include <string>
#include <vector>

#include "tools/models/ebr_writer.h"

namespace fixtures {

// A mesh from bare positions and indices; texture coordinates count up so each vertex's are unique.
inline ebr::MeshData MeshOf(const std::vector<std::array<float, 3>>& positions, const std::vector<int>& indices,
                            const std::string& name = "m") {
    ebr::MeshData mesh;
    mesh.name = name;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const auto& p = positions[i];
        mesh.vertices.push_back({p[0], p[1], p[2], 0.125f * static_cast<float>(i), 1.0f - 0.0625f * static_cast<float>(i)});
    }
    mesh.indices.assign(indices.begin(), indices.end());
    return mesh;
}

inline std::string FileOf(const std::vector<ebr::MeshData>& meshes) { return ebr::Encode(meshes); }

}  // namespace fixtures

#endif
