#pragma once

class Sound;

// One sound of a cue with the volume its channel gets (0 silent, 1 full).
class CueLayer
{
public:
    virtual ~CueLayer() = default;

    Sound* sound = nullptr; // not owned; null when the name matched no sound
    float volume = 1.0f;
};
