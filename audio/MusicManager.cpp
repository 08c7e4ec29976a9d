#include "audio/MusicManager.h"

#include "audio/SoundManager.h"
#include "audio/engine/AudioSound.h"
#include "audio/engine/AudioSystem.h"
#include "content/ContentFolder.h"
#include "content/ContentJson.h"
#include "shell/Game.h"

MusicManager::MusicManager()
{
    // Metadata belongs to the audio file of the same stem wherever either is
    // listed; every metadata file is read, the last listed of a stem counts.
    const StemGroups files = GroupByStem(ContentFolders::Music);
    std::map<std::string, boost::property_tree::ptree> metadata;
    for (const auto& stem : files.jsonFiles)
    {
        for (const ContentEntry& entry : stem.second)
            metadata[stem.first] = ReadContentJson(entry.path);
    }
    for (const auto& stem : files.otherFiles)
    {
        MusicMetadata& track = tracks[stem.first];
        track.filePath = stem.second.back().path.string();
        auto found = metadata.find(stem.first);
        if (found != metadata.end())
            ReadLoopPoints(files.jsonFiles.at(stem.first).back().path, found->second, &track);
    }
}

void ReadLoopPoints(const boost::filesystem::path& file, const boost::property_tree::ptree& tree,
                    MusicMetadata* track)
{
    ReadFromContentFile(file,
                        [&]
                        {
                            track->loopStartSample = ReadInt(ReadChild(tree, "LoopStartSample"));
                            track->loopEndSample = ReadInt(ReadChild(tree, "LoopEndSample"));
                        });
}

MusicManager::~MusicManager()
{
    if (currentSound)
    {
        currentSound->Release();
        currentSound = nullptr;
    }
}

void MusicManager::Play(const std::string& name)
{
    auto found = tracks.find(name);
    if (found == tracks.end())
        return;
    const MusicMetadata& track = found->second;

    if (currentSound)
    {
        currentSound->Release();
        currentSound = nullptr;
    }
    channel = AudioChannel();

    AudioSystem* system = Game::Sounds ? Game::Sounds->system : nullptr;
    if (!system || system->CreateSound(track.filePath.c_str(), AudioModeLoop | AudioModeStream,
                                       &currentSound) != AudioResult::Ok)
    {
        // A file the engine refuses plays nothing and leaves no channel.
        currentSound = nullptr;
        return;
    }
    if (track.loopStartSample != -1 && track.loopEndSample != -1)
        currentSound->SetLoopPoints(static_cast<uint32_t>(track.loopStartSample),
                                    static_cast<uint32_t>(track.loopEndSample));
    currentSound->SetLoopCount(-1);
    system->PlaySound(currentSound, false, &channel);
}
