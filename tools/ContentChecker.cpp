#include "tools/ContentChecker.h"

#include "audio/Cue.h"
#include "audio/CueLayer.h"
#include "audio/MusicManager.h"
#include "audio/Sound.h"
#include "audio/SoundManager.h"
#include "audio/engine/AudioSystem.h"
#include "audio/engine/SoundFileReader.h"
#include "content/ContentFolder.h"
#include "content/ContentJson.h"
#include "content/Texture.h"
#include "input/ActionNames.h"
#include "input/GamepadControl.h"
#include "input/Key.h"
#include "shell/SoftwareCompositor.h"

#include <boost/filesystem/operations.hpp>

#include <algorithm>
#include <cmath>
#include <exception>
#include <map>
#include <set>

namespace fs = boost::filesystem;
namespace pt = boost::property_tree;

namespace
{
// True when the jump from the loop end back to the loop start is larger than
// any step the music takes near either: such a seam clicks at every loop.
bool LoopSeamClicks(const fs::path& file, int64_t start, int64_t end)
{
    SoundFileReader reader;
    const int64_t span = std::min<int64_t>(2048, end - start);
    std::vector<float> before(static_cast<std::size_t>(span + 1) * 2);
    std::vector<float> after(before.size());
    if (reader.Open(file.string()) != AudioResult::Ok || !reader.Seek(end - span) ||
        reader.Read(before.data(), span + 1) != span + 1 || !reader.Seek(start) ||
        reader.Read(after.data(), span + 1) != span + 1)
        return false;
    for (std::size_t channel = 0; channel < 2; ++channel)
    {
        float largestStep = 0.0f;
        for (std::size_t i = channel; i + 2 < before.size(); i += 2)
            largestStep = std::max({largestStep, std::fabs(before[i + 2] - before[i]),
                                    std::fabs(after[i + 2] - after[i])});
        const float seam = std::fabs(after[channel] - before[before.size() - 2 + channel]);
        if (seam > 1.5f * largestStep + 0.01f)
            return true;
    }
    return false;
}

// The names the demo scene asks for.
const char* const SceneTexture = "Ship";
const char* const SceneCues[] = {"Tap", "Click"};
const char* const SceneTrack = "Klezmer";

// Warns of every file of a stem but the one the game keeps (listed last).
template <typename Warn>
void WarnCompeting(const std::map<std::string, std::vector<ContentEntry>>& stems, const char* kind,
                   Warn warn)
{
    for (const auto& stem : stems)
    {
        const std::vector<ContentEntry>& files = stem.second;
        for (std::size_t i = 0; i + 1 < files.size(); ++i)
            warn(files[i].path, std::string(kind) + " \"" + stem.first + "\" is also given by " +
                                    files.back().path.filename().string() + "; the game keeps " +
                                    files.back().path.filename().string());
    }
}
} // namespace

void ContentChecker::Error(const std::string& text)
{
    problems.push_back({true, text});
}

void ContentChecker::Warn(const fs::path& file, const std::string& text)
{
    problems.push_back({false, file.string() + ": " + text});
}

int ContentChecker::ErrorCount() const
{
    int count = 0;
    for (const Problem& problem : problems)
        count += problem.error ? 1 : 0;
    return count;
}

int ContentChecker::WarningCount() const
{
    return static_cast<int>(problems.size()) - ErrorCount();
}

void ContentChecker::Check(const fs::path& rootFolder)
{
    // The content paths are relative to the working directory, as in the game.
    root = rootFolder;
    fs::path previous = fs::current_path();
    fs::current_path(root);
    try
    {
        CheckKeyMappings();
        CheckTextures();
        CheckSounds();
        CheckMusic();
    }
    catch (...)
    {
        fs::current_path(previous);
        throw;
    }
    fs::current_path(previous);
}

ContentChecker::JsonFiles ContentChecker::ReadJsonFiles(const StemGroups& files)
{
    JsonFiles read;
    for (const auto& stem : files.jsonFiles)
    {
        for (const ContentEntry& entry : stem.second)
        {
            try
            {
                read[stem.first] = {entry.path, ReadContentJson(entry.path)};
            }
            catch (const std::exception& error)
            {
                Error(error.what());
            }
        }
    }
    return read;
}

void ContentChecker::CheckKeyMappings()
{
    const fs::path file = ContentFolders::KeyMappingsFile;
    pt::ptree tree;
    try
    {
        tree = ReadContentJson(file);
    }
    catch (const std::exception& error)
    {
        Error(error.what());
        return;
    }

    bool mapped[ActionCount] = {};
    for (const auto& member : tree)
    {
        const std::string keyName = ReadNodeText(member.second);
        const int action = ActionIndexFromName(member.first);
        if (action < 0)
            Warn(file, "\"" + member.first + "\" is no action; the mapping is ignored");
        else if (KeyFromName(keyName) == Key::None && keyName != "None" &&
                 !GamepadControlFromName(keyName))
            Warn(file, "\"" + keyName + "\" (for " + member.first + ") is no key or pad name");
        else
            mapped[action] = true;
    }
    const char** names = CreateActionNames();
    for (int i = 0; i < ActionCount; ++i)
    {
        if (!mapped[i])
            Warn(file, std::string("the action ") + names[i] + " has no key");
    }
    delete[] names;
}

void ContentChecker::CheckTextures()
{
    // Textures are made as the game makes them, on a compositor of one band;
    // a declared size over the drawing path's limit fails here as in the game.
    SoftwareCompositor device(1);
    const fs::path folder = BankFolder(ContentFolders::Textures, "Main");
    std::map<std::string, std::vector<ContentEntry>> stems; // the PNG files of each stem
    try
    {
        for (const auto& [stem, entries] : GroupByStem(folder).otherFiles)
        {
            for (const ContentEntry& entry : entries)
            {
                if (entry.extension != ".png")
                    continue;
                stems[stem].push_back(entry);
                Texture* texture = CreateTexture(&device, entry.path.string().c_str());
                if (!texture)
                    Warn(entry.path, "the image does not load (not a readable PNG, or larger "
                                     "than " +
                                         std::to_string(MaxTextureSide) +
                                         " pixels on a side or 4096 x 4096 in all); it is not "
                                         "drawn");
                delete texture;
            }
        }
        WarnCompeting(stems, "the texture",
                      [&](const fs::path& file, const std::string& text) { Warn(file, text); });
        if (!stems.count(SceneTexture))
            Warn(folder, std::string("no texture \"") + SceneTexture +
                             "\": the scene's ships are not drawn");
    }
    catch (const std::exception& error)
    {
        Error(error.what());
    }
}

void ContentChecker::CheckSounds()
{
    AudioSystem* engine = nullptr;
    AudioSystem::Create(&engine);
    engine->Init(100, AudioInitOffline, nullptr);
    const fs::path folder = BankFolder(ContentFolders::Sound, "Main");
    StemGroups files;
    try
    {
        files = GroupByStem(folder);
    }
    catch (const std::exception& error)
    {
        Error(error.what());
    }
    std::map<std::string, Sound*> sounds;
    for (const auto& stem : files.otherFiles)
    {
        for (const ContentEntry& entry : stem.second)
        {
            AudioSound* handle = nullptr;
            if (engine->CreateSound(entry.path.string().c_str(), AudioModeDefault, &handle) !=
                AudioResult::Ok)
            {
                Warn(entry.path, "the audio engine refuses the file; the bank loads without it");
                continue;
            }
            handle->Release();
            Sound*& sound = sounds[stem.first];
            if (!sound)
                sound = new Sound();
        }
    }
    engine->Release();
    const JsonFiles cueFiles = ReadJsonFiles(files);
    WarnCompeting(files.otherFiles, "the sound",
                  [&](const fs::path& file, const std::string& text) { Warn(file, text); });
    WarnCompeting(files.jsonFiles, "the cue",
                  [&](const fs::path& file, const std::string& text) { Warn(file, text); });

    std::set<std::string> cues;
    for (const auto& sound : sounds)
        cues.insert(sound.first);
    for (const auto& file : cueFiles)
    {
        cues.insert(file.first);
        const fs::path& path = file.second.first;
        const pt::ptree& tree = file.second.second;
        Cue cue;
        try
        {
            ReadCueFile(path, tree, &cue, sounds);
        }
        catch (const std::exception& error)
        {
            Error(error.what());
            continue;
        }
        // Layers are in document order, as the reader made them.
        std::size_t index = 0;
        for (const auto& child : ReadChild(tree, "Layers"))
        {
            if (!cue.layers[index++]->sound)
                Warn(path, "the layer sound \"" + ReadText(child.second, "Sound") +
                               "\" is no sound of the bank; the layer stays silent");
        }
        if (cue.layers.empty())
            Warn(path, "the cue has no layers; it plays nothing");
    }
    for (auto& sound : sounds)
        delete sound.second;

    for (const char* name : SceneCues)
    {
        if (!cues.count(name))
            Warn(folder, std::string("no cue \"") + name + "\": the scene's feedback is silent");
    }
}

void ContentChecker::CheckMusic()
{
    AudioSystem* engine = nullptr;
    AudioSystem::Create(&engine);
    engine->Init(100, AudioInitOffline, nullptr);
    const fs::path folder = ContentFolders::Music;
    StemGroups files;
    try
    {
        files = GroupByStem(folder);
    }
    catch (const std::exception& error)
    {
        Error(error.what());
        engine->Release();
        return;
    }
    const JsonFiles metadataFiles = ReadJsonFiles(files);
    WarnCompeting(files.otherFiles, "the track",
                  [&](const fs::path& file, const std::string& text) { Warn(file, text); });
    WarnCompeting(files.jsonFiles, "the metadata of",
                  [&](const fs::path& file, const std::string& text) { Warn(file, text); });

    for (const auto& metadata : metadataFiles)
    {
        if (!files.otherFiles.count(metadata.first))
            Warn(metadata.second.first, "no audio file of the same name; the file is ignored");
    }
    for (const auto& stem : files.otherFiles)
    {
        // The game keeps one file of a stem; each is checked.
        MusicMetadata track;
        auto metadata = metadataFiles.find(stem.first);
        if (metadata != metadataFiles.end())
        {
            try
            {
                ReadLoopPoints(metadata->second.first, metadata->second.second, &track);
            }
            catch (const std::exception& error)
            {
                Error(error.what());
                continue;
            }
        }
        for (const ContentEntry& entry : stem.second)
        {
            const fs::path& file = entry.path;
            AudioSound* sound = nullptr;
            if (engine->CreateSound(file.string().c_str(), AudioModeLoop | AudioModeStream,
                                    &sound) != AudioResult::Ok)
            {
                Warn(file, "the audio engine refuses the file; the track plays nothing");
                continue;
            }
            if (track.loopStartSample != -1 && track.loopEndSample != -1 &&
                (track.loopStartSample < 0 || track.loopEndSample < 0 ||
                 sound->SetLoopPoints(static_cast<uint32_t>(track.loopStartSample),
                                      static_cast<uint32_t>(track.loopEndSample)) !=
                     AudioResult::Ok))
                Warn(metadata->second.first,
                     "the loop " + std::to_string(track.loopStartSample) + ".." +
                         std::to_string(track.loopEndSample) +
                         " is refused (the end must come after the start and lie within " +
                         file.filename().string() + "); the whole track loops");
            else if (track.loopStartSample != -1 && track.loopEndSample != -1 &&
                     LoopSeamClicks(file, track.loopStartSample, track.loopEndSample))
                Warn(metadata->second.first,
                     "the loop " + std::to_string(track.loopStartSample) + ".." +
                         std::to_string(track.loopEndSample) + " of " + file.filename().string() +
                         " jumps further at its seam than the music moves near it: it clicks");
            sound->Release();
        }
    }
    engine->Release();
    if (!files.otherFiles.count(SceneTrack))
        Warn(folder, std::string("no track \"") + SceneTrack + "\": the scene plays no music");
}
