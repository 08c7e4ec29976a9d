#pragma once

#include "audio/engine/AudioResult.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

struct sf_private_tag;

// Reads audio files with libsndfile as interleaved stereo floats: mono is
// doubled, more channels fold into left and right. One reader per thread.
class SoundFileReader
{
public:
    SoundFileReader() = default;
    SoundFileReader(const SoundFileReader&) = delete;
    SoundFileReader& operator=(const SoundFileReader&) = delete;
    ~SoundFileReader();

    AudioResult Open(const std::string& path);

    // Reads up to frames stereo frames; returns how many were read (short at
    // the end of the file or on a decoding error).
    int64_t Read(float* stereo, int64_t frames);

    // Positions the reader at a source frame, exactly. A seek that decodes
    // its way there gives up as soon as `cancel` is set.
    bool Seek(int64_t frame, const std::atomic<bool>* cancel = nullptr);

    int SampleRate() const { return sampleRate; }
    int64_t Frames() const { return frameCount; } // as the header says; -1 unknown

private:
    sf_private_tag* file = nullptr;
    int channels = 0;
    int sampleRate = 0;
    int64_t frameCount = -1;
    bool exactSeekNeedsRewind = false;
    bool seekByDecoding = false;
    std::vector<float> scratch;
};

// The most frames of a sound decoded whole, at its own rate and at the
// output's (ten minutes at 48 kHz, 230 MB of stereo floats, whatever the
// file's rate); a longer one is refused as unreadable.
constexpr int64_t MaxSampleFrames = 600 * 48000;

// The loudest sample passed on; louder ones are held to it (36 dB over full
// scale: no real content comes near).
constexpr float MaxSampleMagnitude = 64.0f;

// Decodes a whole file into stereo floats at the source rate. The header's
// frame count is not trusted: it reads until a short read, and refuses the
// file once it passes MaxSampleFrames (at once when its header says so).
AudioResult ReadWholeFile(const std::string& path, std::vector<float>* stereo, int* sampleRate);
