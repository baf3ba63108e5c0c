// What a whole frame of the show costs at chosen demo times, one in each window of the timeline,
// rendered by the real show (WinMain with its real assets, Mesa's software OpenGL at 800 x 600), beside
// an empty frame (clear and swap only) on the same display. Run it in the folder with the show's
// assets, with DISPLAY set (Xvfb will do) and SDL_AUDIODRIVER=dummy on a machine without sound.
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/win32/win32.h"
#include "platform/win32/win32_seam.h"
#include "shell/glwindow.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::int64_t kFrequency = 1 << 20;
constexpr int kFramesPerProbe = 90;
constexpr int kWarmupFrames = 10;

struct Probe {
    double time;
    const char* what;
    std::vector<double> frameSeconds;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

double EmptyFrameSeconds() {
    GLWindow window(800, 600, 32, true, "Glimmerset empty frame");
    std::vector<double> times;
    auto last = Clock::now();
    for (int i = 0; i < 300; ++i) {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        window.Update();
        auto now = Clock::now();
        times.push_back(std::chrono::duration<double>(now - last).count());
        last = now;
    }
    return Median(times);
}

}  // namespace

int main() {
    std::vector<Probe> probes = {
        {0.5, "black, effects only", {}},        {2.5, "title overlay", {}},
        {5.5, "overlay", {}},                    {9.0, "slimy model (lag)", {}},
        {12.5, "superfigur (wobble)", {}},       {15.5, "overlay", {}},
        {18.5, "overlay", {}},                   {25.0, "moving overlay", {}},
        {35.0, "bent overlay + tunnel", {}},     {45.0, "spun overlay + superfigur", {}},
        {58.0, "overlay + rommet", {}},          {68.0, "overlay", {}},
    };
    const int perProbe = kWarmupFrames + kFramesPerProbe;
    int reads = 0, swaps = 0;
    auto last = Clock::now();
    win32seam::SetCounter(
        [&]() -> std::int64_t {
            if (reads++ == 0) return 0;
            size_t probe = static_cast<size_t>(swaps / perProbe);
            double t = probe < probes.size() ? probes[probe].time : 72.0;
            return static_cast<std::int64_t>(t * kFrequency) + reads % 2;
        },
        kFrequency);
    win32seam::SetMessageBoxHook([](HWND, const char* text, const char* caption, UINT) {
        std::fprintf(stderr, "%s: %s\n", caption, text);
        return IDOK;
    });
    win32seam::SetSwapHook([&](HDC) {
        glFinish();  // count the rendering, not just its queueing
        auto now = Clock::now();
        size_t probe = static_cast<size_t>(swaps / perProbe);
        if (probe < probes.size() && swaps % perProbe >= kWarmupFrames) {
            probes[probe].frameSeconds.push_back(std::chrono::duration<double>(now - last).count());
        }
        last = now;
        ++swaps;
    });
    char commandLine[] = "";
    WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
    win32seam::SetSwapHook(nullptr);
    win32seam::SetCounter(nullptr, 0);

    double empty = EmptyFrameSeconds();
    std::printf("%-8s %-28s %10s %8s %8s\n", "time", "on screen", "ms/frame", "fps", "x empty");
    std::printf("%-8s %-28s %10.2f %8.0f %8.2f\n", "-", "empty frame (clear, swap)", empty * 1e3, 1 / empty, 1.0);
    const Probe* slowest = nullptr;
    for (const Probe& p : probes) {
        double m = Median(p.frameSeconds);
        std::printf("%-8.1f %-28s %10.2f %8.0f %8.2f\n", p.time, p.what, m * 1e3, 1 / m, m / empty);
        if (slowest == nullptr || m > Median(slowest->frameSeconds)) slowest = &p;
    }
    if (slowest) {
        std::printf("slowest: t=%.1f (%s), %.1f fps\n", slowest->time, slowest->what,
                    1 / Median(slowest->frameSeconds));
    }
    return 0;
}
