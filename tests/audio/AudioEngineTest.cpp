#include "audio/engine/AudioSystem.h"
#include "support/SoundFiles.h"
#include "support/TempFolder.h"

#include <boost/filesystem/operations.hpp>
#include <gtest/gtest.h>

#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr int Rate = 48000;
constexpr int Wav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;

// An engine of 100 channels mixing offline on the test's thread.
class AudioEngineTest : public ::testing::Test
{
protected:
    AudioEngineTest()
    {
        AudioSystem::Create(&system);
        system->Init(100, AudioInitOffline, nullptr);
    }
    ~AudioEngineTest() override { system->Release(); }

    std::string Path(const std::string& name) const { return (folder.Path() / name).string(); }

    AudioSound* Create(const std::string& name, uint32_t mode)
    {
        AudioSound* sound = nullptr;
        EXPECT_EQ(system->CreateSound(Path(name).c_str(), mode, &sound), AudioResult::Ok) << name;
        return sound;
    }

    // The left channel of the next frames of the mix.
    std::vector<float> Render(int frames)
    {
        std::vector<float> out(static_cast<std::size_t>(frames) * 2);
        system->RenderOffline(out.data(), frames);
        std::vector<float> left(static_cast<std::size_t>(frames));
        for (int i = 0; i < frames; ++i)
            left[static_cast<std::size_t>(i)] = out[2 * static_cast<std::size_t>(i)];
        return left;
    }

    // The next frames rendered in chunks of an odd size, as source frames.
    std::vector<int> RenderCounted(int frames, int chunk)
    {
        std::vector<int> counted;
        while (static_cast<int>(counted.size()) < frames)
        {
            int now = std::min(chunk, frames - static_cast<int>(counted.size()));
            for (float value : Render(now))
                counted.push_back(CountedFrame(value));
        }
        return counted;
    }

    TempFolder folder;
    AudioSystem* system = nullptr;
};

// The frames a looping sound plays: 0 to loopEnd once, then loopStart to
// loopEnd again and again.
int ExpectedLoopFrame(int index, int loopStart, int loopEnd)
{
    if (index <= loopEnd)
        return index;
    return loopStart + (index - loopEnd - 1) % (loopEnd - loopStart + 1);
}
} // namespace

TEST_F(AudioEngineTest, SamplePlaysItsFramesInOrderThenItsHandleGoesStale)
{
    WriteCountingSound(folder.Path() / "count.wav", 1000, Rate, Wav16);
    AudioSound* sound = Create("count.wav", AudioModeDefault);
    AudioChannel channel;
    ASSERT_EQ(system->PlaySound(sound, false, &channel), AudioResult::Ok);

    std::vector<int> played = RenderCounted(1200, 333);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(played[static_cast<std::size_t>(i)], i);
    for (int i = 1000; i < 1200; ++i)
        ASSERT_EQ(played[static_cast<std::size_t>(i)], -1) << "silence after the end";

    system->Update();
    bool playing = true;
    EXPECT_EQ(channel.IsPlaying(&playing), AudioResult::InvalidHandle);
    EXPECT_FALSE(playing);
    EXPECT_EQ(channel.SetVolume(0.5f), AudioResult::InvalidHandle);
    EXPECT_EQ(channel.Stop(), AudioResult::InvalidHandle);
    EXPECT_EQ(AudioChannel().SetPaused(true), AudioResult::InvalidHandle);
    sound->Release();
}

TEST_F(AudioEngineTest, StreamsLoopBetweenInclusivePointsAcrossRefills)
{
    // Ten seconds of output pass through the one-second ring many times.
    for (int format : {Wav16, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, SF_FORMAT_WAV | SF_FORMAT_FLOAT})
    {
        WriteCountingSound(folder.Path() / "loop.snd", 5000, Rate, format);
        AudioSound* sound = Create("loop.snd", AudioModeStream | AudioModeLoop);
        ASSERT_EQ(sound->SetLoopPoints(1000, 2999), AudioResult::Ok);
        ASSERT_EQ(sound->SetLoopCount(-1), AudioResult::Ok);
        AudioChannel channel;
        ASSERT_EQ(system->PlaySound(sound, false, &channel), AudioResult::Ok);

        std::vector<int> played = RenderCounted(10 * Rate, 777);
        for (std::size_t i = 0; i < played.size(); ++i)
            ASSERT_EQ(played[i], ExpectedLoopFrame(static_cast<int>(i), 1000, 2999))
                << "format " << std::hex << format << std::dec << ", output frame " << i;
        sound->Release();
        Render(1000);
    }
}

TEST_F(AudioEngineTest, LoopsWithoutPointsRepeatTheWholeFileAndBadPointsAreRefused)
{
    WriteCountingSound(folder.Path() / "whole.wav", 1234, Rate, Wav16);
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
    twice->Release();
}

TEST_F(AudioEngineTest, ResampledStreamKeepsItsSeamContinuous)
{
    // A 44.1 kHz sine of period 200 frames over a loop of exactly ten periods:
    // played at 48 kHz it must stay one continuous sine through every seam.
    const double pi = 3.14159265358979323846;
    WriteSignalSound(folder.Path() / "sine.wav", 8000, 44100, SF_FORMAT_WAV | SF_FORMAT_FLOAT,
                     [pi](int i)
                     { return static_cast<float>(0.5 * std::sin(2 * pi * i / 200.0)); });
    AudioSound* sound = Create("sine.wav", AudioModeStream | AudioModeLoop);
    ASSERT_EQ(sound->SetLoopPoints(2000, 3999), AudioResult::Ok);
    sound->SetLoopCount(-1);
    AudioChannel channel;
    system->PlaySound(sound, false, &channel);

    Render(Rate / 10); // past the resampler's start-up
    std::vector<float> out;
    for (int chunk = 0; chunk < 40; ++chunk)
        for (float value : Render(1201))
            out.push_back(value);

    // The steepest step of the sine at 48 kHz is 0.5 * 2 pi / (200 * 48000 / 44100).
    double steepest = 0.5 * 2 * pi / (200.0 * Rate / 44100.0);
    int crossings = 0;
    for (std::size_t i = 1; i < out.size(); ++i)
    {
        ASSERT_LE(std::fabs(out[i] - out[i - 1]), steepest * 1.05) << "jump at output frame " << i;
        if (out[i - 1] < 0.0f && out[i] >= 0.0f)
            ++crossings;
    }
    // One period is 200 * 48000 / 44100 output frames long.
    double periods = out.size() / (200.0 * Rate / 44100.0);
    EXPECT_NEAR(crossings, periods, 1.5);
    sound->Release();
}

TEST_F(AudioEngineTest, LossyStreamsLoopAtTheRightFrame)
{
    // Ogg Vorbis and variable-bitrate MP3, whose seeks are not exact by
    // themselves: the stream must match a plain decode of the same file.
    const double pi = 3.14159265358979323846;
    auto signal = [pi](int i)
    {
        double t = i / static_cast<double>(Rate);
        return static_cast<float>(0.3 * std::sin(2 * pi * 440 * t) *
                                      (1 + 0.5 * std::sin(2 * pi * 3 * t)) +
                                  0.2 * std::sin(2 * pi * 1234.5 * t));
    };
    const std::pair<const char*, int> formats[] = {
        {"music.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {"music.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III}};
    for (const auto& [name, format] : formats)
    {
        WriteSignalSound(folder.Path() / name, 3 * Rate, Rate, format, signal, true);
        std::vector<float> reference = DecodeWholeFile(folder.Path() / name);
        ASSERT_GE(reference.size(), static_cast<std::size_t>(3 * Rate - 1));

        // A long span, and the shortest there is, which replays from memory.
        for (const auto& [loopStart, loopEnd] : {std::pair{30000, 99999}, std::pair{1000, 1001}})
        {
            AudioSound* sound = Create(name, AudioModeStream | AudioModeLoop);
            ASSERT_EQ(sound->SetLoopPoints(loopStart, loopEnd), AudioResult::Ok);
            sound->SetLoopCount(-1);
            AudioChannel channel;
            system->PlaySound(sound, false, &channel);

            std::vector<float> out;
            while (out.size() <
                   static_cast<std::size_t>(loopEnd + 3 * (loopEnd - loopStart + 1)) + Rate / 2)
                for (float value : Render(4099))
                    out.push_back(value);
            for (std::size_t i = 0; i < out.size(); ++i)
            {
                int frame = ExpectedLoopFrame(static_cast<int>(i), loopStart, loopEnd);
                ASSERT_NEAR(out[i], reference[static_cast<std::size_t>(frame)], 2e-3)
                    << name << ": output frame " << i << " should be source frame " << frame;
            }
            sound->Release();
            Render(1000);
        }
    }
}

TEST_F(AudioEngineTest, StreamsPlayWhatTheSamePlayedWholeWouldAtAnyRate)
{
    // At 8 kHz a chunk converts to more frames than the ring may have free;
    // none may be lost, and the stream ends on its last frame.
    const double pi = 3.14159265358979323846;
    for (int rate : {8000, 11025, Rate})
    {
        WriteSignalSound(folder.Path() / "low.wav", 2 * rate, rate, SF_FORMAT_WAV | SF_FORMAT_FLOAT,
                         [&](int i)
                         { return static_cast<float>(0.5 * std::sin(2 * pi * i / 40.0)); });
        std::vector<float> outputs[2];
        for (uint32_t mode : {AudioModeDefault, AudioModeStream})
        {
            AudioSound* sound = Create("low.wav", mode);
            AudioChannel channel;
            system->PlaySound(sound, false, &channel);
            for (int chunk = 0; chunk < 12; ++chunk)
                for (float value : Render(Rate / 4))
                    outputs[mode == AudioModeStream].push_back(value);
            sound->Release();
            Render(1000);
        }
        for (std::size_t i = 0; i < outputs[0].size(); ++i)
            ASSERT_NEAR(outputs[1][i], outputs[0][i], 1e-4) << rate << " Hz, frame " << i;
        std::size_t last = outputs[0].size();
        while (last > 0 && outputs[0][last - 1] == 0.0f)
            --last;
        EXPECT_NEAR(static_cast<double>(last), 2.0 * Rate, Rate / 100.0) << rate << " Hz";
    }
}

TEST_F(AudioEngineTest, NonFiniteSamplesPlayAsSilence)
{
    WriteSignalSound(folder.Path() / "nan.wav", 1000, Rate, SF_FORMAT_WAV | SF_FORMAT_FLOAT,
                     [](int i) {
                         return i % 3 == 0 ? std::nanf("") : i % 3 == 1 ? INFINITY : 0.25f;
                     });
    for (uint32_t mode : {AudioModeDefault, AudioModeStream})
    {
        AudioSound* sound = Create("nan.wav", mode);
        AudioChannel channel;
        system->PlaySound(sound, false, &channel);
        for (float value : Render(1200))
            ASSERT_TRUE(std::isfinite(value)) << "mode " << mode;
        sound->Release();
    }
}

TEST_F(AudioEngineTest, FullSystemStealsTheQuietestOrOldestEffectAndNeverTheMusic)
{
    WriteCountingSound(folder.Path() / "effect.wav", 4000, Rate, Wav16);
    WriteCountingSound(folder.Path() / "music.wav", 4000, Rate, Wav16);
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

TEST_F(AudioEngineTest, PausedVolumeAppliesFromTheFirstSampleAndChangesRamp)
{
    WriteSignalSound(folder.Path() / "level.wav", 4 * Rate, Rate, SF_FORMAT_WAV | SF_FORMAT_FLOAT,
                     [](int) { return 0.5f; });
    AudioSound* sound = Create("level.wav", AudioModeDefault);
    AudioChannel channel;
    system->PlaySound(sound, true, &channel);
    channel.SetVolume(0.4f);
    for (float value : Render(500))
        ASSERT_EQ(value, 0.0f) << "a paused channel is silent";

    channel.SetPaused(false);
    std::vector<float> out = Render(100);
    EXPECT_NEAR(out[0], 0.2f, 1e-4) << "the volume set while paused holds from the first sample";
    EXPECT_NEAR(out[99], 0.2f, 1e-4);

    // A change of volume, then a stop, move in small steps over a few ms.
    channel.SetVolume(1.0f);
    out = Render(Rate / 50);
    EXPECT_LT(out[0], 0.21f);
    EXPECT_NEAR(out.back(), 0.5f, 1e-3);
    channel.Stop();
    out = Render(Rate / 50);
    EXPECT_GT(out[0], 0.45f) << "no jump to silence";
    for (std::size_t i = 1; i < out.size(); ++i)
        ASSERT_LE(std::fabs(out[i] - out[i - 1]), 0.01f) << "click at frame " << i;
    EXPECT_EQ(out.back(), 0.0f);
    sound->Release();
}

TEST_F(AudioEngineTest, HundredLoudVoicesAreLimitedWithoutWrapping)
{
    WriteSignalSound(folder.Path() / "loud.wav", Rate, Rate, SF_FORMAT_WAV | SF_FORMAT_FLOAT,
                     [](int i) { return i % 200 < 100 ? 0.9f : -0.9f; });
    AudioSound* sound = Create("loud.wav", AudioModeDefault);
    for (int i = 0; i < 100; ++i)
    {
        AudioChannel channel;
        system->PlaySound(sound, false, &channel);
    }
    std::vector<float> out = Render(Rate / 2);
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        ASSERT_LE(std::fabs(out[i]), 1.0f) << "frame " << i;
        bool positive = i % 200 < 100;
        ASSERT_GT(positive ? out[i] : -out[i], 0.9f) << "frame " << i << " lost its sign";
    }
    sound->Release();
}

TEST_F(AudioEngineTest, RefusedFilesCreateNothing)
{
    folder.WriteText("text.wav", "this is not a sound\n");
    WriteCountingSound(folder.Path() / "whole.wav", 1000, Rate, Wav16);
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

TEST_F(AudioEngineTest, ReleasingASoundStopsEveryChannelThatPlaysIt)
{
    WriteCountingSound(folder.Path() / "held.wav", 2000, Rate, Wav16);
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
    Render(Rate / 50); // the fade-out, reading the sound until it is done
    system->Update();
    for (float value : Render(500))
        ASSERT_EQ(value, 0.0f);
}

TEST(AudioSystemOutput, ReleaseWithStreamsPlayingOnTheDeviceJoinsCleanly)
{
    // SDL's dummy driver runs a real audio thread at real-time pace.
    TempFolder folder;
    WriteCountingSound(folder.Path() / "stream.wav", 3 * Rate, Rate, Wav16);
    AudioSystem* system = nullptr;
    ASSERT_EQ(AudioSystem::Create(&system), AudioResult::Ok);
    ASSERT_EQ(system->Init(100, AudioInitNormal, nullptr), AudioResult::Ok);
    AudioSound* sounds[2] = {};
    for (AudioSound*& sound : sounds)
    {
        ASSERT_EQ(system->CreateSound((folder.Path() / "stream.wav").string().c_str(),
                                      AudioModeStream | AudioModeLoop, &sound),
                  AudioResult::Ok);
        sound->SetLoopCount(-1);
        AudioChannel channel;
        system->PlaySound(sound, false, &channel);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    system->Update();
    sounds[0]->Release();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(system->Release(), AudioResult::Ok);
}

TEST(AudioSystemOutput, StreamsStartWithoutWaitingAndACutFileEndsAndReleasesAtOnce)
{
    using Clock = std::chrono::steady_clock;
    TempFolder folder;
    const boost::filesystem::path cut = folder.Path() / "cut.wav";
    const boost::filesystem::path tiny = folder.Path() / "tiny.ogg";
    WriteCountingSound(cut, 5 * Rate, Rate, Wav16);
    WriteSignalSound(tiny, 5 * Rate, Rate, SF_FORMAT_OGG | SF_FORMAT_VORBIS,
                     [](int i) { return 0.1f * static_cast<float>(i % 50) / 50.0f; });
    AudioSystem* system = nullptr;
    AudioSystem::Create(&system);
    ASSERT_EQ(system->Init(100, AudioInitNormal, nullptr), AudioResult::Ok);

    // A loop of two frames in the middle of an Ogg file, and a WAV stream
    // looping inside the file: neither start waits for decoding.
    AudioSound* sounds[2] = {};
    AudioChannel channels[2];
    const boost::filesystem::path* files[2] = {&tiny, &cut};
    const std::pair<uint32_t, uint32_t> loops[2] = {{100000, 100001}, {1000, 5 * Rate - 1000}};
    for (int i = 0; i < 2; ++i)
    {
        ASSERT_EQ(system->CreateSound(files[i]->string().c_str(), AudioModeStream | AudioModeLoop,
                                      &sounds[i]),
                  AudioResult::Ok);
        sounds[i]->SetLoopPoints(loops[i].first, loops[i].second);
        sounds[i]->SetLoopCount(-1);
        const Clock::time_point start = Clock::now();
        system->PlaySound(sounds[i], false, &channels[i]);
        EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(50)) << "PlaySound waited";
    }

    // The WAV file cut to nothing while it plays: its stream ends, it does
    // not spin, and releasing it does not wait.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    boost::filesystem::resize_file(cut, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500)); // past the ring's second
    bool playing = true;
    system->Update();
    EXPECT_EQ(channels[1].IsPlaying(&playing), AudioResult::InvalidHandle) << "still playing";

    const Clock::time_point release = Clock::now();
    sounds[1]->Release();
    sounds[0]->Release();
    EXPECT_EQ(system->Release(), AudioResult::Ok);
    EXPECT_LT(Clock::now() - release, std::chrono::milliseconds(100));
}
