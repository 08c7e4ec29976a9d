// Costs of the audio engine, mixing offline on this thread: the share of one
// core that a second of audio takes with 100 playing effect channels, and the
// cost of streaming one Ogg Vorbis track (decoding and mixing). Then, on SDL's
// dummy device (or the driver SDL_AUDIODRIVER names), how long the game's
// calls into the engine take at most while the device's thread mixes, the
// longest mix of one device buffer, and the latency from PlaySound to the
// device: with 100 voices and a stream playing and both cores kept busy by
// two other threads, for BM_LATENCY_SECONDS (default 20), the time from each
// call until the buffer holding the cue's first frame is handed to the device
// (median and p99), and how many buffers came late.
#include "audio/engine/AudioEngineState.h"
#include "audio/engine/AudioSystem.h"
#include "audio/engine/DeviceOutput.h"
#include "audio/engine/Mixer.h"
#include "bench/ThreadCpuTime.h"
#include "shell/platform/Platform.h"

#include <sndfile.h>

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{
constexpr int Rate = 48000;

bool WriteTone(const std::string& path, int format, int rate, int channels, double seconds)
{
    SF_INFO info = {};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        return false;
    const int frames = static_cast<int>(seconds * rate);
    std::vector<float> samples(static_cast<std::size_t>(frames) * channels);
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            samples[static_cast<std::size_t>(i) * channels + c] =
                static_cast<float>(0.3 * std::sin(2 * 3.14159265 * (220.0 + 110.0 * c) * i / rate) *
                                   (0.6 + 0.4 * std::sin(2 * 3.14159265 * 2.0 * i / rate)));
    sf_writef_float(file, samples.data(), frames);
    sf_close(file);
    return true;
}

// CPU seconds per second of audio for rendering `seconds` of the mix.
double RenderCost(AudioSystem* system, double seconds)
{
    std::vector<float> block(1024 * 2);
    const int blocks = static_cast<int>(seconds * Rate / 1024);
    double start = ThreadCpuSeconds();
    for (int i = 0; i < blocks; ++i)
        system->RenderOffline(block.data(), 1024);
    return (ThreadCpuSeconds() - start) / seconds;
}
// An engine of 100 channels with a looping effect and a looping streamed track.
AudioSystem* StartEngine(uint32_t initFlags, const std::string& effectPath,
                         const std::string& musicPath, AudioSound** effect, AudioSound** music)
{
    AudioSystem* system = nullptr;
    AudioSystem::Create(&system);
    system->Init(100, initFlags, nullptr);
    system->CreateSound(effectPath.c_str(), AudioModeLoop, effect);
    system->CreateSound(musicPath.c_str(), AudioModeStream | AudioModeLoop, music);
    (*effect)->SetLoopCount(-1);
    (*music)->SetLoopCount(-1);
    return system;
}

// Seconds of the longest call, the game's calls made as a busy game would
// make them: 100 looping effects and the music, then for three seconds of
// frames ten new effects and a hundred volume changes a frame.
double LongestGameCall(const std::string& effectPath, const std::string& musicPath)
{
    using Clock = std::chrono::steady_clock;
    double longest = 0.0;
    auto timed = [&](auto call)
    {
        const Clock::time_point start = Clock::now();
        call();
        longest = std::max(longest, std::chrono::duration<double>(Clock::now() - start).count());
    };
    AudioSound* effect = nullptr;
    AudioSound* music = nullptr;
    AudioSystem* system = StartEngine(AudioInitNormal, effectPath, musicPath, &effect, &music);
    AudioChannel musicChannel;
    system->PlaySound(music, false, &musicChannel);
    std::vector<AudioChannel> channels(100);
    for (int frame = 0; frame < 180; ++frame)
    {
        for (int i = 0; i < 10; ++i)
            timed([&] { system->PlaySound(effect, false, &channels[(frame * 10 + i) % 100]); });
        for (int i = 0; i < 100; ++i)
            timed([&] { channels[i].SetVolume(0.01f * ((frame + i) % 100)); });
        timed([&] { musicChannel.SetVolume(0.5f + 0.5f * (frame % 2)); });
        timed([&] { system->Update(); });
        std::this_thread::sleep_for(std::chrono::microseconds(16667));
    }
    system->Release();
    return longest;
}

// Seconds of the longest mix of one 1024-frame buffer with 100 voices and a
// stream, the stream decoded in it too (on a device its own thread decodes).
double LongestMix(const std::string& effectPath, const std::string& musicPath)
{
    AudioSound* effect = nullptr;
    AudioSound* music = nullptr;
    AudioSystem* system = StartEngine(AudioInitOffline, effectPath, musicPath, &effect, &music);
    for (int i = 0; i < 99; ++i)
        system->PlaySound(effect, false, nullptr);
    system->PlaySound(music, false, nullptr);
    std::vector<float> block(1024 * 2);
    double longest = 0.0;
    for (int i = 0; i < 1000; ++i)
    {
        const auto start = std::chrono::steady_clock::now();
        system->RenderOffline(block.data(), 1024);
        longest = std::max(
            longest,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    system->Release();
    return longest;
}
struct Latency
{
    std::vector<double> milliseconds; // one a cue
    uint64_t buffers = 0;
    uint64_t lateBuffers = 0;
};

Latency MeasureLatency(const std::string& effectPath, const std::string& musicPath, double seconds)
{
    using Clock = std::chrono::steady_clock;
    AudioSound* effect = nullptr;
    AudioSound* music = nullptr;
    AudioSystem* system = StartEngine(AudioInitNormal, effectPath, musicPath, &effect, &music);
    Latency latency;
    DeviceOutput* device = dynamic_cast<DeviceOutput*>(system->state->output);
    if (!device)
        return latency;
    std::atomic<bool> busy{true};
    std::vector<std::thread> load;
    for (int i = 0; i < 2; ++i)
        load.emplace_back(
            [&busy]
            {
                volatile uint64_t spin = 0;
                while (busy.load(std::memory_order_relaxed))
                    spin = spin + 1;
            });
    for (int i = 0; i < 99; ++i)
        system->PlaySound(effect, false, nullptr);
    system->PlaySound(music, false, nullptr);
    const uint64_t buffersBefore = device->buffers.load();
    const uint64_t lateBefore = device->lateBuffers.load();
    const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                     std::chrono::duration<double>(seconds));
    while (Clock::now() < end)
    {
        // One cue a frame, as the game plays them: the oldest voice gives way.
        const Clock::time_point played = Clock::now();
        system->PlaySound(effect, false, nullptr);
        const uint64_t sent = system->state->mixer->Sent();
        while (device->appliedWhenHanded.load(std::memory_order_acquire) < sent)
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        latency.milliseconds.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - played).count());
        system->Update();
        std::this_thread::sleep_until(played + std::chrono::microseconds(16667));
    }
    latency.buffers = device->buffers.load() - buffersBefore;
    latency.lateBuffers = device->lateBuffers.load() - lateBefore;
    busy = false;
    for (std::thread& thread : load)
        thread.join();
    system->Release();
    std::sort(latency.milliseconds.begin(), latency.milliseconds.end());
    return latency;
}
} // namespace

int main()
{
    InstallPlatform(); // the sound card through SDL, as the game has it
    char folder[] = "/tmp/AudioMixerBench.XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    const std::string effect = std::string(folder) + "/effect.wav";
    const std::string effect44 = std::string(folder) + "/effect44.wav";
    const std::string music = std::string(folder) + "/music.ogg";
    if (!WriteTone(effect, SF_FORMAT_WAV | SF_FORMAT_PCM_16, Rate, 1, 1.0) ||
        !WriteTone(effect44, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2, 1.0) ||
        !WriteTone(music, SF_FORMAT_OGG | SF_FORMAT_VORBIS, Rate, 2, 30.0))
    {
        std::fprintf(stderr, "AudioMixerBench: cannot write the test sounds in %s\n", folder);
        return 1;
    }

    for (const std::string& path : {effect, effect44})
    {
        AudioSystem* system = nullptr;
        AudioSystem::Create(&system);
        system->Init(100, AudioInitOffline, nullptr);
        AudioSound* sound = nullptr;
        system->CreateSound(path.c_str(), AudioModeLoop, &sound);
        sound->SetLoopCount(-1);
        for (int i = 0; i < 100; ++i)
        {
            AudioChannel channel;
            system->PlaySound(sound, false, &channel);
            channel.SetVolume(0.01f * (i % 10 + 1));
        }
        double cost = RenderCost(system, 10.0);
        std::printf("100 looping samples (%s): %.2f%% of one core per second of audio\n",
                    path == effect ? "48 kHz mono" : "44.1 kHz stereo, converted once", 100 * cost);
        system->Release();
    }

    // A streamed track, and a file of one frame at 768 kHz streamed as
    // looping music: a short file loops from memory, never a seek a frame.
    const std::string frame = std::string(folder) + "/frame.wav";
    WriteTone(frame, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 768000, 1, 1.5 / 768000);
    for (const std::string& path : {music, frame})
    {
        AudioSystem* system = nullptr;
        AudioSystem::Create(&system);
        system->Init(100, AudioInitOffline, nullptr);
        AudioSound* sound = nullptr;
        system->CreateSound(path.c_str(), AudioModeStream | AudioModeLoop, &sound);
        sound->SetLoopCount(-1);
        system->PlaySound(sound, false, nullptr);
        const double cost = RenderCost(system, path == music ? 30.0 : 5.0);
        std::printf("%s: %.4f CPU seconds per second of music (%.2f%% of one core)\n",
                    path == music ? "one streamed Ogg Vorbis track (48 kHz stereo, decoded while "
                                    "mixed)"
                                  : "a one-frame 768 kHz WAV streamed as looping music",
                    cost, 100 * cost);
        system->Release();
    }
    unlink(frame.c_str());

    SDL_setenv("SDL_AUDIODRIVER", "dummy", 0); // or the driver asked for
    std::printf("longest game-thread call into the engine while the device mixes: %.3f ms "
                "(it never waits for the device's thread)\n",
                1000 * LongestGameCall(effect, music));
    std::printf("longest mix of one 1024-frame block (100 voices and a stream, decoding "
                "included): %.3f ms (the device's thread never waits for the game's)\n",
                1000 * LongestMix(effect, music));

    const char* latencySeconds = std::getenv("BM_LATENCY_SECONDS");
    const Latency latency =
        MeasureLatency(effect, music, latencySeconds ? std::atof(latencySeconds) : 20.0);
    if (!latency.milliseconds.empty())
    {
        const std::vector<double>& ms = latency.milliseconds;
        std::printf("latency from PlaySound to the device (%zu cues, 100 voices and a stream, both "
                    "cores loaded): median %.2f ms, p99 %.2f ms, longest %.2f ms; buffers of %d "
                    "frames: %llu, late: %llu\n",
                    ms.size(), ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back(),
                    DeviceOutput::BufferFrames, static_cast<unsigned long long>(latency.buffers),
                    static_cast<unsigned long long>(latency.lateBuffers));
    }

    unlink(effect.c_str());
    unlink(effect44.c_str());
    unlink(music.c_str());
    rmdir(folder);
    return 0;
}
