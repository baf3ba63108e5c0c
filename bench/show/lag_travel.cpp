// How far the slimy model's lag angles travel in its window (7, 11] with the real performance
// counter: the lag steps by the delta between two consecutive counter reads, so its motion depends on
// the counter's resolution and the frame rate. Plays the real show to demo time 11.5 (run it in the
// show's folder, DISPLAY set, SDL_AUDIODRIVER=dummy on a machine without sound), records every
// frame's demo time and delta as the show computes them, then replays the lag rule on them for the
// slimy model's nearest, median and farthest vertex.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "assets/model.h"
#include "platform/win32/win32.h"
#include "platform/win32/win32_seam.h"

namespace {

struct Frame {
    float t, delta;
};

}  // namespace

int main() {
    std::vector<std::int64_t> readings;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::int64_t f = frequency.QuadPart;
    // The platform's own counter (the monotonic clock in nanoseconds), with every reading kept.
    win32seam::SetCounter(
        [&]() -> std::int64_t {
            auto now = std::chrono::steady_clock::now().time_since_epoch();
            readings.push_back(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
            return readings.back();
        },
        f);
    win32seam::SetMessageBoxHook([](HWND, const char* text, const char* caption, UINT) {
        std::fprintf(stderr, "%s: %s\n", caption, text);
        return IDOK;
    });
    bool stopping = false;
    win32seam::SetSwapHook([&](HDC) {
        // Timer: reading 0 starts it; then two per frame.
        if (stopping || readings.size() < 3) return;
        double period = static_cast<float>(1.0 / static_cast<double>(f));
        double t = readings.back() * period - static_cast<float>(readings[0] * period);
        if (t > 11.5) {
            SDL_Event escape{};
            escape.type = SDL_KEYDOWN;
            escape.key.keysym.sym = SDLK_ESCAPE;
            SDL_PushEvent(&escape);
            stopping = true;
        }
    });
    char commandLine[] = "";
    WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
    win32seam::SetCounter(nullptr, 0);

    // The frame loop's own arithmetic on the recorded readings.
    const double period = static_cast<float>(1.0 / static_cast<double>(f));
    const double start = static_cast<float>(readings[0] * period);
    std::vector<Frame> frames;
    for (size_t i = 1; i + 1 < readings.size(); i += 2) {
        double e = readings[i] * period - start;
        float t = static_cast<float>(e);
        double d = readings[i + 1] * period - start - static_cast<double>(t);
        frames.push_back({t, static_cast<float>(d)});
    }

    Model slimy("slimy.ebr");
    if (slimy.meshCount == 0) return 1;
    std::vector<float> factors;
    for (int i = 0; i < slimy.meshes[0]->vertexCount; ++i) {
        Vec3 p = slimy.meshes[0]->positions[i];
        factors.push_back(static_cast<float>(std::sqrt(std::sqrt(double(p.x) * p.x + double(p.y) * p.y + double(p.z) * p.z))));
    }
    std::sort(factors.begin(), factors.end());
    size_t inWindow = 0;
    double deltaSum = 0, deltaMin = 1e9, deltaMax = -1e9;
    for (const Frame& fr : frames) {
        if (fr.t > 7.0f && fr.t <= 11.0f) {
            ++inWindow;
            deltaSum += fr.delta;
            deltaMin = std::min<double>(deltaMin, fr.delta);
            deltaMax = std::max<double>(deltaMax, fr.delta);
        }
    }
    std::printf("counter %lld Hz; %zu frames in (7, 11] (%.0f fps); delta mean %.3g s, min %.3g, max %.3g\n",
                static_cast<long long>(f), inWindow, inWindow / 4.0, inWindow ? deltaSum / inWindow : 0.0,
                deltaMin, deltaMax);
    const char* names[] = {"nearest", "median", "farthest"};
    float chosen[] = {factors.front(), factors[factors.size() / 2], factors.back()};
    for (int k = 0; k < 3; ++k) {
        float lag = chosen[k];
        float angle = 0;
        double atSeven = 0, travel = 0, targetAtSeven = 0, targetAtEleven = 0, atEleven = 0;
        bool seen = false;
        for (const Frame& fr : frames) {
            double target = static_cast<float>(13 * std::sin(0.2 * fr.t) + 9);
            float next = static_cast<float>(((target - angle) / lag) * fr.delta * 100000.0f + angle);
            if (fr.t > 7.0f && fr.t <= 11.0f) {
                if (!seen) {
                    atSeven = angle;
                    targetAtSeven = target;
                    seen = true;
                }
                travel += std::fabs(static_cast<double>(next) - angle);
                atEleven = next;
                targetAtEleven = target;
            }
            angle = next;
        }
        std::printf("%-8s vertex (lag factor %.2f): first angle %.4f -> %.4f rad in (7, 11], travelled %.4f rad "
                    "(its target went %.3f -> %.3f)\n",
                    names[k], lag, atSeven, atEleven, travel, targetAtSeven, targetAtEleven);
    }
    return 0;
}
