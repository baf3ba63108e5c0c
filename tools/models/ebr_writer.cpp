#include "tools/models/ebr_writer.h"

#include <cstdio>
#include <cstring>

namespace ebr {

void AppendInt(std::string& out, std::int32_t value) {
    const std::uint32_t bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((bits >> shift) & 0xFF));
}

void AppendFloat(std::string& out, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    AppendInt(out, static_cast<std::int32_t>(bits));
}

std::string EncodeMesh(const MeshData& mesh) {
    std::string out;
    AppendInt(out, static_cast<std::int32_t>(mesh.vertices.size()));
    AppendInt(out, static_cast<std::int32_t>(mesh.indices.size() / 3));
    AppendInt(out, static_cast<std::int32_t>(mesh.name.size()));
    out += mesh.name;
    for (const Vertex& v : mesh.vertices) {
        AppendFloat(out, v.x);
        AppendFloat(out, v.y);
        AppendFloat(out, v.z);
        AppendFloat(out, v.s);
        AppendFloat(out, v.t);
    }
    for (std::size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
        AppendInt(out, mesh.indices[i]);
        AppendInt(out, mesh.indices[i + 1]);
        AppendInt(out, mesh.indices[i + 2]);
    }
    return out;
}

std::string Encode(const std::vector<MeshData>& meshes) {
    std::string out;
    AppendInt(out, static_cast<std::int32_t>(meshes.size()));
    for (const MeshData& mesh : meshes) out += EncodeMesh(mesh);
    return out;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace ebr
