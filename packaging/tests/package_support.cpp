#include "packaging/tests/package_support.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "tests/support/x11_support.h"

namespace package_support {
namespace {

const char kTitle[] = "Glimmerset - \xC3\x9Bquandrix";

std::string Describe(const std::vector<ShownWindow>& windows) {
    std::string text;
    for (const ShownWindow& w : windows) text += "\n  window " + std::to_string(w.id) + " \"" + w.title + "\"";
    return text.empty() ? " none" : text;
}

void Sleep(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

}  // namespace

std::vector<ShownWindow> ShownWindows() { return testing_support::ShownWindows(nullptr); }

unsigned long WatchShowAndEndWithEscape(testing_support::ChildProcess& show) {
    unsigned long window = 0;
    for (int i = 0; i < 600 && window == 0 && show.Running(); ++i) {
        window = testing_support::FindWindowByTitle(nullptr, kTitle);
        if (window == 0) Sleep(0.05);
    }
    if (window == 0) {
        ADD_FAILURE() << "no window titled \"" << kTitle << "\"; on the screen:" << Describe(ShownWindows());
        return 0;
    }
    // The window has its title before it is shown.
    auto shown = [window]() {
        for (const ShownWindow& w : ShownWindows()) {
            if (w.id == window) return true;
        }
        return false;
    };
    for (int i = 0; i < 200 && !shown() && show.Running(); ++i) Sleep(0.05);
    // The files load with the window up; the demo's first picture comes a second after that. Three
    // seconds of a lone window cover both.
    for (int i = 0; i < 30 && show.Running(); ++i) {
        std::vector<ShownWindow> windows = ShownWindows();
        bool alone = windows.size() == 1 && windows[0].id == window;
        if (!alone) {
            ADD_FAILURE() << "the show's window is not alone on the screen (a message box?):" << Describe(windows);
            return window;
        }
        Sleep(0.1);
    }
    if (!show.Running()) {
        int status = -1;
        show.Wait(0, &status);
        ADD_FAILURE() << "the show ended by itself within seconds, status " << status;
        return window;
    }
    testing_support::Run("xdotool windowfocus --sync " + std::to_string(window) + " key Escape");
    int status = -1;
    if (!show.Wait(10, &status)) {
        ADD_FAILURE() << "the show is still running 10 seconds after Escape";
        return window;
    }
    EXPECT_EQ(status, 0) << "exit status after Escape";
    return window;
}

std::vector<std::string> BuiltAssets() {
    std::vector<std::string> names;
    DIR* dir = opendir(testing_support::AssetDir().c_str());
    if (dir == nullptr) return names;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        auto endsWith = [&](const std::string& suffix) {
            return name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
        };
        std::string path = testing_support::AssetDir() + "/" + name;
        struct stat info;
        if ((endsWith(".jpg") || endsWith(".ebr") || endsWith(".mp3")) && stat(path.c_str(), &info) == 0 &&
            S_ISREG(info.st_mode)) {
            names.push_back(name);
        }
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

bool IsExecutableFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

bool Exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TempDir::TempDir() {
    char pattern[] = "/tmp/glimmerset-package-XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
    path = pattern;
}

TempDir::~TempDir() { testing_support::Run("rm -rf " + Quote(path)); }

}  // namespace package_support
