#include "support/OfflineEngine.h"

#include "support/SoundFiles.h"

#include <algorithm>

#include <unistd.h>

OfflineEngine::OfflineEngine()
{
    AudioSystem::Create(&system);
    system->Init(100, AudioInitOffline, nullptr);
}

OfflineEngine::~OfflineEngine()
{
    system->Release();
}

std::string OfflineEngine::Path(const std::string& name) const
{
    return (folder.Path() / name).string();
}

AudioSound* OfflineEngine::Create(const std::string& name, uint32_t mode)
{
    AudioSound* sound = nullptr;
    EXPECT_EQ(system->CreateSound(Path(name).c_str(), mode, &sound), AudioResult::Ok) << name;
    return sound;
}

std::vector<float> OfflineEngine::Render(int frames)
{
    std::vector<float> out(static_cast<std::size_t>(frames) * 2);
    // A render that has not returned in 5 s ends the test run ("Alarm
    // clock"): a stream whose loop stops advancing would spin until the test
    // runner's time-out.
    alarm(5);
    system->RenderOffline(out.data(), frames);
    alarm(0);
    std::vector<float> left(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i)
        left[static_cast<std::size_t>(i)] = out[2 * static_cast<std::size_t>(i)];
    return left;
}

std::vector<int> OfflineEngine::RenderCounted(int frames, int chunk)
{
    std::vector<int> counted;
    while (static_cast<int>(counted.size()) < frames)
    {
        const int now = std::min(chunk, frames - static_cast<int>(counted.size()));
        for (float value : Render(now))
            counted.push_back(CountedFrame(value));
    }
    return counted;
}

int ExpectedLoopFrame(int index, int loopStart, int loopEnd)
{
    if (index <= loopEnd)
        return index;
    return loopStart + (index - loopEnd - 1) % (loopEnd - loopStart + 1);
}
