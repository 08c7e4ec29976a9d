#pragma once

#include "audio/engine/AudioSound.h"

#include <SDL.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class StreamDecoder;

// What the engine keeps for one sound (AudioSound::data).
struct SoundRecord
{
    bool stream = false;
    std::string path;
    std::vector<float> frames; // a sample, stereo at the output rate
    int sourceRate = 0;
    int64_t sourceFrames = -1; // a stream's reported length, -1 unknown
    int loopCount = 0;
    int64_t loopStart = -1; // source frames, inclusive
    int64_t loopEnd = -1;
};

struct ChannelSlot
{
    bool active = false;
    uint32_t generation = 1;
    AudioSound* sound = nullptr;
    StreamDecoder* decoder = nullptr;
    int64_t position = 0; // output frames into a sample
    int loopsLeft = 0;
    bool paused = false;
    bool sounded = false; // unpaused at least once
    bool stopping = false;
    float gain = 1.0f;
    float target = 1.0f;
    uint64_t order = 0;
};

// The engine's state. The mutex guards the slots; the game's thread holds it
// for a few copies only, the mixer for one buffer.
class AudioEngineState
{
public:
    void Mix(float* out, int frames); // with the lock held
    void FreeSlot(ChannelSlot& slot);

    std::mutex lock;
    std::vector<ChannelSlot> slots;
    std::vector<StreamDecoder*> finishedDecoders; // joined and deleted by Update
    std::vector<StreamDecoder*> releasing;        // Update's side of the swap, same capacity
    std::vector<AudioSound*> sounds; // created and not released; the system frees the rest
    int sampleRate = 48000;
    bool offline = false;
    SDL_AudioDeviceID device = 0;
    uint64_t nextOrder = 1;
    float rampStep = 1.0f / 192.0f;
};
