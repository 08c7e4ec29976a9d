#include "audio/engine/AudioSystem.h"
#include "shell/platform/Platform.h"
#include "support/OfflineEngine.h"
#include "support/SoundFiles.h"

#include <boost/filesystem/operations.hpp>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

// The engine on SDL's audio subsystem, through the platform's layer: its
// dummy and disk drivers, whose audio threads pull frames at real-time pace.
namespace
{
using Clock = std::chrono::steady_clock;

AudioSound* CreateLoopingStream(AudioSystem* system, const boost::filesystem::path& file)
{
    AudioSound* sound = nullptr;
    EXPECT_EQ(system->CreateSound(file.string().c_str(), AudioModeStream | AudioModeLoop, &sound),
              AudioResult::Ok);
    sound->SetLoopCount(-1);
    return sound;
}
} // namespace

TEST(SdlAudioDevice, AStalledGameThreadLeavesNoGapAndReleasingWhilePlayingJoinsCleanly)
{
    InstallPlatform();
    // The disk driver writes what a sound card would play to a file.
    TempFolder folder;
    const std::string output = (folder.Path() / "output.raw").string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    WriteCountingSound(folder.Path() / "music.wav", 12000, OfflineRate, Wav16);
    AudioSystem* system = nullptr;
    AudioSystem::Create(&system);
    ASSERT_EQ(system->Init(100, AudioInitNormal, nullptr), AudioResult::Ok);
    ASSERT_EQ(system->SampleRate(), OfflineRate);
    AudioSound* music = CreateLoopingStream(system, folder.Path() / "music.wav");
    AudioSound* other = CreateLoopingStream(system, folder.Path() / "music.wav");
    system->PlaySound(music, false, nullptr);
    system->PlaySound(other, false, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    other->Release(); // while its decoder and the device both run
    std::this_thread::sleep_for(std::chrono::seconds(1)); // the game's thread does nothing
    system->Update();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(system->Release(), AudioResult::Ok);
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    // Once the second stream is gone, the music counts on without a frame missing.
    std::vector<float> samples(boost::filesystem::file_size(output) / sizeof(float));
    std::ifstream(output, std::ios::binary)
        .read(reinterpret_cast<char*>(samples.data()), samples.size() * sizeof(float));
    const std::size_t frames = samples.size() / 2;
    const std::size_t from = OfflineRate / 4;
    ASSERT_GT(frames, from + OfflineRate) << "not a second of music after the release";
    const int first = CountedFrame(samples[2 * from]);
    for (std::size_t i = from; i < frames; ++i)
        ASSERT_EQ(CountedFrame(samples[2 * i]), static_cast<int>((first + i - from) % 12000))
            << "output frame " << i << " of " << frames;
}

TEST(SdlAudioDevice, StreamsStartWithoutWaitingAndACutFileEndsAndReleasesAtOnce)
{
    InstallPlatform();
    TempFolder folder;
    const boost::filesystem::path cut = folder.Path() / "cut.wav";
    const boost::filesystem::path tiny = folder.Path() / "tiny.ogg";
    WriteCountingSound(cut, 5 * OfflineRate, OfflineRate, Wav16);
    WriteSignalSound(tiny, 5 * OfflineRate, OfflineRate, SF_FORMAT_OGG | SF_FORMAT_VORBIS,
                     [](int i) { return 0.1f * static_cast<float>(i % 50) / 50.0f; });
    AudioSystem* system = nullptr;
    AudioSystem::Create(&system);
    ASSERT_EQ(system->Init(100, AudioInitNormal, nullptr), AudioResult::Ok);

    // A loop of two frames in the middle of an Ogg file, and a WAV stream
    // looping inside the file: neither start waits for decoding.
    AudioSound* sounds[2] = {CreateLoopingStream(system, tiny), CreateLoopingStream(system, cut)};
    sounds[0]->SetLoopPoints(100000, 100001);
    sounds[1]->SetLoopPoints(1000, 5 * OfflineRate - 1000);
    AudioChannel channels[2];
    for (int i = 0; i < 2; ++i)
    {
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
    EXPECT_EQ(channels[1].IsPlaying(&playing), AudioResult::InvalidHandle) << "still playing";

    const Clock::time_point release = Clock::now();
    sounds[1]->Release();
    sounds[0]->Release();
    EXPECT_EQ(system->Release(), AudioResult::Ok);
    EXPECT_LT(Clock::now() - release, std::chrono::milliseconds(100));
}
