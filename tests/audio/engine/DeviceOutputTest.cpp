#include "support/OfflineEngine.h"
#include "support/SoundFiles.h"

#include <boost/filesystem/operations.hpp>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <utility>
#include <vector>

namespace
{
std::vector<float> ReadFloats(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    std::vector<float> samples(bytes.size() / sizeof(float));
    std::copy_n(bytes.data(), samples.size() * sizeof(float),
                reinterpret_cast<char*>(samples.data()));
    return samples;
}
} // namespace

// The engine on a real SDL output (the dummy driver, or the disk driver),
// whose audio thread pulls frames at real-time pace.

TEST(DeviceOutputTest, ReleaseWithStreamsPlayingOnTheDeviceJoinsCleanly)
{
    // SDL's dummy driver runs a real audio thread at real-time pace.
    TempFolder folder;
    WriteCountingSound(folder.Path() / "stream.wav", 3 * OfflineRate, OfflineRate, Wav16);
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

TEST(DeviceOutputTest, StreamsStartWithoutWaitingAndACutFileEndsAndReleasesAtOnce)
{
    using Clock = std::chrono::steady_clock;
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
    AudioSound* sounds[2] = {};
    AudioChannel channels[2];
    const boost::filesystem::path* files[2] = {&tiny, &cut};
    const std::pair<uint32_t, uint32_t> loops[2] = {{100000, 100001},
                                                    {1000, 5 * OfflineRate - 1000}};
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

TEST(DeviceOutputTest, AGameThreadStalledForASecondLeavesNoGap)
{
    // SDL's disk driver writes what the device would play to a file, pulling
    // at real-time pace on its own thread.
    TempFolder folder;
    const std::string output = (folder.Path() / "output.raw").string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    WriteCountingSound(folder.Path() / "music.wav", 12000, OfflineRate, Wav16);
    AudioSystem* system = nullptr;
    AudioSystem::Create(&system);
    ASSERT_EQ(system->Init(100, AudioInitNormal, nullptr), AudioResult::Ok);
    ASSERT_EQ(system->SampleRate(), OfflineRate);
    AudioSound* music = nullptr;
    ASSERT_EQ(system->CreateSound((folder.Path() / "music.wav").string().c_str(),
                                  AudioModeStream | AudioModeLoop, &music),
              AudioResult::Ok);
    music->SetLoopCount(-1);
    AudioChannel channel;
    system->PlaySound(music, false, &channel);
    system->Update();
    std::this_thread::sleep_for(std::chrono::seconds(1)); // the game's thread does nothing
    system->Update();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    system->Release();
    unsetenv("SDL_DISKAUDIOFILE");
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    // From its first frame on, the music counts up without a frame missing.
    std::vector<float> samples = ReadFloats(output);
    std::size_t first = 0;
    while (first < samples.size() && samples[first] == 0.0f)
        first += 2;
    const std::size_t frames = (samples.size() - first) / 2;
    ASSERT_GT(frames, static_cast<std::size_t>(OfflineRate)) << "not a second of music";
    for (std::size_t i = 0; i < frames; ++i)
        ASSERT_EQ(CountedFrame(samples[first + 2 * i]), static_cast<int>(i % 12000))
            << "output frame " << i << " of " << frames;
}
