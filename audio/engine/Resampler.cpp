#include "audio/engine/Resampler.h"

#include <samplerate.h>

#include <algorithm>
#include <cmath>
#include <cstring>

Resampler::Resampler(int fromRate, int toRate)
{
    if (fromRate == toRate || fromRate <= 0 || toRate <= 0)
        return;
    int error = 0;
    state = src_new(SRC_SINC_MEDIUM_QUALITY, 2, &error);
    ratio = static_cast<double>(toRate) / fromRate;
}

Resampler::~Resampler()
{
    if (state)
        src_delete(state);
}

void Resampler::Process(const float* stereo, long frames, bool endOfInput)
{
    // Output room for this piece, plus the filter's held-back frames.
    const long room = static_cast<long>(frames * ratio) + 256;
    scratch.resize(static_cast<std::size_t>(room) * 2);
    for (;;)
    {
        SRC_DATA data = {};
        data.data_in = stereo;
        data.input_frames = frames;
        data.data_out = scratch.data();
        data.output_frames = room;
        data.end_of_input = endOfInput ? 1 : 0;
        data.src_ratio = ratio;
        if (src_process(state, &data) != 0)
            return;
        // Bounded input cannot overflow the filter; a non-finite sample is
        // silenced anyway, never passed to the mix.
        for (long i = 0; i < data.output_frames_gen * 2; ++i)
            scratch[i] = std::isfinite(scratch[i]) ? scratch[i] : 0.0f;
        converted.insert(converted.end(), scratch.begin(),
                         scratch.begin() + data.output_frames_gen * 2);
        stereo += data.input_frames_used * 2;
        frames -= data.input_frames_used;
        if (frames == 0 && (!endOfInput || data.output_frames_gen == 0))
            return;
        if (data.input_frames_used == 0 && data.output_frames_gen == 0)
            return;
    }
}

void Resampler::Put(const float* stereo, int frames)
{
    if (state && frames > 0)
        Process(stereo, frames, false);
}

void Resampler::Flush()
{
    // The converter refuses a null input even when it is given no frames:
    // the filter's last frames come out only with a real pointer.
    const float none[2] = {};
    if (state)
        Process(none, 0, true);
}

int Resampler::Available() const
{
    return static_cast<int>((converted.size() - taken) / 2);
}

int Resampler::Take(float* stereo, int frames)
{
    const int count = std::min(frames, Available());
    if (count <= 0)
        return 0;
    std::memcpy(stereo, converted.data() + taken,
                static_cast<std::size_t>(count) * 2 * sizeof(float));
    taken += static_cast<std::size_t>(count) * 2;
    if (taken == converted.size())
    {
        converted.clear();
        taken = 0;
    }
    return count;
}

std::vector<float> ResampleAll(const std::vector<float>& stereo, int fromRate, int toRate)
{
    Resampler resampler(fromRate, toRate);
    if (resampler.PassesThrough())
        return stereo;
    // Converted in pieces straight into the result, so memory stays near the
    // size of the result whatever the ratio.
    const std::size_t frames = stereo.size() / 2;
    std::vector<float> out;
    out.reserve((static_cast<std::size_t>(static_cast<double>(frames) * toRate / fromRate) + 512) *
                2);
    const int piece = 4096;
    float taken[2 * 4096];
    auto drain = [&]
    {
        int got;
        while ((got = resampler.Take(taken, 4096)) > 0)
            out.insert(out.end(), taken, taken + 2 * got);
    };
    for (std::size_t start = 0; start < frames; start += piece)
    {
        resampler.Put(stereo.data() + 2 * start,
                      static_cast<int>(std::min<std::size_t>(piece, frames - start)));
        drain();
    }
    resampler.Flush();
    drain();
    return out;
}
