#include "tests/support/test_support.h"

#include <GL/gl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

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

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& workingDir) {
    pid_ = fork();
    if (pid_ == 0) {
        if (chdir(workingDir.c_str()) != 0) _exit(127);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
}

ChildProcess::~ChildProcess() {
    if (Running()) {
        kill(pid_, SIGKILL);
        Wait(5, nullptr);
    }
}

bool ChildProcess::Running() {
    if (pid_ <= 0 || ended_) return false;
    int status;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        ended_ = true;
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
        return false;
    }
    return true;
}

bool ChildProcess::Wait(double seconds, int* status) {
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (Running() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (status && ended_) *status = status_;
    return ended_;
}

void ChildProcess::Signal(int signal) {
    if (Running()) kill(pid_, signal);
}

std::string SourceDir() { return GLIMMERSET_SOURCE_DIR; }

std::string AssetDir() { return GLIMMERSET_ASSET_DIR; }

}  // namespace testing_support
