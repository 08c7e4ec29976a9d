#include "support/OfflineEngine.h"
#include "support/SoundFiles.h"

#include <fstream>
#include <string>
#include <vector>

using AudioSystemTest = OfflineEngine;

TEST_F(AudioSystemTest, LoopsWithoutPointsRepeatTheWholeFileAndBadPointsAreRefused)
{
    WriteCountingSound(folder.Path() / "whole.wav", 1234, OfflineRate, Wav16);
    for (uint32_t mode : {AudioModeLoop, AudioModeLoop | AudioModeStream})
    {
        AudioSound* sound = Create("whole.wav", mode);
        sound->SetLoopCount(-1);
        // A sample takes no loop points at all; a stream refuses bad ones.
        const AudioResult refused =
            (mode & AudioModeStream) ? AudioResult::InvalidParam : AudioResult::Unsupported;
        EXPECT_EQ(sound->SetLoopPoints(500, 500), refused);
        EXPECT_EQ(sound->SetLoopPoints(600, 500), refused);
        EXPECT_EQ(sound->SetLoopPoints(0, 1234), refused) << "past the end";
        if (!(mode & AudioModeStream))
        {
            EXPECT_EQ(sound->SetLoopPoints(10, 20), AudioResult::Unsupported);
        }
        AudioChannel channel;
        system->PlaySound(sound, false, &channel);
        std::vector<int> played = RenderCounted(6000, 1001);
        for (std::size_t i = 0; i < played.size(); ++i)
            ASSERT_EQ(played[i], static_cast<int>(i % 1234)) << "mode " << mode << ", frame " << i;
        sound->Release();
        Render(1000);
    }

    // A loop count of 1 plays the file twice.
    AudioSound* twice = Create("whole.wav", AudioModeLoop);
    twice->SetLoopCount(1);
    AudioChannel channel;
    system->PlaySound(twice, false, &channel);
    std::vector<int> played = RenderCounted(2600, 999);
    for (int i = 0; i < 2468; ++i)
        ASSERT_EQ(played[static_cast<std::size_t>(i)], i % 1234);
    EXPECT_EQ(played[2500], -1);

    // Ended, its handle is stale for every call.
    EXPECT_EQ(channel.IsPlaying(nullptr), AudioResult::InvalidHandle);
    EXPECT_EQ(channel.SetVolume(0.5f), AudioResult::InvalidHandle);
    EXPECT_EQ(channel.Stop(), AudioResult::InvalidHandle);
    EXPECT_EQ(AudioChannel().SetPaused(true), AudioResult::InvalidHandle);
    twice->Release();
}

TEST_F(AudioSystemTest, FullSystemStealsTheQuietestOrOldestEffectAndNeverTheMusic)
{
    WriteCountingSound(folder.Path() / "effect.wav", 4000, OfflineRate, Wav16);
    WriteCountingSound(folder.Path() / "music.wav", 4000, OfflineRate, Wav16);
    AudioSound* effect = Create("effect.wav", AudioModeLoop);
    effect->SetLoopCount(-1);
    AudioSound* music = Create("music.wav", AudioModeStream | AudioModeLoop);
    music->SetLoopCount(-1);

    AudioChannel musicChannel;
    system->PlaySound(music, false, &musicChannel);
    musicChannel.SetVolume(0.0f); // the quietest of all, yet never stolen
    std::vector<AudioChannel> effects(99);
    for (AudioChannel& channel : effects)
        ASSERT_EQ(system->PlaySound(effect, false, &channel), AudioResult::Ok);
    effects[40].SetVolume(0.25f);
    Render(256);

    AudioChannel stealer;
    ASSERT_EQ(system->PlaySound(effect, false, &stealer), AudioResult::Ok);
    bool playing = false;
    EXPECT_EQ(effects[40].IsPlaying(&playing), AudioResult::InvalidHandle);
    EXPECT_EQ(effects[40].SetVolume(1.0f), AudioResult::InvalidHandle);
    EXPECT_EQ(effects[40].Stop(), AudioResult::InvalidHandle) << "the stale handle is refused";
    EXPECT_EQ(stealer.IsPlaying(&playing), AudioResult::Ok) << "and the new owner plays on";
    EXPECT_EQ(musicChannel.IsPlaying(&playing), AudioResult::Ok);

    // With equal volumes the oldest effect goes.
    AudioChannel next;
    ASSERT_EQ(system->PlaySound(effect, false, &next), AudioResult::Ok);
    EXPECT_EQ(effects[0].IsPlaying(&playing), AudioResult::InvalidHandle);
    EXPECT_EQ(effects[1].IsPlaying(&playing), AudioResult::Ok);
    EXPECT_EQ(musicChannel.IsPlaying(&playing), AudioResult::Ok);
    effect->Release();
    music->Release();
}

TEST_F(AudioSystemTest, RefusedFilesCreateNothing)
{
    folder.WriteText("text.wav", "this is not a sound\n");
    WriteCountingSound(folder.Path() / "whole.wav", 1000, OfflineRate, Wav16);
    {
        std::ifstream whole(Path("whole.wav"), std::ios::binary);
        std::string head(20, '\0');
        whole.read(&head[0], 20);
        std::ofstream cut(Path("cut.wav"), std::ios::binary);
        cut.write(head.data(), 20);
    }
    for (uint32_t mode : {AudioModeDefault, AudioModeStream | AudioModeLoop})
    {
        AudioSound* sound = reinterpret_cast<AudioSound*>(this);
        EXPECT_EQ(system->CreateSound(Path("missing.wav").c_str(), mode, &sound),
                  AudioResult::FileNotFound);
        EXPECT_EQ(sound, nullptr);
        sound = reinterpret_cast<AudioSound*>(this);
        EXPECT_EQ(system->CreateSound(Path("text.wav").c_str(), mode, &sound),
                  AudioResult::FileUnreadable);
        EXPECT_EQ(sound, nullptr);
        sound = reinterpret_cast<AudioSound*>(this);
        EXPECT_EQ(system->CreateSound(Path("cut.wav").c_str(), mode, &sound),
                  AudioResult::FileUnreadable);
        EXPECT_EQ(sound, nullptr);
    }
    AudioChannel channel;
    EXPECT_EQ(system->PlaySound(nullptr, false, &channel), AudioResult::InvalidParam);
    EXPECT_FALSE(channel.IsSet());
}

TEST_F(AudioSystemTest, ReleasingASoundStopsEveryChannelThatPlaysIt)
{
    WriteCountingSound(folder.Path() / "held.wav", 2000, OfflineRate, Wav16);
    AudioSound* sound = Create("held.wav", AudioModeLoop);
    sound->SetLoopCount(-1);
    AudioChannel channels[3];
    for (AudioChannel& channel : channels)
        system->PlaySound(sound, false, &channel);
    Render(100);
    ASSERT_EQ(sound->Release(), AudioResult::Ok);
    bool playing = true;
    for (AudioChannel& channel : channels)
        EXPECT_EQ(channel.IsPlaying(&playing), AudioResult::InvalidHandle);
    Render(OfflineRate / 50); // the fade-out, reading the sound until it is done
    system->Update();
    for (float value : Render(500))
        ASSERT_EQ(value, 0.0f);
}
