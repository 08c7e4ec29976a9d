#pragma once

#include "audio/engine/AudioSystem.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sndfile.h>

#include <string>
#include <vector>

constexpr int OfflineRate = 48000;
constexpr int Wav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;

// An engine of 100 channels mixing offline on the test's thread, and a
// temporary folder for its sound files.
class OfflineEngine : public ::testing::Test
{
protected:
    OfflineEngine();
    ~OfflineEngine() override;

    std::string Path(const std::string& name) const;
    AudioSound* Create(const std::string& name, uint32_t mode);
    // The left channel of the next frames of the mix.
    std::vector<float> Render(int frames);
    // The next frames rendered in chunks of an odd size, as counted source
    // frames (see CountedFrame).
    std::vector<int> RenderCounted(int frames, int chunk);

    TempFolder folder;
    AudioSystem* system = nullptr;
};

// The frames a looping sound plays: 0 to loopEnd once, then loopStart to
// loopEnd again and again.
int ExpectedLoopFrame(int index, int loopStart, int loopEnd);
