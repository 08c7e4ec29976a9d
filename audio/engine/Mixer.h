#pragma once

#include "audio/engine/SpscQueue.h"

#include <atomic>
#include <cstdint>

class StreamDecoder;

// What the game's thread asks of a voice.
struct MixerCommand
{
    enum Kind : uint8_t
    {
        Play,      // starts a voice in the slot, ending what played there
        SetVolume, // a new ramp target; a voice not heard yet takes it at once
        SetPaused,
        Stop,    // fades out over the ramp, or ends at once if never heard or paused
        StopNow, // ends at once
    };
    Kind kind = Play;
    bool paused = false; // Play, SetPaused
    uint32_t slot = 0;
    uint32_t generation = 0; // the voice the command is for
    float volume = 1.0f;     // SetVolume
    // Play: a sample (stereo frames at the output rate) or a stream's decoder.
    const float* frames = nullptr;
    int64_t frameCount = 0;
    StreamDecoder* decoder = nullptr;
    int loopCount = 0; // 0 once, -1 for ever, n more times
};

// Mixes voices into interleaved stereo floats: gain ramps, loops and a soft
// limiter, and nothing else: no device, no file, no lock. The game's thread
// sends commands; the mixing thread applies them at the start of each Mix and
// hands back the decoders of ended voices. Neither side waits for the other.
class Mixer
{
public:
    static constexpr int CommandCapacity = 4096;

    Mixer(int voiceCount, int sampleRate);
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;
    ~Mixer();

    // The game's side. Send is false while the queue is full.
    bool Send(const MixerCommand& command);
    uint64_t Sent() const { return sent; }
    // How many sent commands the mixer has applied: once it reaches a count
    // Sent gave, the voices those commands ended read their memory no more.
    uint64_t Applied() const { return applied.load(std::memory_order_acquire); }
    // True once the voice of that generation in the slot has ended.
    bool Ended(uint32_t slot, uint32_t generation) const;
    // The decoder of an ended voice, for the game's thread to delete; null when none.
    StreamDecoder* TakeFinishedDecoder();

    // The mixing side.
    void ApplyCommands();
    void Mix(float* out, int frames);
    // The decoder a voice plays, or null: an offline output fills it before mixing.
    StreamDecoder* StreamAt(int slot) const;
    void EndAllVoices(); // at shutdown, once nothing mixes any more

    int VoiceCount() const { return voiceCount; }
    int SampleRate() const { return sampleRate; }

private:
    struct Voice
    {
        bool active = false;
        bool paused = false;
        bool sounded = false; // unpaused at least once
        bool stopping = false;
        uint32_t generation = 0;
        const float* frames = nullptr;
        int64_t frameCount = 0;
        StreamDecoder* decoder = nullptr;
        int64_t position = 0; // frames into a sample
        int loopsLeft = 0;
        float gain = 1.0f;
        float target = 1.0f;
    };

    void Apply(const MixerCommand& command);
    void MixVoice(int slot, float* out, int frames);
    // Adds count frames at the voice's gain, ramping first; false when a stop
    // faded the voice out and it ended.
    bool Accumulate(int slot, const float* source, float* out, int count);
    void EndVoice(int slot);

    int voiceCount;
    int sampleRate;
    float rampStep; // gain change per frame: a full swing in 4 ms
    Voice* voices;
    std::atomic<uint32_t>* endedGenerations;
    SpscQueue<MixerCommand> commands;
    // Every decoder in flight comes through a Play command, and the game's
    // thread empties this before each stream it starts: it cannot overflow.
    SpscQueue<StreamDecoder*> finishedDecoders;
    uint64_t sent = 0;
    std::atomic<uint64_t> applied{0};
    float* streamFrames; // a block read from a stream's ring
};
