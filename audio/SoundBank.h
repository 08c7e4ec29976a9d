#pragma once

#include <map>
#include <string>

class Cue;
class Sound;

// The sounds and cues of one bank folder. SoundManager::UnloadBank releases
// and deletes the items; destroying the bank only empties its maps.
class SoundBank
{
public:
    virtual ~SoundBank() = default;

    std::map<std::string, Sound*> sounds;
    std::map<std::string, Cue*> cues;
};
