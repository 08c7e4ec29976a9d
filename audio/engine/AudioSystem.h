#pragma once

#include "audio/engine/AudioChannel.h"
#include "audio/engine/AudioResult.h"
#include "audio/engine/AudioSound.h"

#include <cstdint>

// Init flags.
constexpr uint32_t AudioInitNormal = 0;
constexpr uint32_t AudioInitOffline = 1u << 0; // no device: mixing happens in RenderOffline only

class AudioEngineState;

// The audio engine: decodes files, mixes channels and feeds the output.
// Every call comes from the game's one thread; the output mixes on its own.
class AudioSystem
{
public:
    static AudioResult Create(AudioSystem** system);

    AudioResult Init(int maxChannels, uint32_t initFlags, void* extraDriverData);
    AudioResult Update(); // per-frame housekeeping
    AudioResult CreateSound(const char* path, uint32_t mode, AudioSound** sound);
    AudioResult PlaySound(AudioSound* sound, bool paused, AudioChannel* channel);
    // Stops everything, joins the threads, closes the output, deletes the system.
    AudioResult Release();

    // Mixes the next frames on the calling thread (a system initialised offline).
    AudioResult RenderOffline(float* interleavedStereo, int frames);
    int SampleRate() const;

    // Every system initialised after this call renders offline at that rate,
    // whatever its flags; 0 turns the switch off. For tests and tools.
    static void ForceOfflineOutput(int sampleRate);

    AudioEngineState* state = nullptr;

private:
    AudioSystem() = default;
    ~AudioSystem() = default;
};
