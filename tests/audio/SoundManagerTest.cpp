#include "audio/Cue.h"
#include "audio/CueLayer.h"
#include "audio/SoundBank.h"
#include "audio/SoundManager.h"
#include "audio/engine/AudioSystem.h"
#include "objects/RandomManager.h"
#include "shell/Game.h"
#include "support/SoundFiles.h"
#include "support/TempFolder.h"

#include <boost/filesystem/operations.hpp>
#include <gtest/gtest.h>

#include <sndfile.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{
const int Rate = 48000;
const int SoundFrames = 480;

class SoundManagerTest : public ::testing::Test
{
protected:
    SoundManagerTest() : workingDirectory(folder.Path())
    {
        Game::Random = new RandomManager();
        sounds = new SoundManager(AudioInitOffline);
    }
    ~SoundManagerTest() override
    {
        delete sounds; // unloads what is still loaded
        delete Game::Random;
        Game::Random = nullptr;
    }

    void Wav(const std::string& name, float value)
    {
        // One constant value: the mixed output tells which layers play and
        // at which volume.
        boost::filesystem::path file = folder.Path() / "Content/Sound" / name;
        boost::filesystem::create_directories(file.parent_path());
        WriteSignalSound(file, SoundFrames, Rate, SF_FORMAT_WAV | SF_FORMAT_FLOAT,
                         [value](int) { return value; });
    }
    void Json(const std::string& name, const std::string& text)
    {
        folder.WriteText("Content/Sound/" + name, text);
    }

    // Plays the cue and returns the left output well after the start, then
    // lets the sound end.
    float PlayAndMeasure(const std::string& cue)
    {
        sounds->PlayCue(cue);
        std::vector<float> out(2 * 2 * SoundFrames);
        sounds->system->RenderOffline(out.data(), 2 * SoundFrames);
        return out[2 * (SoundFrames / 2)];
    }

    TempFolder folder;
    WorkingDirectory workingDirectory;
    SoundManager* sounds = nullptr;
};
} // namespace

TEST_F(SoundManagerTest, AudioFilesGetDefaultCuesAndMissingSoundsOrLayersStartNothing)
{
    Wav("Main/Tap.wav", 0.01f);
    folder.WriteText("Content/Sound/Main/notes.txt", "not audio");
    folder.WriteText("Content/Sound/Main/Sub/Inner.wav", "x");
    Json("Main/Ghost.json", R"({"Layers": [{"Sound": "Missing"}, {"Sound": "Tap"}]})");
    Json("Main/EmptySequence.json", R"({"LayerMode": "Sequential", "Layers": []})");
    Json("Main/EmptyRandom.json", R"({"LayerMode": "Randomized", "Layers": []})");
    sounds->LoadBank("Main");
    SoundBank* bank = sounds->banks.at("Main");
    EXPECT_EQ(bank->sounds.size(), 1u); // the lookup of "Missing" added nothing
    Cue* tap = bank->cues.at("Tap");
    EXPECT_EQ(tap->mode, CueLayerMode::Simultaneous);
    ASSERT_EQ(tap->layers.size(), 1u);
    EXPECT_NEAR(PlayAndMeasure("Tap"), 0.01f, 0.0005f);
    EXPECT_EQ(bank->cues.at("Ghost")->layers[0]->sound, nullptr);
    EXPECT_NEAR(PlayAndMeasure("Ghost"), 0.01f, 0.0005f);
    for (const char* silent : {"EmptySequence", "EmptyRandom", "Nothing"})
        EXPECT_EQ(PlayAndMeasure(silent), 0.0f) << silent;
}

TEST_F(SoundManagerTest, CuesPlayTheirLayersInTurnAllAtOnceOrAtRandom)
{
    const float levels[] = {0.01f, 0.02f, 0.03f, 0.04f};
    for (int i = 0; i < 4; ++i)
        Wav(std::string("Main/") + char('A' + i) + ".wav", levels[i]);
    Json(
        "Main/Hit.json",
        R"({"LayerMode": "Sequential", "Layers": [{"Sound": "A"}, {"Sound": "B"}, {"Sound": "D"}]})");
    Json("Main/All.json",
         R"({"Layers": [{"Sound": "A", "Volume": 0.5}, {"Sound": "B", "Volume": "2"},
                                         {"Sound": "D", "Volume": "loud"}]})");
    Json("Main/Any.json", R"({"LayerMode": "Randomized", "Layers": [{"Sound": "A"}, {"Sound": "B"},
                                                                    {"Sound": "C"}, {"Sound": "D"}]})");
    // A cue file replaces the default cue of its sound; the sound stays.
    Json("Main/A.json",
         R"({"LayerMode": "sequential", "Layers": {"x": {"Sound": "D", "Volume": 0}}})");
    sounds->LoadBank("Main");

    for (float value : {0.01f, 0.02f, 0.04f, 0.01f, 0.02f})
        EXPECT_NEAR(PlayAndMeasure("Hit"), value, 0.0005f);
    EXPECT_NEAR(PlayAndMeasure("All"), 0.005f + 0.04f + 0.04f, 0.002f);
    int counts[4] = {};
    for (int i = 0; i < 200; ++i)
    {
        const int layer = static_cast<int>(std::lround(PlayAndMeasure("Any") * 100.0f)) - 1;
        ASSERT_TRUE(layer >= 0 && layer < 4) << layer;
        ++counts[layer];
    }
    for (int count : counts)
        EXPECT_GT(count, 25);
    Cue* a = sounds->banks.at("Main")->cues.at("A");
    EXPECT_EQ(a->mode, CueLayerMode::Simultaneous); // other letter case
    EXPECT_EQ(PlayAndMeasure("A"), 0.0f);
    EXPECT_EQ(sounds->banks.at("Main")->sounds.count("A"), 1u);
}

TEST_F(SoundManagerTest, BanksAreSearchedInNameOrderAndLoadedOnce)
{
    Wav("B/Click.wav", 0.02f);
    Wav("A/Click.wav", 0.01f);
    sounds->LoadBank("B");
    sounds->LoadBank("A");
    sounds->LoadBank("A");
    EXPECT_NEAR(PlayAndMeasure("Click"), 0.01f, 0.0005f);
    sounds->UnloadBank("A");
    EXPECT_NEAR(PlayAndMeasure("Click"), 0.02f, 0.0005f);
    sounds->UnloadBank("B");
    sounds->UnloadBank("B");
    EXPECT_TRUE(sounds->banks.empty());
}
