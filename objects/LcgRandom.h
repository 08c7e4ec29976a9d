#pragma once

#include <cstdint>

// The C runtime's generator that the balls draw their random start from (not
// the random number service, Game::Random): state starts at
// 1; each draw sets state = state * 214013 + 2531011 (mod 2^32) and returns
// bits 16 to 30, 0 to 32767. Never seeded, so every run starts the same way.
class LcgRandom
{
public:
    static int32_t Next();

    // Back to the state of a fresh process (for scripted runs and tests).
    static void Reset() { state = 1; }

private:
    static uint32_t state;
};
