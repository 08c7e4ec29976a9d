#pragma once

#include "audio/MusicMetadata.h"
#include "audio/engine/AudioChannel.h"

#include <boost/filesystem/path.hpp>
#include <boost/property_tree/ptree_fwd.hpp>

#include <map>
#include <string>

class AudioSound;

// The music service: the catalogue of Content/Music, read at construction,
// and one looping stream at a time on the engine of Game::Sounds.
class MusicManager
{
public:
    MusicManager();
    MusicManager(const MusicManager&) = delete;
    MusicManager& operator=(const MusicManager&) = delete;
    // Releases the current track.
    virtual ~MusicManager();

    // Replaces the current track with the named one, looping for ever from its
    // start; an unknown name leaves the current track playing.
    void Play(const std::string& name);

    std::map<std::string, MusicMetadata> tracks;
    AudioSound* currentSound = nullptr;
    AudioChannel channel; // unset until a track plays; game code sets its volume
};

// Reads "LoopStartSample" and "LoopEndSample" of a metadata file's tree into
// the track; read errors name the file.
void ReadLoopPoints(const boost::filesystem::path& file, const boost::property_tree::ptree& tree,
                    MusicMetadata* track);
