#include "shell/HighResolutionClock.h"

#include <cerrno>
#include <ctime>
#include <sys/prctl.h>

int64_t HighResolutionClock::frequency = 0;
uint32_t HighResolutionClock::timerResolution = 0;
bool HighResolutionClock::initialized = false;

namespace
{
constexpr int64_t NanosecondsPerSecond = 1000000000;

int64_t ReadMonotonic()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * NanosecondsPerSecond + now.tv_nsec;
}

// Sleeps until the monotonic clock reaches `deadline` (nanoseconds), resuming
// after signals. An absolute deadline keeps a late wake-up from adding up.
// For the length of the sleep the thread's timer slack, which lets the
// system wake it up to 50 us late by default, is the smallest possible.
void SleepUntil(int64_t deadline)
{
    int previousSlack = prctl(PR_GET_TIMERSLACK, 0UL, 0UL, 0UL, 0UL);
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    timespec target{};
    target.tv_sec = static_cast<time_t>(deadline / NanosecondsPerSecond);
    target.tv_nsec = static_cast<long>(deadline % NanosecondsPerSecond);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &target, nullptr) == EINTR)
    {
    }
    if (previousSlack > 0)
        prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(previousSlack), 0UL, 0UL, 0UL);
}
} // namespace

void HighResolutionClock::Initialize()
{
    // The counter is in nanoseconds; the system's sleeps are finer than a
    // millisecond, so the resolution is the smallest settable one.
    frequency = NanosecondsPerSecond;
    timespec resolution{};
    clock_getres(CLOCK_MONOTONIC, &resolution);
    int64_t milliseconds =
        (static_cast<int64_t>(resolution.tv_sec) * NanosecondsPerSecond + resolution.tv_nsec) /
        1000000;
    timerResolution = milliseconds > 1 ? static_cast<uint32_t>(milliseconds) : 1;
    initialized = true;
}

int64_t HighResolutionClock::Now()
{
    if (!initialized)
        Initialize();
    return ReadMonotonic();
}

void HighResolutionClock::SleepFor(int64_t ticks)
{
    if (!initialized)
        Initialize();
    int64_t start = ReadMonotonic();
    if (ticks <= 0)
        return;
    int64_t milliseconds = ticks * 1000 / frequency;
    uint32_t rounded = static_cast<uint32_t>(milliseconds);
    rounded -= rounded % timerResolution;
    if (rounded > 0)
        SleepUntil(start + static_cast<int64_t>(rounded) * 1000000);
    else
    {
        int64_t deadline = start + ticks * (NanosecondsPerSecond / frequency);
        SleepUntil(deadline);
    }
}

int64_t HighResolutionClock::Frequency()
{
    if (!initialized)
        Initialize();
    return frequency;
}
