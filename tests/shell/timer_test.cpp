#include "shell/timer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/test_support.h"

using testing_support::ManualClock;

TEST(Timer, ConstructionReadsFrequencyOnceAndResets) {
    ManualClock clock(1000, 5000);
    Timer timer;
    EXPECT_EQ(timer.frequency, 1000);
    EXPECT_EQ(timer.period, static_cast<float>(1.0 / 1000.0));
    EXPECT_EQ(timer.startTime, static_cast<float>(5000 * static_cast<double>(timer.period)));
    EXPECT_EQ(timer.lastElapsed, 0.0f);
    EXPECT_EQ(clock.reads, 1);  // the reset's one reading
}

TEST(Timer, ElapsedIsDoubleAndRemembersFloat) {
    ManualClock clock(1000, 0);
    Timer timer;
    clock.ticks = 1234;
    double e = timer.Elapsed();
    double expected = 1234 * static_cast<double>(timer.period) - 0.0;
    EXPECT_EQ(e, expected);
    EXPECT_EQ(timer.lastElapsed, static_cast<float>(expected));
    EXPECT_EQ(timer.counter, 1234);
}

TEST(Timer, SinceLastElapsedBeforeAnyElapsedIsTimeSinceConstruction) {
    ManualClock clock(1000, 100);
    Timer timer;
    clock.ticks = 600;
    double p = timer.period;
    EXPECT_EQ(timer.SinceLastElapsed(), 600 * p - static_cast<double>(static_cast<float>(100 * p)) - 0.0);
    EXPECT_EQ(timer.lastElapsed, 0.0f);  // it stores nothing
}

TEST(Timer, EachReadMakesExactlyOneCounterReading) {
    ManualClock clock(1000, 0);
    Timer timer;
    int before = clock.reads;
    timer.Elapsed();
    timer.SinceLastElapsed();
    timer.Reset();
    EXPECT_EQ(clock.reads - before, 3);
}

// The delta right after an elapsed read is the narrowing error of demo time plus the time between
// the two readings; both narrowing directions appear, so the delta takes either sign.
TEST(Timer, DeltaRightAfterElapsedCarriesTheNarrowingError) {
    struct Case {
        std::int64_t start, at, step;
    };
    // At 1 GHz: demo times between 64 and 128 s narrow by up to 2^-18 s.
    const Case cases[] = {
        {0, 100000000123LL, 0},
        {0, 100000000123LL, 1000},
        {0, 70123456789LL, 0},
        {0, 65432109876LL, 0},
    };
    bool sawNegative = false, sawPositive = false;
    for (const Case& c : cases) {
        ManualClock clock(1000000000, c.start);
        Timer timer;
        clock.ticks = c.at;
        clock.stepPerRead = c.step;
        double e = timer.Elapsed();
        double d = timer.SinceLastElapsed();
        double p = timer.period;
        double exact = (c.at + c.step) * p - static_cast<double>(timer.startTime) - static_cast<double>(static_cast<float>(e));
        EXPECT_EQ(d, exact);
        EXPECT_LE(std::fabs(d), std::ldexp(1.0, -18) + c.step * p + 1e-12);
        if (d < 0) sawNegative = true;
        if (d > 0) sawPositive = true;
    }
    EXPECT_TRUE(sawNegative);
    EXPECT_TRUE(sawPositive);
}

// The start time is stored as a float of the counter's absolute seconds, so a counter that has run
// for a day carries an offset of up to half a float unit there (2^-8 s) into demo time.
TEST(Timer, StartTimeOffsetFromAbsoluteCounter) {
    const std::int64_t day = 86400LL * 1000000000LL + 3141592LL;
    ManualClock clock(1000000000, day);
    Timer timer;
    double p = timer.period;
    double offset = day * p - static_cast<double>(timer.startTime);
    EXPECT_LE(std::fabs(offset), std::ldexp(1.0, -8));
    EXPECT_NE(offset, 0.0);
    // The first elapsed read equals that offset: it may lie below zero.
    EXPECT_EQ(timer.Elapsed(), offset);
}

TEST(Timer, ZeroFrequencyKeepsDemoTimeFinite) {
    ManualClock clock(0, 123456);
    Timer timer;
    clock.ticks = 999999;
    EXPECT_TRUE(std::isfinite(timer.Elapsed()));
    EXPECT_TRUE(std::isfinite(timer.SinceLastElapsed()));
    EXPECT_EQ(timer.Elapsed(), 0.0);
}
