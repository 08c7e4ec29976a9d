#pragma once

// Game time of the run, in seconds. Only the frame loop writes it.
struct GameTime
{
    float totalSeconds = 0.0f;   // sum of every frame's credited steps
    float elapsedSeconds = 0.0f; // the steps the current frame covers
};
