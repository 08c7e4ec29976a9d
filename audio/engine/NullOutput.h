#pragma once

#include "audio/engine/AudioOutput.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

// An output that plays to nowhere: a thread of its own pulls the mixer's
// frames at real-time pace and discards them, so voices end and streams
// advance as they would on a sound card. The engine falls back to it when no
// device opens.
class NullOutput : public AudioOutput
{
public:
    static constexpr int Rate = 48000;
    static constexpr int BlockFrames = 1024;

    NullOutput() = default;
    NullOutput(const NullOutput&) = delete;
    NullOutput& operator=(const NullOutput&) = delete;
    ~NullOutput() override;

    int SampleRate() const override { return Rate; }
    void Start(Mixer* mixer) override;

private:
    void Pull(Mixer* mixer);

    std::thread thread;
    std::mutex lock;
    std::condition_variable wake;
    bool stopping = false;
    std::vector<float> block;
};
