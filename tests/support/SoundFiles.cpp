#include "support/SoundFiles.h"

#include <sndfile.h>

#include <cmath>
#include <stdexcept>

namespace
{
float CountingValue(int frame)
{
    return static_cast<float>(frame % 20000 + 1) / 32768.0f;
}
} // namespace

int CountedFrame(float value)
{
    return static_cast<int>(std::lround(value * 32768.0f)) - 1;
}

void WriteSignalSound(const boost::filesystem::path& file, int frames, int rate, int format,
                      const std::function<float(int)>& signal, bool variableBitrate)
{
    SF_INFO info = {};
    info.samplerate = rate;
    info.channels = 1;
    info.format = format;
    SNDFILE* sound = sf_open(file.string().c_str(), SFM_WRITE, &info);
    if (!sound)
        throw std::runtime_error(file.string() + ": " + sf_strerror(nullptr));
    if (variableBitrate)
    {
        int mode = SF_BITRATE_MODE_VARIABLE;
        sf_command(sound, SFC_SET_BITRATE_MODE, &mode, sizeof(mode));
    }
    std::vector<float> samples(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i)
        samples[static_cast<std::size_t>(i)] = signal(i);
    sf_writef_float(sound, samples.data(), frames);
    sf_close(sound);
}

void WriteCountingSound(const boost::filesystem::path& file, int frames, int rate, int format)
{
    WriteSignalSound(file, frames, rate, format, CountingValue);
}

std::vector<float> DecodeWholeFile(const boost::filesystem::path& file)
{
    SF_INFO info = {};
    SNDFILE* sound = sf_open(file.string().c_str(), SFM_READ, &info);
    if (!sound)
        throw std::runtime_error(file.string() + ": " + sf_strerror(nullptr));
    std::vector<float> mono;
    std::vector<float> block(static_cast<std::size_t>(4096 * info.channels));
    sf_count_t read = 0;
    while ((read = sf_readf_float(sound, block.data(), 4096)) > 0)
        for (sf_count_t i = 0; i < read; ++i)
            mono.push_back(block[static_cast<std::size_t>(i * info.channels)]);
    sf_close(sound);
    return mono;
}
