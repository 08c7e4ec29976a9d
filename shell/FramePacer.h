#pragma once

#include <cstdint>

struct GameTime;

// The frame grid: frames start on whole steps of 1/updatesPerSecond second
// after Start, and each is credited with the steps that passed since the last
// one, up to maxCatchUpSteps + 1; a larger backlog is dropped. Pure arithmetic
// on tick counts, so it can be driven by any clock.
class FramePacer
{
public:
    // Fixes the step from the clock's frequency and puts the first deadline
    // one step after `now`.
    void Start(int64_t frequency, int32_t updatesPerSecond, int64_t now);

    // Ticks left before the next frame may start; 0 or less once it may.
    int64_t TicksUntilNextFrame(int64_t now) const { return nextDeadline - now; }

    // Begins a frame at `now` (at or past the deadline): sets elapsedSeconds
    // to the credited steps, adds it to totalSeconds and moves the deadline to
    // the first grid point after `now`.
    void BeginFrame(int64_t now, int32_t updatesPerSecond, int32_t maxCatchUpSteps, GameTime* time);

    // Waits on the real clock until the next frame may start, then begins it.
    void WaitAndBeginFrame(int32_t updatesPerSecond, int32_t maxCatchUpSteps, GameTime* time);

    int64_t step = 0;
    int64_t nextDeadline = 0;
    int64_t frameGridPoint = 0; // the last grid point at or before the frame last begun
};
