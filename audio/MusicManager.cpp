#include "audio/MusicManager.h"

#include "audio/SoundManager.h"
#include "audio/engine/AudioSound.h"
#include "audio/engine/AudioSystem.h"
#include "content/ContentFolder.h"
#include "content/ContentJson.h"
#include "shell/Game.h"

namespace
{
struct MetadataFile
{
    boost::filesystem::path path;
    boost::property_tree::ptree tree;
};
} // namespace

MusicManager::MusicManager()
{
    // Metadata belongs to the audio file of the same stem wherever either is
    // listed, so the trees are read first and paired afterwards.
    std::map<std::string, MetadataFile> metadataFiles;
    ScanContentFolder(
        ContentFolders::Music,
        [&](const ContentEntry& entry)
        {
            if (entry.extension == ".json")
            {
                metadataFiles[entry.name] = MetadataFile{entry.path, ReadContentJson(entry.path)};
                return;
            }
            MusicMetadata track;
            track.filePath = entry.path.string();
            tracks[entry.name] = track;
        });

    for (auto& track : tracks)
    {
        auto found = metadataFiles.find(track.first);
        if (found == metadataFiles.end())
            continue;
        ReadLoopPoints(found->second.path, found->second.tree, &track.second);
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
