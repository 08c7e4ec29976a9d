#pragma once

#include <cstdint>

// The process-wide frame clock: a monotonic nanosecond counter, and sleeps in
// whole milliseconds that end with a precise wait for the last fraction.
class HighResolutionClock
{
public:
    HighResolutionClock() = delete;

    // The counter's current value, in ticks of Frequency().
    static int64_t Now();

    // Blocks for about `ticks`: whole multiples of the timer resolution are
    // slept; when less than one unit remains, the thread sleeps precisely to
    // the end of the wait instead of polling.
    static void SleepFor(int64_t ticks);

    static int64_t Frequency();

private:
    static void Initialize();

    static int64_t frequency;
    static uint32_t timerResolution;
    static bool initialized;
};
