#pragma once

#include <cstdint>
#include <vector>

struct SRC_STATE_tag;

// Converts interleaved stereo floats from one rate to another with a
// band-limited sinc resampler. Its filter state and fractional position carry
// across calls, so a stream fed in pieces of any size converts exactly as if
// it came in one. Rates equal: frames pass through untouched.
class Resampler
{
public:
    Resampler(int fromRate, int toRate);
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;
    ~Resampler();

    bool PassesThrough() const { return !state; }
    void Put(const float* stereo, int frames);
    void Flush();          // the input has ended: the last frames come out
    int Available() const; // frames ready to take
    int Take(float* stereo, int frames);

private:
    void Process(const float* stereo, long frames, bool endOfInput);

    SRC_STATE_tag* state = nullptr;
    double ratio = 1.0;
    std::vector<float> converted; // frames made and not yet taken, from `taken` on
    std::size_t taken = 0;        // floats of `converted` already taken
    std::vector<float> scratch;
};

// The whole of a sound at another rate.
std::vector<float> ResampleAll(const std::vector<float>& stereo, int fromRate, int toRate);
