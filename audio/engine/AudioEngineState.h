#pragma once

#include <cstdint>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class AudioOutput;
class AudioSound;
class Mixer;
struct MixerCommand;

// What the engine keeps for one sound (AudioSound::record).
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

// The game's side of one mixer voice: what the game asked of it last. The
// mixer tells when the voice ends.
struct ChannelSlot
{
    bool active = false; // started and neither stopped at once nor taken over
    uint32_t generation = 0;
    AudioSound* sound = nullptr;
    bool stream = false;
    bool paused = false;
    bool sounded = false; // unpaused at least once
    float target = 1.0f;
    uint64_t order = 0;
};

// The engine's state, used by the game's thread only: the mixer runs on the
// output's thread and is reached through its queues alone.
class AudioEngineState
{
public:
    bool Live(uint32_t slot) const; // the slot's voice has not ended
    // Queues a command; waits for room only when the mixer is a full queue
    // behind, and never past a second.
    bool Send(const MixerCommand& command);
    // Stops the output, ends every voice and frees what the engine holds,
    // the sounds not released among it.
    void Shutdown();
    void DeleteFinished(); // decoders of ended voices, records no voice reads

    Mixer* mixer = nullptr;
    AudioOutput* output = nullptr;
    std::vector<ChannelSlot> slots;
    std::vector<AudioSound*> sounds; // created and not released; the system frees the rest
    // Released records a voice may still read, with the command count that
    // makes them safe to free.
    std::vector<std::pair<uint64_t, SoundRecord*>> retiredRecords;
    uint64_t nextOrder = 1;
    std::thread::id gameThread = std::this_thread::get_id(); // the one thread that calls
};
