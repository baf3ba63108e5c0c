// Shared by the tests of the installed show: where the build lies, and running an installed show
// the way a person would, on the test's X server.
#ifndef GLIMMERSET_PACKAGING_TESTS_PACKAGE_SUPPORT_H
#define GLIMMERSET_PACKAGING_TESTS_PACKAGE_SUPPORT_H

#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "tests/support/x11_support.h"

namespace package_support {

using testing_support::ShownWindow;

// The mapped children of the root window of $DISPLAY: with no window manager, every window any
// program shows, a message box included.
std::vector<ShownWindow> ShownWindows();

// Waits for the show's window, sees it stay the only window on the screen while the show loads its
// files and starts (a missing file would put a message box beside it), then presses Escape and
// expects the show to end with status 0. Returns the window (0 when it never came).
unsigned long WatchShowAndEndWithEscape(testing_support::ChildProcess& show);

// The generated asset files beside the built show (names only, as bytes).
std::vector<std::string> BuiltAssets();

// Runs a shell command; its standard output, and its exit status through `status`.
inline std::string Sh(const std::string& command, int* status = nullptr) {
    return testing_support::Run(command, status);
}

// `text` as one word for /bin/sh.
std::string Quote(const std::string& text);

bool IsExecutableFile(const std::string& path);
bool Exists(const std::string& path);
std::string ReadFile(const std::string& path);

// A fresh folder under /tmp, removed with everything in it by the destructor.
class TempDir {
public:
    TempDir();
    ~TempDir();
    std::string path;
};

}  // namespace package_support

#endif
