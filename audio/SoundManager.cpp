#include "audio/SoundManager.h"

#include "audio/Cue.h"
#include "audio/CueLayer.h"
#include "audio/Sound.h"
#include "audio/SoundBank.h"
#include "audio/engine/AudioChannel.h"
#include "audio/engine/AudioSound.h"
#include "audio/engine/AudioSystem.h"
#include "content/ContentFolder.h"
#include "content/ContentJson.h"
#include "objects/RandomManager.h"
#include "shell/Game.h"

#include <utility>

namespace
{
const int ChannelCount = 100;

CueLayerMode ModeFromName(const std::string& name)
{
    if (name == "Sequential")
        return CueLayerMode::Sequential;
    if (name == "Randomized")
        return CueLayerMode::Randomized;
    return CueLayerMode::Simultaneous;
}

Cue* NewCue()
{
    Cue* cue = new Cue();
    cue->mode = CueLayerMode::Simultaneous;
    cue->nextLayer = 0;
    return cue;
}

} // namespace

void ReadCueFile(const boost::filesystem::path& file, const boost::property_tree::ptree& tree,
                 Cue* cue, const std::map<std::string, Sound*>& sounds)
{
    ReadFromContentFile(file,
                        [&]
                        {
                            cue->mode = ModeFromName(ReadText(tree, "LayerMode", ""));
                            cue->ClearLayers();
                            for (const auto& child : ReadChild(tree, "Layers"))
                            {
                                std::string soundName = ReadText(child.second, "Sound");
                                CueLayer* layer = new CueLayer();
                                cue->layers.push_back(layer);
                                auto found = sounds.find(soundName);
                                layer->sound = found != sounds.end() ? found->second : nullptr;
                                if (boost::optional<float> volume =
                                        ReadOptionalFloat(child.second, "Volume"))
                                    layer->volume = *volume;
                            }
                        });
}

SoundManager::SoundManager(uint32_t audioInitFlags)
{
    AudioSystem::Create(&system);
    if (system)
        system->Init(ChannelCount, audioInitFlags, nullptr);
}

SoundManager::~SoundManager()
{
    while (!banks.empty())
    {
        const std::string name = banks.begin()->first;
        if (banks.begin()->second)
            UnloadBank(name);
        else
            banks.erase(banks.begin());
    }
    if (system)
        system->Release();
}

void SoundManager::LoadBank(std::string name)
{
    auto existing = banks.find(name);
    if (existing != banks.end() && existing->second)
        return;

    // Filed before anything is read: what a failed load made stays, and the
    // unload releases it.
    SoundBank* bank = new SoundBank();
    banks[name] = bank;

    const StemGroups files = GroupByStem(BankFolder(ContentFolders::Sound, name));
    for (const auto& stem : files.otherFiles)
    {
        // Of several files of a stem, the last one the engine takes is kept.
        for (auto entry = stem.second.rbegin(); entry != stem.second.rend(); ++entry)
        {
            AudioSound* handle = nullptr;
            if (!system || system->CreateSound(entry->path.string().c_str(), AudioModeDefault,
                                               &handle) != AudioResult::Ok)
                continue;
            handle->SetLoopCount(0);
            Sound* sound = new Sound();
            sound->handle = handle;
            bank->sounds[stem.first] = sound;
            break;
        }
    }

    for (const auto& sound : bank->sounds)
    {
        Cue* cue = NewCue();
        CueLayer* layer = new CueLayer();
        layer->sound = sound.second;
        layer->volume = 1.0f;
        cue->layers.push_back(layer);
        bank->cues[sound.first] = cue;
    }

    for (const auto& stem : files.jsonFiles)
    {
        // Every cue file is read; the last listed of a stem is the cue.
        boost::property_tree::ptree tree;
        for (const ContentEntry& entry : stem.second)
            tree = ReadContentJson(entry.path);
        Cue*& cue = bank->cues[stem.first];
        if (!cue)
            cue = NewCue();
        ReadCueFile(stem.second.back().path, tree, cue, bank->sounds);
    }
}

void SoundManager::UnloadBank(std::string name)
{
    auto found = banks.find(name);
    if (found == banks.end() || !found->second)
        return;
    SoundBank* bank = found->second;
    for (auto& sound : bank->sounds)
    {
        sound.second->handle->Release();
        delete sound.second;
    }
    for (auto& cue : bank->cues)
        delete cue.second;
    delete bank;
    banks.erase(found);
}

void SoundManager::PlayCue(std::string name)
{
    Cue* cue = nullptr;
    for (const auto& bank : banks)
    {
        if (!bank.second)
            continue;
        auto found = bank.second->cues.find(name);
        if (found != bank.second->cues.end())
        {
            cue = found->second;
            break;
        }
    }
    if (!cue)
        return;

    const int32_t count = static_cast<int32_t>(cue->layers.size());
    int32_t first = 0;
    int32_t last = count - 1;
    switch (cue->mode)
    {
    case CueLayerMode::Randomized:
        if (count == 0)
            return;
        first = last = Game::Random->Next(0, count - 1);
        break;
    case CueLayerMode::Sequential:
        if (count == 0)
            return;
        first = last = cue->nextLayer;
        cue->nextLayer = (cue->nextLayer + 1) % count;
        break;
    case CueLayerMode::Simultaneous:
        break;
    }

    for (int32_t i = first; i <= last; ++i)
    {
        CueLayer* layer = cue->layers[i];
        if (!layer->sound)
            continue; // named no sound of the bank
        AudioChannel channel;
        system->PlaySound(layer->sound->handle, true, &channel);
        channel.SetVolume(layer->volume);
        channel.SetPaused(false);
    }
}
