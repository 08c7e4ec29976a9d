#pragma once

#include "audio/engine/AudioOutput.h"

// No device: the caller pulls frames from the mixer on its own thread, and
// the streams are decoded there too, just before they are mixed. For tests,
// tools and benchmarks, and wherever frames go somewhere other than a speaker.
class OfflineOutput : public AudioOutput
{
public:
    static constexpr int Rate = 48000;

    int SampleRate() const override { return Rate; }
    void Start(Mixer* source) override { mixer = source; }
    bool PullsOnItsOwnThread() const override { return false; }
    bool Render(float* interleavedStereo, int frames) override;

private:
    Mixer* mixer = nullptr;
};
