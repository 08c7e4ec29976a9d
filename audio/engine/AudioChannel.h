#pragma once

#include "audio/engine/AudioResult.h"

#include <cstdint>

class AudioEngineState;

// The loudest gain a channel takes (+60 dB); louder volumes are held to it.
constexpr float MaxVolume = 1000.0f;

// A small value handle on a playing channel: a slot and its generation.
// Once the channel's sound ends or the slot is taken over, every call on the
// handle does nothing and returns InvalidHandle. A default handle is unset.
class AudioChannel
{
public:
    bool IsSet() const { return engine != nullptr; }

    AudioResult SetVolume(float volume); // linear gain, ramped over a few ms; 0 to MaxVolume
    AudioResult SetPaused(bool paused);
    AudioResult IsPlaying(bool* playing) const;
    AudioResult GetVolume(float* volume) const; // the target of the ramp
    AudioResult Stop();

    AudioEngineState* engine = nullptr; // the engine of the channel
    uint32_t slot = 0;
    uint32_t generation = 0;
};
