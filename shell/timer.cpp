#include "shell/timer.h"

#include "platform/win32/win32.h"

Timer::Timer() {
    LARGE_INTEGER value;
    value.QuadPart = 0;
    QueryPerformanceFrequency(&value);
    frequency = value.QuadPart;
    // A counter without a frequency would make every reading infinite or NaN; such a clock stands
    // still at zero instead, so demo time stays finite (the show then ends only on Escape or close).
    period = frequency > 0 ? static_cast<float>(1.0 / static_cast<double>(frequency)) : 0.0f;
    lastElapsed = 0.0f;
    counter = 0;
    startTime = 0.0f;
    Reset();
}

Timer::~Timer() {}

double Timer::Now() {
    LARGE_INTEGER value;
    value.QuadPart = counter;
    QueryPerformanceCounter(&value);
    counter = value.QuadPart;
    return static_cast<double>(counter) * static_cast<double>(period);
}

void Timer::Reset() { startTime = static_cast<float>(Now()); }

double Timer::Elapsed() {
    double e = Now() - static_cast<double>(startTime);
    lastElapsed = static_cast<float>(e);
    return e;
}

double Timer::SinceLastElapsed() {
    return Now() - static_cast<double>(startTime) - static_cast<double>(lastElapsed);
}
