#include "support/OfflineEngine.h"
#include "support/SoundFiles.h"

#include <utility>
#include <string>
#include <vector>

using AudioSystemTest = OfflineEngine;

TEST_F(AudioSystemTest, LoopsRepeatTheWholeFileAsOftenAsToldThenTheHandleGoesStale)
{
    WriteCountingSound(folder.Path() / "whole.wav", 1234, OfflineRate, Wav16);
    // A stream for ever, a sample once more: twice in all.
    AudioChannel channel;
    for (const auto& [mode, loopCount] :
         {std::pair{AudioModeLoop | AudioModeStream, -1}, std::pair{AudioModeLoop, 1}})
    {
        AudioSound* sound = Create("whole.wav", mode);
        sound->SetLoopCount(loopCount);
        // A sample takes no loop points at all; a stream refuses bad ones.
        const AudioResult refused =
            (mode & AudioModeStream) ? AudioResult::InvalidParam : AudioResult::Unsupported;
        EXPECT_EQ(sound->SetLoopPoints(600, 500), refused);
        EXPECT_EQ(sound->SetLoopPoints(500, 500), refused);
        EXPECT_EQ(sound->SetLoopPoints(0, 1234), refused) << "past the end";
        system->PlaySound(sound, false, &channel);
        const std::vector<int> played = RenderCounted(3000, 1001);
        for (int i = 0; i < 3000; ++i)
            ASSERT_EQ(played[i], loopCount < 0 || i < 2468 ? i % 1234 : -1)
                << "mode " << mode << ", frame " << i;
        if (loopCount < 0)
            sound->Release();
    }
    // The sample has ended: its handle is stale for every call.
    EXPECT_EQ(channel.IsPlaying(nullptr), AudioResult::InvalidHandle);
    EXPECT_EQ(channel.SetVolume(0.5f), AudioResult::InvalidHandle);
    EXPECT_EQ(channel.Stop(), AudioResult::InvalidHandle);
    EXPECT_EQ(AudioChannel().SetPaused(true), AudioResult::InvalidHandle);
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
    folder.WriteText("cut.wav", std::string("RIFF\x24\0\0\0WAVEfmt ", 16)); // cut in the header
    // 12 minutes at 1 kHz: small on disk, over the decoded limit at 48 kHz.
    WriteCountingSound(folder.Path() / "long.wav", 720000, 1000, Wav16);
    const std::pair<const char*, AudioResult> files[] = {{"missing.wav", AudioResult::FileNotFound},
                                                         {"text.wav", AudioResult::FileUnreadable},
                                                         {"cut.wav", AudioResult::FileUnreadable},
                                                         {"long.wav", AudioResult::FileUnreadable}};
    for (uint32_t mode : {AudioModeDefault, AudioModeStream | AudioModeLoop})
        for (const auto& [name, result] : files)
        {
            if (mode != AudioModeDefault && std::string(name) == "long.wav")
                continue; // streams are never decoded whole
            AudioSound* sound = reinterpret_cast<AudioSound*>(this);
            EXPECT_EQ(system->CreateSound(Path(name).c_str(), mode, &sound), result) << name;
            EXPECT_EQ(sound, nullptr) << name;
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
