// A display whose mode can be switched, as a real screen's can (Xvfb has one fixed mode), and the
// show run on it as a person runs it: a private X.Org server with the dummy video driver offering
// 1024x768 (its starting mode) and 800x600, what xrandr and XFixes say about it, and the built
// program started in a folder of the test's choosing with its output kept.
#ifndef GLIMMERSET_TESTS_FAULTS_DISPLAY_SUPPORT_H
#define GLIMMERSET_TESTS_FAULTS_DISPLAY_SUPPORT_H

#include <string>

namespace fault_support {

// The show's title as the X server holds it (UTF-8).
extern const char kShowTitle[];

class DummyDisplay {
public:
    // Starts the server on a free display number. When it cannot (not root, Xorg or its dummy
    // driver missing, the server refusing to start), Ready() is false and Reason() says why.
    DummyDisplay();
    ~DummyDisplay();
    DummyDisplay(const DummyDisplay&) = delete;
    DummyDisplay& operator=(const DummyDisplay&) = delete;

    bool Ready() const { return !name_.empty(); }
    const std::string& Reason() const { return reason_; }
    const std::string& Name() const { return name_; }  // ":N"

private:
    int pid_ = -1;
    std::string dir_;
    std::string name_;
    std::string reason_;
};

// The size of the mode the display's screen is in now, "WxH" as xrandr reports it; empty when
// xrandr cannot read it.
std::string CurrentMode(const std::string& display);

// The cursor the X server shows now (XFixes): its serial, its size, and whether any of its pixels
// can be seen.
struct Cursor {
    bool read = false;
    unsigned long serial = 0;
    int width = 0;
    int height = 0;
    bool visible = false;
};
Cursor CurrentCursor(const std::string& display);

// The built show, started with `workingDir` as its working directory on `display`, with SIGINT and
// SIGTERM at their defaults whatever the test runner left, and its standard output and error kept.
class ShowRun {
public:
    ShowRun(const std::string& workingDir, const std::string& display);
    ~ShowRun();  // kills it if it still runs
    ShowRun(const ShowRun&) = delete;
    ShowRun& operator=(const ShowRun&) = delete;

    bool Running();
    // Waits up to `seconds`; true once it has ended, with its exit status (-signal when a signal
    // ended it).
    bool Wait(double seconds, int* status);
    void Signal(int signal);
    std::string Output() const;  // what it wrote to standard output and error

private:
    int pid_ = -1;
    bool ended_ = false;
    int status_ = 0;
    std::string log_;
};

// Waits up to `seconds` for the show's window on `display`, while the show runs; 0 if none came.
unsigned long WaitForShowWindow(ShowRun& show, const std::string& display, double seconds);

void Sleep(double seconds);

// Polls `probe` until it returns true or `seconds` pass; its last answer.
template <typename Probe>
bool Eventually(double seconds, Probe probe) {
    for (double waited = 0.0; waited < seconds; waited += 0.1) {
        if (probe()) return true;
        Sleep(0.1);
    }
    return probe();
}

}  // namespace fault_support

#endif
