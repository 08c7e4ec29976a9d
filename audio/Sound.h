#pragma once

class AudioSound;

// One audio file of a sound bank, decoded whole by the engine. The bank
// unload releases the engine sound; this destructor does not.
class Sound
{
public:
    virtual ~Sound() = default;

    AudioSound* handle = nullptr;
};
