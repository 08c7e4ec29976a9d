#pragma once

#include "audio/engine/AudioResult.h"

#include <cstdint>

class AudioEngineState;
struct SoundRecord;

// Mode flags of AudioSystem::CreateSound.
constexpr uint32_t AudioModeDefault = 0;      // a sample: decoded whole into memory, plays once
constexpr uint32_t AudioModeLoop = 1u << 0;   // loops (see SetLoopCount)
constexpr uint32_t AudioModeStream = 1u << 1; // decoded while it plays, on the decoder thread

// A sound of the engine, made by AudioSystem::CreateSound.
class AudioSound
{
public:
    // 0 plays once, -1 loops for ever, n repeats n more times.
    AudioResult SetLoopCount(int count);

    // Loop span of a stream in PCM frames of the source file, both ends
    // inclusive. Refused (and nothing changes) when end <= start or end is
    // past the file; Unsupported on a sample.
    AudioResult SetLoopPoints(uint32_t startFrame, uint32_t endFrame);

    // Stops every channel that plays it at once; the memory goes once the
    // mixer no longer reads it. The pointer must not be used afterwards.
    AudioResult Release();

    AudioEngineState* engine = nullptr; // the engine that made it
    SoundRecord* record = nullptr;      // the engine's own record of the sound
};
