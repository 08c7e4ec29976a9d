#pragma once

#include <cstdint>
#include <vector>

struct _SDL_AudioStream;

// Converts interleaved stereo floats from one rate to another with SDL's
// band-limited resampler; state carries across calls, so a stream fed in
// pieces converts as one. Rates equal: frames pass through untouched.
class Resampler
{
public:
    Resampler(int fromRate, int toRate);
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;
    ~Resampler();

    bool PassesThrough() const { return !stream; }
    void Put(const float* stereo, int frames);
    void Flush();
    int Available() const; // frames ready to take
    int Take(float* stereo, int frames);

private:
    _SDL_AudioStream* stream = nullptr;
};

// The whole of a sound at another rate.
std::vector<float> ResampleAll(const std::vector<float>& stereo, int fromRate, int toRate);
