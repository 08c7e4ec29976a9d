#include "audio/MusicManager.h"
#include "audio/SoundManager.h"
#include "audio/engine/AudioSystem.h"
#include "shell/Game.h"
#include "support/SoundFiles.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sndfile.h>

#include <vector>

namespace
{
const int Rate = 48000;

void WriteCountingWav(const boost::filesystem::path& file, int frames)
{
    WriteCountingSound(file, frames, Rate, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
}

class MusicManagerTest : public ::testing::Test
{
protected:
    MusicManagerTest() : workingDirectory(folder.Path())
    {
        folder.MakeFolder("Content/Music");
        Game::Sounds = new SoundManager(AudioInitOffline);
    }
    ~MusicManagerTest() override
    {
        delete Game::Music;
        Game::Music = nullptr;
        delete Game::Sounds;
        Game::Sounds = nullptr;
    }

    // The source frames the next output frames come from.
    std::vector<int> PlayedFrames(int frames)
    {
        std::vector<float> out(static_cast<std::size_t>(frames) * 2);
        Game::Sounds->system->RenderOffline(out.data(), frames);
        std::vector<int> played(frames);
        for (int i = 0; i < frames; ++i)
            played[i] = CountedFrame(out[2 * i]);
        return played;
    }

    TempFolder folder;
    WorkingDirectory workingDirectory;
};
} // namespace

TEST_F(MusicManagerTest, CataloguesByStemPairsMetadataExactlyAndPlaysOneLoopingTrack)
{
    WriteCountingWav(folder.Path() / "Content/Music/Klezmer.wav", 400);
    folder.WriteText("Content/Music/Klezmer.JSON",
                     R"({"LoopStartSample": 100, "LoopEndSample": "199", "X": 1})");
    WriteCountingWav(folder.Path() / "Content/Music/Waltz.wav", 400);
    folder.WriteText("Content/Music/waltz.json", R"({"LoopStartSample": 1, "LoopEndSample": 2})");
    WriteCountingWav(folder.Path() / "Content/Music/Half.wav", 400);
    folder.WriteText("Content/Music/Half.json", R"({"LoopStartSample": -1, "LoopEndSample": 20})");
    folder.WriteText("Content/Music/Orphan.json", R"({})");
    folder.WriteText("Content/Music/Broken.ogg", "not audio");
    folder.WriteText("Content/Music/NoExtension", "text");
    folder.WriteText("Content/Music/Sub/Inner.wav", "x");

    Game::Music = new MusicManager();
    auto& tracks = Game::Music->tracks;
    EXPECT_EQ(tracks.size(), 5u);
    EXPECT_EQ(tracks.at("Klezmer").filePath, "Content/Music/Klezmer.wav");
    EXPECT_EQ(tracks.at("Waltz").loopStartSample, -1);
    EXPECT_EQ(tracks.at("Half").loopStartSample, -1);
    EXPECT_EQ(tracks.at("Half").loopEndSample, 20);
    EXPECT_EQ(tracks.count("NoExtension"), 1u);
    EXPECT_EQ(tracks.count("Orphan"), 0u);

    // Between the inclusive loop points of its metadata.
    Game::Music->Play("Klezmer");
    std::vector<int> played = PlayedFrames(500);
    for (int i = 0; i < 500; ++i)
        ASSERT_EQ(played[i], i < 200 ? i : 100 + (i - 200) % 100) << "output frame " << i;

    // Without loop points, the whole file; a new track replaces the old one,
    // an unknown name changes nothing, and an unplayable file stops the music.
    AudioChannel first = Game::Music->channel;
    Game::Music->Play("Waltz");
    EXPECT_EQ(first.SetVolume(0.5f), AudioResult::InvalidHandle);
    played = PlayedFrames(900);
    EXPECT_EQ(played[399], 399);
    EXPECT_EQ(played[850], 50);
    AudioChannel waltz = Game::Music->channel;
    Game::Music->Play("Unknown");
    EXPECT_EQ(Game::Music->channel.generation, waltz.generation);
    Game::Music->Play("Broken");
    EXPECT_FALSE(Game::Music->channel.IsSet());
    EXPECT_EQ(Game::Music->currentSound, nullptr);
    EXPECT_EQ(PlayedFrames(10)[5], -1); // silence
}
