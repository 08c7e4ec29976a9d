#pragma once

#include <cstdint>

// Whether a drawn frame goes to the display or is dropped, so that a present
// never holds the frame loop. Where presents wait for the retrace, a frame is
// handed over only when no earlier one still waits to be shown: the display
// never has a queue of frames behind it, and the loop never blocks on it.
// Where a compositor already shows whole frames, presents do not wait for the
// retrace at all and the same rule bounds the GPU's queue.
class PresentGate
{
public:
    // The swap interval to ask for: one retrace per frame, unless the frames
    // may tear or the desktop composites (a compositor shows whole frames,
    // and a wait for it holds the loop while the window is hidden).
    static int SwapInterval(bool waitForRetrace, bool composited)
    {
        return waitForRetrace && !composited ? 1 : 0;
    }

    // Before a frame is drawn, given how many of the frames handed over have
    // been shown (or, where that cannot be read, finished by the GPU): true
    // when it may be drawn and presented, false when it is dropped.
    bool Admits(uint64_t shown)
    {
        if (shown < presented)
        {
            ++dropped;
            return false;
        }
        return true;
    }
    // The frame admitted last was handed to the display.
    void Presented() { ++presented; }

    uint64_t presented = 0;
    uint64_t dropped = 0;
};
