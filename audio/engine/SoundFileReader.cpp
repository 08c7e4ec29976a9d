#include "audio/engine/SoundFileReader.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

#include <sys/stat.h>

SoundFileReader::~SoundFileReader()
{
    if (file)
        sf_close(file);
}

AudioResult SoundFileReader::Open(const std::string& path)
{
    struct stat status;
    if (stat(path.c_str(), &status) != 0)
        return AudioResult::FileNotFound;
    // Only regular files: opening a FIFO would block, a device never ends.
    if (!S_ISREG(status.st_mode))
        return AudioResult::FileUnreadable;
    SF_INFO info = {};
    file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return AudioResult::FileUnreadable;
    if (info.channels < 1 || info.samplerate < 1000 || info.samplerate > 768000)
    {
        sf_close(file);
        file = nullptr;
        return AudioResult::FileUnreadable;
    }
    channels = info.channels;
    sampleRate = info.samplerate;
    frameCount = info.frames;
    // Vorbis can land early on a forward seek after reading; a seek from the
    // start is exact.
    exactSeekNeedsRewind = (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_VORBIS;
    // Seeks in variable-bitrate MP3 land thousands of frames off; decoding
    // from the start to the target is exact.
    seekByDecoding = (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG;
    return AudioResult::Ok;
}

namespace
{
// NaN and infinite samples in a float file become silence, never noise or
// poison for the mix, and the loudest are held to MaxSampleMagnitude, so that
// no filter or gain after them can overflow.
void ZeroNonFinite(float* samples, int64_t count)
{
    for (int64_t i = 0; i < count; ++i)
        samples[i] = std::isfinite(samples[i])
                         ? std::clamp(samples[i], -MaxSampleMagnitude, MaxSampleMagnitude)
                         : 0.0f;
}
} // namespace

int64_t SoundFileReader::Read(float* stereo, int64_t frames)
{
    if (!file)
        return 0;
    if (channels == 2)
    {
        const int64_t read = sf_readf_float(file, stereo, frames);
        ZeroNonFinite(stereo, read > 0 ? read * 2 : 0);
        return read;
    }
    scratch.resize(static_cast<std::size_t>(frames * channels));
    const int64_t read = sf_readf_float(file, scratch.data(), frames);
    ZeroNonFinite(scratch.data(), read > 0 ? read * channels : 0);
    for (int64_t i = 0; i < read; ++i)
    {
        const float* in = &scratch[static_cast<std::size_t>(i * channels)];
        if (channels == 1)
        {
            stereo[2 * i] = stereo[2 * i + 1] = in[0];
            continue;
        }
        // Left and right keep their own channel; the rest go to both at half.
        float left = in[0];
        float right = in[1];
        for (int c = 2; c < channels; ++c)
        {
            left += 0.5f * in[c];
            right += 0.5f * in[c];
        }
        const float scale = 1.0f / (1.0f + 0.5f * (channels - 2));
        stereo[2 * i] = left * scale;
        stereo[2 * i + 1] = right * scale;
    }
    return read;
}

bool SoundFileReader::Seek(int64_t frame, const std::atomic<bool>* cancel)
{
    if (!file)
        return false;
    if ((exactSeekNeedsRewind || seekByDecoding) && sf_seek(file, 0, SEEK_SET) < 0)
        return false;
    if (!seekByDecoding)
        return sf_seek(file, frame, SEEK_SET) == frame;
    scratch.resize(static_cast<std::size_t>(4096 * channels));
    for (int64_t left = frame; left > 0;)
    {
        const sf_count_t read = sf_readf_float(file, scratch.data(), left < 4096 ? left : 4096);
        if (read <= 0 || (cancel && cancel->load()))
            return false;
        left -= read;
    }
    return true;
}

AudioResult ReadWholeFile(const std::string& path, std::vector<float>* stereo, int* sampleRate)
{
    SoundFileReader reader;
    AudioResult result = reader.Open(path);
    if (result != AudioResult::Ok)
        return result;
    const int64_t chunk = 16384;
    // The header's length is not trusted: the limit is checked as frames arrive.
    const int64_t maxFrames = MaxSampleFrames;
    // A header that claims more than the limit is refused before anything
    // is decoded: the file is too long, or broken.
    if (reader.Frames() > maxFrames)
        return AudioResult::FileUnreadable;
    stereo->clear();
    for (;;)
    {
        if (static_cast<int64_t>(stereo->size() / 2) >= maxFrames)
        {
            stereo->clear();
            stereo->shrink_to_fit();
            return AudioResult::FileUnreadable;
        }
        const std::size_t at = stereo->size();
        stereo->resize(at + chunk * 2);
        const int64_t read = reader.Read(stereo->data() + at, chunk);
        stereo->resize(at + static_cast<std::size_t>(read) * 2);
        if (read < chunk)
            break;
    }
    if (stereo->empty())
        return AudioResult::FileUnreadable;
    *sampleRate = reader.SampleRate();
    return AudioResult::Ok;
}
