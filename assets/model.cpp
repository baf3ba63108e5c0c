#include "assets/model.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>

#include "platform/win32/win32.h"

Mesh::Mesh(int vertexCount, int triangleCount)
    : vertexCount(vertexCount),
      triangleCount(triangleCount),
      positions(nullptr),
      normals(nullptr),
      texCoords(nullptr),
      indices(nullptr) {
    const std::size_t v = vertexCount > 0 ? static_cast<std::size_t>(vertexCount) : 0;
    const std::size_t t = triangleCount > 0 ? static_cast<std::size_t>(triangleCount) : 0;
    positions = new (std::nothrow) Vec3[v];
    normals = new (std::nothrow) Vec3[v];
    texCoords = new (std::nothrow) float[2 * v];
    indices = new (std::nothrow) int[3 * t];
    if (positions == nullptr || normals == nullptr || texCoords == nullptr || indices == nullptr ||
        vertexCount < 0 || triangleCount < 0) {
        // Out of memory (or counts no array can have): an empty mesh that every operation accepts.
        // The loader notices the changed counts.
        delete[] positions;
        delete[] normals;
        delete[] texCoords;
        delete[] indices;
        positions = normals = nullptr;
        texCoords = nullptr;
        indices = nullptr;
        this->vertexCount = 0;
        this->triangleCount = 0;
    }
}

Mesh::~Mesh() {
    delete[] indices;
    delete[] texCoords;
    delete[] normals;
    delete[] positions;
}

void Mesh::ComputeNormals() {
    for (int i = 0; i < vertexCount; ++i) normals[i] = Vec3{0.0f, 0.0f, 0.0f};

    // Face normals are left unnormalised: their length is twice the triangle's area, so larger
    // triangles weigh more. The order of the additions fixes every bit of the result.
    for (int k = 0; k < triangleCount; ++k) {
        const int i0 = indices[3 * k];
        const int i1 = indices[3 * k + 1];
        const int i2 = indices[3 * k + 2];
        const Vec3 p0 = positions[i0];
        const Vec3 p1 = positions[i1];
        const Vec3 p2 = positions[i2];
        const Vec3 u{static_cast<float>(static_cast<double>(p1.x) - p0.x),
                     static_cast<float>(static_cast<double>(p1.y) - p0.y),
                     static_cast<float>(static_cast<double>(p1.z) - p0.z)};
        const Vec3 v{static_cast<float>(static_cast<double>(p2.x) - p0.x),
                     static_cast<float>(static_cast<double>(p2.y) - p0.y),
                     static_cast<float>(static_cast<double>(p2.z) - p0.z)};
        const Vec3 n = Cross(u, v);
        for (int corner : {i0, i1, i2}) {
            Vec3& sum = normals[corner];
            sum.x = static_cast<float>(static_cast<double>(sum.x) + n.x);
            sum.y = static_cast<float>(static_cast<double>(sum.y) + n.y);
            sum.z = static_cast<float>(static_cast<double>(sum.z) + n.z);
        }
    }

    // A zero sum (a vertex no triangle uses) becomes non-finite here; nothing draws such a vertex.
    for (int i = 0; i < vertexCount; ++i) {
        Vec3& n = normals[i];
        const double x = n.x, y = n.y, z = n.z;
        const double r = 1.0 / std::sqrt(x * x + y * y + z * z);
        n.x = static_cast<float>(x * r);
        n.y = static_cast<float>(y * r);
        n.z = static_cast<float>(z * r);
    }
}

namespace {

const char kNotFound[] = "Error: .ebr file not found";
const char kDamaged[] = "Error: damaged .ebr file";

const int kMaxNameLength = 100;
const std::size_t kMeshHeaderBytes = 12;
const std::size_t kVertexBytes = 20;
const std::size_t kTriangleBytes = 12;

// The whole file in memory. Every count is checked against what is actually there before anything
// is allocated for it, so a damaged file can neither make the loader read past its end nor ask for
// more memory than its own size backs.
struct FileBytes {
    unsigned char* data = nullptr;
    std::size_t size = 0;
    ~FileBytes() { std::free(data); }
};

// Reads the open stream to its end. False if memory runs out or the read fails.
bool ReadAll(std::FILE* file, FileBytes& out) {
    std::size_t capacity = 0;
    for (;;) {
        if (out.size == capacity) {
            const std::size_t grown = capacity == 0 ? 64 * 1024 : capacity * 2;
            if (grown < capacity) return false;
            void* bigger = std::realloc(out.data, grown);
            if (bigger == nullptr) return false;
            out.data = static_cast<unsigned char*>(bigger);
            capacity = grown;
        }
        const std::size_t n = std::fread(out.data + out.size, 1, capacity - out.size, file);
        out.size += n;
        if (n == 0) return std::ferror(file) == 0;
    }
}

// Sequential little-endian reads with a bound; each says whether the bytes were there.
class Reader {
public:
    Reader(const unsigned char* data, std::size_t size) : data_(data), left_(size) {}

    std::size_t Left() const { return left_; }

    bool Int(int& value) {
        std::uint32_t bits;
        if (!Word(bits)) return false;
        value = static_cast<int>(static_cast<std::int32_t>(bits));
        return true;
    }

    bool Float(float& value) {
        std::uint32_t bits;
        if (!Word(bits)) return false;
        std::memcpy(&value, &bits, sizeof(value));
        return true;
    }

    bool Skip(std::size_t n) {
        if (n > left_) return false;
        data_ += n;
        left_ -= n;
        return true;
    }

private:
    bool Word(std::uint32_t& bits) {
        if (left_ < 4) return false;
        bits = static_cast<std::uint32_t>(data_[0]) | static_cast<std::uint32_t>(data_[1]) << 8 |
               static_cast<std::uint32_t>(data_[2]) << 16 | static_cast<std::uint32_t>(data_[3]) << 24;
        data_ += 4;
        left_ -= 4;
        return true;
    }

    const unsigned char* data_;
    std::size_t left_;
};

// Reads one mesh record, or returns null if the record is damaged or memory runs out.
Mesh* ReadMesh(Reader& in) {
    int v, t, nameLength;
    if (!in.Int(v) || !in.Int(t) || !in.Int(nameLength)) return nullptr;
    if (v < 0 || t < 0 || nameLength < 0 || nameLength > kMaxNameLength) return nullptr;
    // The name is read and discarded, never interpreted.
    if (!in.Skip(static_cast<std::size_t>(nameLength))) return nullptr;
    const std::uint64_t needed = static_cast<std::uint64_t>(v) * kVertexBytes +
                                 static_cast<std::uint64_t>(t) * kTriangleBytes;
    if (needed > in.Left()) return nullptr;

    Mesh* mesh = new (std::nothrow) Mesh(v, t);
    if (mesh == nullptr) return nullptr;
    if (mesh->vertexCount != v || mesh->triangleCount != t) {
        delete mesh;
        return nullptr;
    }
    for (int j = 0; j < v; ++j) {
        Vec3& p = mesh->positions[j];
        in.Float(p.x);
        in.Float(p.y);
        in.Float(p.z);
        in.Float(mesh->texCoords[2 * j]);
        in.Float(mesh->texCoords[2 * j + 1]);
    }
    for (int k = 0; k < 3 * t; ++k) {
        int index = 0;
        in.Int(index);
        if (index < 0 || index >= v) {
            delete mesh;
            return nullptr;
        }
        mesh->indices[k] = index;
    }
    mesh->ComputeNormals();
    return mesh;
}

}  // namespace

Model::Model(const char* path) : meshCount(0), meshes(nullptr) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        MessageBoxA(nullptr, kNotFound, path, MB_OK);
        return;
    }
    FileBytes bytes;
    const bool read = ReadAll(file, bytes);
    std::fclose(file);

    bool damaged = !read;
    Reader in(bytes.data, bytes.size);
    int count = 0;
    // Every record takes at least its 12-byte header, which bounds the table by the file's size.
    if (!damaged && (!in.Int(count) || count < 0 ||
                     static_cast<std::uint64_t>(count) > in.Left() / kMeshHeaderBytes)) {
        damaged = true;
    }
    if (!damaged && count > 0) {
        meshes = new (std::nothrow) Mesh*[static_cast<std::size_t>(count)];
        if (meshes == nullptr) damaged = true;
    }
    for (int i = 0; !damaged && i < count; ++i) {
        Mesh* mesh = ReadMesh(in);
        if (mesh == nullptr) {
            damaged = true;
            break;
        }
        meshes[meshCount++] = mesh;
    }
    // Bytes after the last record are ignored.

    if (damaged) {
        for (int i = 0; i < meshCount; ++i) delete meshes[i];
        delete[] meshes;
        meshes = nullptr;
        meshCount = 0;
        MessageBoxA(nullptr, kDamaged, path, MB_OK);
    }
}

Model::~Model() {
    for (int i = 0; i < meshCount; ++i) delete meshes[i];
    delete[] meshes;
}

void Model::ComputeNormals() {
    for (int i = 0; i < meshCount; ++i) meshes[i]->ComputeNormals();
}
