#pragma once

#include <boost/filesystem/path.hpp>
#include <boost/property_tree/ptree_fwd.hpp>

#include <cstdint>
#include <map>
#include <string>

class AudioSystem;
class Cue;
class Sound;
class SoundBank;

// The sound-effect service: banks of sounds and cues loaded from
// Content/Sound/<bank>, and cue playback on the audio engine it owns.
class SoundManager
{
public:
    // Creates the audio engine and initialises it with 100 channels and the
    // AudioSystem::Init flags given (offline for tests and tools).
    explicit SoundManager(uint32_t audioInitFlags = 0);
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;
    // Unloads whatever bank is still loaded, then releases the engine.
    virtual ~SoundManager();

    void LoadBank(std::string name);
    void UnloadBank(std::string name);

    // Starts the cue of the first bank, in name order, that has it; the
    // channels it starts are not kept. An unknown name does nothing.
    void PlayCue(std::string name);

    AudioSystem* system = nullptr;
    std::map<std::string, SoundBank*> banks;
};

// Replaces the cue's mode and layers with what a cue file's tree says. A
// layer naming no sound of `sounds` gets no sound; read errors name the file.
void ReadCueFile(const boost::filesystem::path& file, const boost::property_tree::ptree& tree,
                 Cue* cue, const std::map<std::string, Sound*>& sounds);
