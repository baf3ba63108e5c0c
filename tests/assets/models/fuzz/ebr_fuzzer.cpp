// libFuzzer target for the .ebr reader: every input is written to a file and loaded through the
// real constructor. Sanitizers catch any read past the end or misuse of memory; the checks below
// catch a model that does not match its file.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "assets/model.h"
#include "platform/win32/win32.h"

namespace {
std::string inputPath;
int boxes = 0;
}  // namespace

// The fuzz build has no window system: count the boxes instead of showing them.
int WINAPI MessageBoxA(HWND, LPCSTR, LPCSTR, UINT) {
    ++boxes;
    return IDOK;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/ebr-fuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    inputPath = std::string(pattern) + "/input.ebr";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(inputPath.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);

    boxes = 0;
    Model model(inputPath.c_str());
    if (boxes > 1) std::abort();
    if (boxes == 1 && (model.meshCount != 0 || model.meshes != nullptr)) std::abort();
    if (boxes == 0) {
        // Accepted: the mesh count is the file's, and the records fit inside the file.
        std::int32_t declared;
        if (size < 4) std::abort();
        std::memcpy(&declared, data, 4);
        if (declared != model.meshCount) std::abort();
        std::size_t used = 4;
        for (int i = 0; i < model.meshCount; ++i) {
            const Mesh& m = *model.meshes[i];
            if (m.vertexCount < 0 || m.triangleCount < 0) std::abort();
            for (int k = 0; k < 3 * m.triangleCount; ++k) {
                if (m.indices[k] < 0 || m.indices[k] >= m.vertexCount) std::abort();
            }
            std::int32_t nameLength;
            std::memcpy(&nameLength, data + used + 8, 4);
            used += 12 + static_cast<std::size_t>(nameLength) + 20 * static_cast<std::size_t>(m.vertexCount) +
                    12 * static_cast<std::size_t>(m.triangleCount);
            if (used > size) std::abort();
        }
    }
    model.ComputeNormals();
    return 0;
}
