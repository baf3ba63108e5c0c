#ifndef GLIMMERSET_SHELL_TIMER_H
#define GLIMMERSET_SHELL_TIMER_H

#include <cstdint>

// The show's clock: the high-resolution counter in seconds, counted from construction. Arithmetic is
// in double precision; the float fields round what they store, and each read returns the unrounded
// double.
class Timer {
public:
    Timer();
    ~Timer();

    double Now();
    void Reset();
    // Seconds since the last reset; remembered (rounded to float) for SinceLastElapsed.
    double Elapsed();
    // Seconds since the last Elapsed read, plus that read's rounding error. Stores nothing.
    double SinceLastElapsed();

    std::int64_t counter;
    std::int64_t frequency;
    float period;
    float startTime;
    float lastElapsed;
};

#endif
