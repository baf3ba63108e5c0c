#include "tests/faults/display_support.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "tests/support/test_support.h"
#include "tests/support/x11_support.h"

namespace fault_support {

const char kShowTitle[] = "Glimmerset - \xC3\x9Bquandrix";

namespace {

// The desktop mode first, so the server starts in it; the modelines are the standard VESA timings.
const char kConfig[] = R"(Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 16384
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 28.0-80.0
  VertRefresh 48.0-75.0
  Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
  Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "1024x768" "800x600"
  EndSubSection
EndSection
)";

const char kDummyDriver[] = "/usr/lib/xorg/modules/drivers/dummy_drv.so";

std::string Tail(const std::string& path, std::size_t bytes) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    std::string text = s.str();
    return text.size() > bytes ? text.substr(text.size() - bytes) : text;
}

bool OnPath(const char* program) {
    return testing_support::Run(std::string("command -v ") + program + " >/dev/null 2>&1; echo $?") == "0\n";
}

// Reads the display number the server writes once it accepts connections.
std::string ReadDisplayNumber(int fd, double seconds) {
    std::string number;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        char c;
        ssize_t n = read(fd, &c, 1);
        if (n <= 0) return "";  // the server went away
        if (c == '\n') return number;
        number += c;
    }
    return "";
}

bool WaitPid(int pid, double seconds, int* status) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    do {
        int raw;
        if (waitpid(pid, &raw, WNOHANG) == pid) {
            if (status) *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -WTERMSIG(raw);
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

}  // namespace

void Sleep(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

DummyDisplay::DummyDisplay() {
    if (geteuid() != 0) {
        reason_ = "starting a private X.Org server needs root";
        return;
    }
    if (!OnPath("Xorg")) {
        reason_ = "X.Org is not installed (xserver-xorg-core)";
        return;
    }
    if (access(kDummyDriver, R_OK) != 0) {
        reason_ = "X.Org's dummy video driver is not installed (xserver-xorg-video-dummy)";
        return;
    }
    char pattern[] = "/tmp/glimmerset-xorg-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        reason_ = "no temporary folder for the server";
        return;
    }
    dir_ = pattern;
    const std::string config = dir_ + "/xorg.conf";
    const std::string configDir = dir_ + "/xorg.conf.d";  // empty: the system's snippets stay out
    const std::string log = dir_ + "/Xorg.log";
    std::ofstream(config) << kConfig;
    mkdir(configDir.c_str(), 0700);

    int fds[2];
    if (pipe(fds) != 0) {
        reason_ = "no pipe for the server's display number";
        return;
    }
    pid_ = fork();
    if (pid_ == 0) {
        close(fds[0]);
        int out = open((dir_ + "/Xorg.out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int in = open("/dev/null", O_RDONLY);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
        }
        if (in >= 0) dup2(in, 0);
        std::string fd = std::to_string(fds[1]);
        // Shares the console's virtual terminal and never switches it: the server only needs a screen.
        execlp("Xorg", "Xorg", "-displayfd", fd.c_str(), "-config", config.c_str(), "-configdir",
               configDir.c_str(), "-logfile", log.c_str(), "-noreset", "-nolisten", "tcp", "-sharevts",
               "-novtswitch", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number = pid_ > 0 ? ReadDisplayNumber(fds[0], 30.0) : "";
    close(fds[0]);
    if (number.empty()) {
        reason_ = "Xorg with the dummy driver did not start:\n" + Tail(log, 1500) + Tail(dir_ + "/Xorg.out", 500);
        return;
    }
    name_ = ":" + number;
}

DummyDisplay::~DummyDisplay() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        if (!WaitPid(pid_, 10.0, nullptr)) {
            kill(pid_, SIGKILL);
            WaitPid(pid_, 5.0, nullptr);
        }
    }
    if (!dir_.empty()) testing_support::Run("rm -rf '" + dir_ + "'");
}

std::string CurrentMode(const std::string& display) {
    std::string out = testing_support::Run("DISPLAY=" + display + " xrandr --current 2>/dev/null");
    // "Screen 0: minimum 64 x 64, current 1024 x 768, maximum ..."
    std::size_t at = out.find(" current ");
    if (at == std::string::npos) return "";
    int width = 0, height = 0;
    if (std::sscanf(out.c_str() + at, " current %d x %d", &width, &height) != 2) return "";
    return std::to_string(width) + "x" + std::to_string(height);
}

Cursor CurrentCursor(const std::string& display) {
    Cursor cursor;
    Display* d = XOpenDisplay(display.c_str());
    if (d == nullptr) return cursor;
    int eventBase, errorBase;
    if (XFixesQueryExtension(d, &eventBase, &errorBase)) {
        if (XFixesCursorImage* image = XFixesGetCursorImage(d)) {
            cursor.read = true;
            cursor.serial = image->cursor_serial;
            cursor.width = image->width;
            cursor.height = image->height;
            for (int i = 0; i < image->width * image->height && !cursor.visible; ++i) {
                cursor.visible = (image->pixels[i] >> 24) != 0;  // any pixel with alpha
            }
            XFree(image);
        }
    }
    XCloseDisplay(d);
    return cursor;
}

ShowRun::ShowRun(const std::string& workingDir, const std::string& display) {
    char pattern[] = "/tmp/glimmerset-show-log-XXXXXX";
    int logFd = mkstemp(pattern);
    log_ = pattern;
    const std::string program = testing_support::AssetDir() + "/glimmerset";
    pid_ = fork();
    if (pid_ == 0) {
        if (chdir(workingDir.c_str()) != 0) _exit(127);
        setenv("DISPLAY", display.c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        // A runner started in the background may have left these ignored; a person's terminal does not.
        signal(SIGINT, SIG_DFL);
        signal(SIGTERM, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        if (logFd >= 0) {
            dup2(logFd, 1);
            dup2(logFd, 2);
        }
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (logFd >= 0) close(logFd);
}

ShowRun::~ShowRun() {
    if (Running()) {
        kill(pid_, SIGKILL);
        Wait(5, nullptr);
    }
    unlink(log_.c_str());
}

bool ShowRun::Running() {
    if (pid_ <= 0 || ended_) return false;
    if (WaitPid(pid_, 0.0, &status_)) {
        ended_ = true;
        return false;
    }
    return true;
}

bool ShowRun::Wait(double seconds, int* status) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (Running() && std::chrono::steady_clock::now() < deadline) Sleep(0.01);
    if (status && ended_) *status = status_;
    return ended_;
}

void ShowRun::Signal(int signal) {
    if (Running()) kill(pid_, signal);
}

std::string ShowRun::Output() const { return Tail(log_, 20000); }

unsigned long WaitForShowWindow(ShowRun& show, const std::string& display, double seconds) {
    unsigned long window = 0;
    Eventually(seconds, [&] {
        if (!show.Running()) return true;
        window = testing_support::FindWindowByTitle(display.c_str(), kShowTitle);
        return window != 0;
    });
    return window;
}

}  // namespace fault_support
