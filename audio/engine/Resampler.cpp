#include "audio/engine/Resampler.h"

#include <SDL.h>

Resampler::Resampler(int fromRate, int toRate)
{
    if (fromRate != toRate)
        stream = SDL_NewAudioStream(AUDIO_F32SYS, 2, fromRate, AUDIO_F32SYS, 2, toRate);
}

Resampler::~Resampler()
{
    if (stream)
        SDL_FreeAudioStream(stream);
}

void Resampler::Put(const float* stereo, int frames)
{
    SDL_AudioStreamPut(stream, stereo, frames * 2 * static_cast<int>(sizeof(float)));
}

void Resampler::Flush()
{
    SDL_AudioStreamFlush(stream);
}

int Resampler::Available() const
{
    return SDL_AudioStreamAvailable(stream) / (2 * static_cast<int>(sizeof(float)));
}

int Resampler::Take(float* stereo, int frames)
{
    const int bytes =
        SDL_AudioStreamGet(stream, stereo, frames * 2 * static_cast<int>(sizeof(float)));
    return bytes > 0 ? bytes / (2 * static_cast<int>(sizeof(float))) : 0;
}

std::vector<float> ResampleAll(const std::vector<float>& stereo, int fromRate, int toRate)
{
    Resampler resampler(fromRate, toRate);
    if (resampler.PassesThrough())
        return stereo;
    resampler.Put(stereo.data(), static_cast<int>(stereo.size() / 2));
    resampler.Flush();
    std::vector<float> out(static_cast<std::size_t>(resampler.Available()) * 2);
    const int taken = resampler.Take(out.data(), static_cast<int>(out.size() / 2));
    out.resize(static_cast<std::size_t>(taken) * 2);
    return out;
}
