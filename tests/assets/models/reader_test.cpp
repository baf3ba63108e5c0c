// The .ebr reader on small files made here: what a well-formed file gives, and that every kind of
// damage ends in one message box and a model with no meshes, with nothing read past the end and no
// allocation larger than the file could back.
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>

#include "assets/model.h"
#include "tests/assets/models/mesh_fixtures.h"
#include "tests/support/test_support.h"

// Every allocation of this test program passes through here so the tests can see the largest one.
// The replacements pair malloc with free themselves, which the compiler cannot see through.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::atomic<std::size_t> largestAllocation{0};
void* Allocate(std::size_t size) {
    std::size_t seen = largestAllocation.load();
    while (size > seen && !largestAllocation.compare_exchange_weak(seen, size)) {
    }
    return std::malloc(size == 0 ? 1 : size);
}
}  // namespace

void* operator new(std::size_t size) {
    void* p = Allocate(size);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}
void* operator new[](std::size_t size) {
    void* p = Allocate(size);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

using ebr::AppendFloat;
using ebr::AppendInt;
using fixtures::FileOf;
using fixtures::MeshOf;
using testing_support::MessageBoxRecorder;
using testing_support::ScratchDir;

// Appends a mesh record with the counts given, whatever the data that follows.
void AppendHeader(std::string& out, int v, int t, int nameLength) {
    AppendInt(out, v);
    AppendInt(out, t);
    AppendInt(out, nameLength);
}

void AppendVertices(std::string& out, int count) {
    for (int i = 0; i < count; ++i) {
        for (float f : {1.0f * i, 2.0f, 3.0f - i, 0.5f, 0.25f}) AppendFloat(out, f);
    }
}

void AppendTriangle(std::string& out, int a, int b, int c) {
    AppendInt(out, a);
    AppendInt(out, b);
    AppendInt(out, c);
}

// Two meshes: a named triangle and a nameless pair of triangles.
std::string ValidFile() {
    return FileOf({MeshOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2}, "alpha"),
                   MeshOf({{0, 0, 1}, {2, 0, 1}, {2, 2, 1}, {0, 2, 1}}, {0, 1, 2, 0, 2, 3}, "")});
}

void ExpectDamaged(const MessageBoxRecorder& boxes, const Model& model, const std::string& path) {
    EXPECT_EQ(model.meshCount, 0);
    EXPECT_EQ(model.meshes, nullptr);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].owner, nullptr);
    EXPECT_EQ(boxes.boxes[0].text, "Error: damaged .ebr file");
    EXPECT_EQ(boxes.boxes[0].caption, path);
    EXPECT_EQ(boxes.boxes[0].type, static_cast<UINT>(MB_OK));
}

TEST(Reader, MeshCountZeroGivesNoMeshes) {
    ScratchDir dir;
    MessageBoxRecorder boxes;
    dir.Write("empty.ebr", FileOf({}));
    Model model("empty.ebr");
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(model.meshCount, 0);
    model.ComputeNormals();
}

TEST(Reader, ReadsEveryFieldOfEveryMeshInOrder) {
    ScratchDir dir;
    MessageBoxRecorder boxes;
    // A name of exactly 100 bytes, made of digits that would read as counts if they were not skipped.
    const std::string longName(100, '7');
    std::string bytes = FileOf({MeshOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2}, longName),
                                MeshOf({{0.5f, -1.5f, 2}, {2, 0, 1}, {2, 2, 1}, {0, 2, 1}}, {3, 1, 2, 0, 2, 3}, "")});
    bytes += std::string("trailing bytes \xff\xff\xff\xff are never read");
    dir.Write("two.ebr", bytes);
    Model model("two.ebr");
    EXPECT_TRUE(boxes.boxes.empty());
    ASSERT_EQ(model.meshCount, 2);

    const Mesh& a = *model.meshes[0];
    ASSERT_EQ(a.vertexCount, 3);
    ASSERT_EQ(a.triangleCount, 1);
    EXPECT_EQ(a.positions[1].x, 1.0f);
    EXPECT_EQ(a.positions[2].y, 1.0f);
    EXPECT_EQ(a.normals[0].z, 1.0f);

    const Mesh& b = *model.meshes[1];
    ASSERT_EQ(b.vertexCount, 4);
    ASSERT_EQ(b.triangleCount, 2);
    EXPECT_EQ(b.positions[0].x, 0.5f);
    EXPECT_EQ(b.positions[0].y, -1.5f);
    EXPECT_EQ(b.positions[0].z, 2.0f);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(b.texCoords[2 * i], 0.125f * i);
        EXPECT_EQ(b.texCoords[2 * i + 1], 1.0f - 0.0625f * i);
    }
    const int expected[] = {3, 1, 2, 0, 2, 3};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(b.indices[k], expected[k]);
}

TEST(Reader, MissingFileIsReportedAndLeavesNoMeshes) {
    ScratchDir dir;
    MessageBoxRecorder boxes;
    Model model("nowhere.ebr");
    EXPECT_EQ(model.meshCount, 0);
    EXPECT_EQ(model.meshes, nullptr);
    model.ComputeNormals();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].owner, nullptr);
    EXPECT_EQ(boxes.boxes[0].text, "Error: .ebr file not found");
    EXPECT_EQ(boxes.boxes[0].caption, "nowhere.ebr");
    EXPECT_EQ(boxes.boxes[0].type, static_cast<UINT>(MB_OK));
}

TEST(Reader, EveryTruncationIsDamaged) {
    ScratchDir dir;
    const std::string whole = ValidFile();
    for (std::size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        MessageBoxRecorder boxes;
        dir.Write("cut.ebr", whole.substr(0, length));
        Model model("cut.ebr");
        ExpectDamaged(boxes, model, "cut.ebr");
    }
    MessageBoxRecorder boxes;
    dir.Write("whole.ebr", whole);
    Model model("whole.ebr");
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(model.meshCount, 2);
}

struct DamagedCase {
    const char* name;
    std::function<std::string()> bytes;
};

std::ostream& operator<<(std::ostream& out, const DamagedCase& c) { return out << c.name; }

// A file whose one mesh has the counts given and then just enough bytes for a tiny real mesh.
std::string OneMesh(int v, int t, int nameLength) {
    std::string out;
    AppendInt(out, 1);
    AppendHeader(out, v, t, nameLength);
    out += std::string(nameLength > 0 ? nameLength : 0, 'n');
    AppendVertices(out, 3);
    AppendTriangle(out, 0, 1, 2);
    return out;
}

const DamagedCase kDamaged[] = {
    {"NegativeMeshCount", [] { std::string s; AppendInt(s, -1); return s + OneMesh(3, 1, 0).substr(4); }},
    {"MoreMeshesThanRecords", [] { std::string s = ValidFile(); s[0] = 3; return s; }},
    {"HugeMeshCount", [] { std::string s; AppendInt(s, INT_MAX); return s + OneMesh(3, 1, 0).substr(4); }},
    {"NegativeVertexCount", [] { return OneMesh(-1, 1, 0); }},
    {"NegativeTriangleCount", [] { return OneMesh(3, -1, 0); }},
    {"NegativeNameLength", [] { return OneMesh(3, 1, -1); }},
    {"NameLength101", [] { return OneMesh(3, 1, 101); }},
    {"VertexCountBeyondFile", [] { return OneMesh(4, 1, 0); }},
    {"TriangleCountBeyondFile", [] { return OneMesh(3, 2, 0); }},
    {"HugeVertexCount", [] { return OneMesh(INT_MAX, 1, 0); }},
    {"HugeTriangleCount", [] { return OneMesh(3, INT_MAX, 0); }},
    // 12 * 0x15555556 wraps to 8 in 32 bits, which the tail of this file would satisfy.
    {"TriangleBytesWrapIn32Bits", [] { return OneMesh(3, 0x15555556, 0) + std::string(64, '\0'); }},
    {"VertexBytesWrapIn32Bits", [] { return OneMesh(0x0CCCCCCD, 1, 0) + std::string(64, '\0'); }},
    {"IndexEqualToVertexCount", [] {
         std::string s = OneMesh(3, 1, 0);
         s.replace(s.size() - 4, 4, std::string("\x03\0\0\0", 4));
         return s;
     }},
    {"IndexMinusOne", [] {
         std::string s = OneMesh(3, 1, 0);
         s.replace(s.size() - 12, 4, std::string("\xff\xff\xff\xff", 4));
         return s;
     }},
    {"IndexInTriangleFreeMesh", [] {
         // Vertex-free mesh followed by a triangle that names vertex 0.
         std::string s;
         AppendInt(s, 1);
         AppendHeader(s, 0, 1, 0);
         AppendTriangle(s, 0, 0, 0);
         return s;
     }},
    {"SecondMeshDamagedAfterAGoodOne", [] {
         std::string s = ValidFile();
         s[0] = 2;
         // Turn the second mesh's first index into 4 (it has four vertices).
         s.replace(s.size() - 24, 4, std::string("\x04\0\0\0", 4));
         return s;
     }},
};

class Damaged : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(Damaged, EndsWithOneBoxNoMeshesAndNoLargeAllocation) {
    ScratchDir dir;
    const std::string bytes = GetParam().bytes();
    dir.Write("bad.ebr", bytes);
    MessageBoxRecorder boxes;
    largestAllocation = 0;
    Model model("bad.ebr");
    // The reader's own buffer starts at 64 KiB; nothing may ask for the gigabytes the counts claim.
    EXPECT_LE(largestAllocation.load(), std::size_t{1} << 20);
    ExpectDamaged(boxes, model, "bad.ebr");
    model.ComputeNormals();
}

INSTANTIATE_TEST_SUITE_P(Cases, Damaged, ::testing::ValuesIn(kDamaged),
                         [](const ::testing::TestParamInfo<DamagedCase>& info) { return std::string(info.param.name); });

TEST(Reader, CheckedCountsStillAcceptLargeValidMeshes) {
    // The checks bound counts by the file's size, not by a fixed limit.
    ScratchDir dir;
    MessageBoxRecorder boxes;
    std::string s;
    AppendInt(s, 1);
    const int v = 40000;
    AppendHeader(s, v, v - 2, 0);
    AppendVertices(s, v);
    for (int k = 0; k + 2 < v; ++k) AppendTriangle(s, k, k + 1, k + 2);
    dir.Write("big.ebr", s);
    Model model("big.ebr");
    EXPECT_TRUE(boxes.boxes.empty());
    ASSERT_EQ(model.meshCount, 1);
    EXPECT_EQ(model.meshes[0]->vertexCount, v);
    EXPECT_EQ(model.meshes[0]->indices[3 * (v - 3) + 2], v - 1);
}

}  // namespace
