#include "tests/support/test_support.h"

#include <GL/gl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "platform/win32/win32_seam.h"

namespace testing_support {

ManualClock::ManualClock(std::int64_t frequency, std::int64_t start) : ticks(start) {
    win32seam::SetCounter(
        [this]() {
            ++reads;
            std::int64_t now = ticks;
            ticks += stepPerRead;
            return now;
        },
        frequency);
}

ManualClock::~ManualClock() { win32seam::SetCounter(nullptr, 0); }

MessageBoxRecorder::MessageBoxRecorder() {
    win32seam::SetMessageBoxHook([this](HWND owner, const char* text, const char* caption, UINT type) {
        boxes.push_back({owner, text ? text : "", caption ? caption : "", type});
        return IDOK;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() { win32seam::SetMessageBoxHook(nullptr); }

std::vector<unsigned char> ReadFrame(int width, int height) {
    std::vector<unsigned char> frame(static_cast<size_t>(width) * height * 3);
    GLint alignment;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    return frame;
}

Rgb PixelAt(const std::vector<unsigned char>& frame, int width, int x, int y) {
    size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return Rgb{frame[i], frame[i + 1], frame[i + 2]};
}

ScratchDir::ScratchDir() {
    char pattern[] = "/tmp/glimmerset-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
    path = pattern;
    char cwd[4096];
    previous_ = getcwd(cwd, sizeof(cwd)) ? cwd : "/";
    if (chdir(path.c_str()) != 0) throw std::runtime_error("chdir failed");
}

ScratchDir::~ScratchDir() {
    if (chdir(previous_.c_str()) != 0) std::perror("chdir");
    Run("rm -rf '" + path + "'");
}

void ScratchDir::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(path + "/" + name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Run(const std::string& command, int* status) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        if (status) *status = -1;
        return output;
    }
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) output.append(buffer, n);
    int rc = pclose(pipe);
    if (status) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return output;
}

std::string SourceDir() {
    const char* dir = std::getenv("GLIMMERSET_SOURCE_DIR");
    return dir ? dir : ".";
}

std::string AssetDir() {
    const char* dir = std::getenv("GLIMMERSET_ASSET_DIR");
    return dir ? dir : ".";
}

}  // namespace testing_support
