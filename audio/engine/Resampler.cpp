#include "audio/engine/Resampler.h"

#include <samplerate.h>

#include <algorithm>
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
    if (state)
        Process(nullptr, 0, true);
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
    resampler.Put(stereo.data(), static_cast<int>(stereo.size() / 2));
    resampler.Flush();
    std::vector<float> out(static_cast<std::size_t>(resampler.Available()) * 2);
    const int taken = resampler.Take(out.data(), static_cast<int>(out.size() / 2));
    out.resize(static_cast<std::size_t>(taken) * 2);
    return out;
}
