#pragma once

#include "audio/engine/AudioChannel.h"
#include "audio/engine/AudioResult.h"
#include "audio/engine/AudioSound.h"

#include <cstdint>

// Init flags.
// The sound card (or SDL's dummy driver); where none opens, Init says
// OutputFailed and the output plays to nowhere, at the same pace.
constexpr uint32_t AudioInitNormal = 0;
constexpr uint32_t AudioInitOffline = 1u << 0; // no device: 48 kHz, mixed in RenderOffline only

class AudioEngineState;

// The audio engine: decodes files, mixes channels and feeds the output.
// Every call comes from the game's one thread; the output's thread mixes on
// its own. Neither waits for the other, unless the game queues more commands
// than the mixer takes in a buffer (4096): then the call waits for room, at
// most a second, and fails with OutputFailed.
class AudioSystem
{
public:
    static AudioResult Create(AudioSystem** system);

    AudioResult Init(int maxChannels, uint32_t initFlags, void* extraDriverData);
    AudioResult Update(); // per-frame: frees what ended voices left behind
    AudioResult CreateSound(const char* path, uint32_t mode, AudioSound** sound);
    AudioResult PlaySound(AudioSound* sound, bool paused, AudioChannel* channel);
    // Stops everything, joins the threads, closes the output, deletes the system.
    AudioResult Release();

    // Mixes the next frames on the calling thread (a system initialised offline).
    AudioResult RenderOffline(float* interleavedStereo, int frames);
    int SampleRate() const;

    AudioEngineState* state = nullptr;

private:
    AudioSystem() = default;
    ~AudioSystem() = default;
};
