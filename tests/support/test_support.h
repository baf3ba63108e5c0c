// Small helpers shared by the tests: a clock the test moves, a record of message boxes, frame
// read-back, scratch folders and outside commands (xdotool, xwininfo).
#ifndef GLIMMERSET_TESTS_SUPPORT_H
#define GLIMMERSET_TESTS_SUPPORT_H

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/win32.h"

namespace testing_support {

// Replaces the performance counter for the life of the object: it reads `ticks`, at `frequency`.
class ManualClock {
public:
    explicit ManualClock(std::int64_t frequency = 1000000, std::int64_t start = 0);
    ~ManualClock();
    std::int64_t ticks;
    // Advances by this much at every read (0: stands still between explicit moves).
    std::int64_t stepPerRead = 0;
    int reads = 0;
};

struct RecordedBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

// Catches every MessageBoxA for the life of the object; each returns IDOK at once.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    std::vector<RecordedBox> boxes;
};

struct Rgb {
    int r, g, b;
};

// Reads the current read framebuffer (the picture the show draws into).
std::vector<unsigned char> ReadFrame(int width, int height);
Rgb PixelAt(const std::vector<unsigned char>& frame, int width, int x, int y);

// A fresh empty folder that becomes the working directory for the life of the object.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    std::string path;
    void Write(const std::string& name, const std::string& bytes) const;

private:
    std::string previous_;
};

// Runs a shell command; returns its standard output, and its exit status through `status`.
std::string Run(const std::string& command, int* status = nullptr);

// A program run in the background, ended by the destructor if it is still running.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& argv, const std::string& workingDir);
    ~ChildProcess();
    bool Running();
    // Waits up to `seconds`; true once the program has ended, with its exit status (-signal when a
    // signal ended it).
    bool Wait(double seconds, int* status);
    void Signal(int signal);
    int pid() const { return pid_; }

private:
    int pid_ = -1;
    bool ended_ = false;
    int status_ = 0;
};

// Folders the build handed the tests (source tree; generated assets beside the show).
std::string SourceDir();
std::string AssetDir();

}  // namespace testing_support

#endif
