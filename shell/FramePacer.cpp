#include "shell/FramePacer.h"

#include "shell/GameTime.h"
#include "shell/HighResolutionClock.h"

void FramePacer::Start(int64_t frequency, int32_t updatesPerSecond, int64_t now)
{
    step = frequency / updatesPerSecond;
    nextDeadline = now + step;
}

void FramePacer::BeginFrame(int64_t now, int32_t updatesPerSecond, int32_t maxCatchUpSteps,
                            GameTime* time)
{
    time->elapsedSeconds = 0.0f;
    int32_t credited = -1;
    while (credited < maxCatchUpSteps)
    {
        nextDeadline += step;
        time->elapsedSeconds += 1.0f / static_cast<float>(updatesPerSecond);
        ++credited;
        if (now < nextDeadline)
            break;
    }
    // Too far behind: the remaining steps are skipped and lost as game time.
    if (credited >= maxCatchUpSteps && now >= nextDeadline && step > 0)
    {
        int64_t behind = (now - nextDeadline) / step + 1;
        nextDeadline += behind * step;
    }
    time->totalSeconds += time->elapsedSeconds;
    frameGridPoint = nextDeadline - step;
}

void FramePacer::WaitAndBeginFrame(int32_t updatesPerSecond, int32_t maxCatchUpSteps,
                                   GameTime* time)
{
    for (;;)
    {
        int64_t now = HighResolutionClock::Now();
        int64_t wait = TicksUntilNextFrame(now);
        if (wait > 0)
        {
            HighResolutionClock::SleepFor(wait);
            continue;
        }
        BeginFrame(now, updatesPerSecond, maxCatchUpSteps, time);
        return;
    }
}
