// Writes .ebr model files: a mesh count, then per mesh its vertex count, triangle count, name
// length, name bytes, interleaved position and texture coordinate per vertex, and three indices per
// triangle; all little-endian 32-bit values.
#ifndef GLIMMERSET_TOOLS_MODELS_EBR_WRITER_H
#define GLIMMERSET_TOOLS_MODELS_EBR_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

namespace ebr {

struct Vertex {
    float x, y, z;
    float s, t;
};

struct MeshData {
    std::string name;  // at most 100 bytes in a well-formed file
    std::vector<Vertex> vertices;
    std::vector<std::int32_t> indices;  // three per triangle, counter-clockwise from the front
};

// Little-endian pieces, for building deliberately odd files byte by byte.
void AppendInt(std::string& out, std::int32_t value);
void AppendFloat(std::string& out, float value);

// One mesh record, with its counts taken from the data.
std::string EncodeMesh(const MeshData& mesh);
// A whole file: the mesh count, then each record.
std::string Encode(const std::vector<MeshData>& meshes);
// Writes the bytes to `path`; false if the file could not be written in full.
bool WriteFile(const std::string& path, const std::string& bytes);

}  // namespace ebr

#endif
