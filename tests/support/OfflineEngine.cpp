#include "support/OfflineEngine.h"

#include "support/SoundFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

OfflineEngine::OfflineEngine() : watchdog([this] { Watch(); })
{
    AudioSystem::Create(&system);
    system->Init(100, AudioInitOffline, nullptr);
}

OfflineEngine::~OfflineEngine()
{
    system->Release();
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    stop.notify_all();
    watchdog.join();
}

void OfflineEngine::Watch()
{
    using Clock = std::chrono::steady_clock;
    std::unique_lock<std::mutex> guard(lock);
    while (!stop.wait_for(guard, std::chrono::milliseconds(100), [this] { return stopping; }))
    {
        const int64_t since = renderSince.load();
        if (since != 0 &&
            Clock::now().time_since_epoch().count() - since >
                std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(5)).count())
        {
            std::fprintf(stderr, "FAILED: a render has not returned in 5 s; a stream's loop "
                                 "stopped advancing\n");
            std::_Exit(1);
        }
    }
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
    renderSince = std::chrono::steady_clock::now().time_since_epoch().count();
    system->RenderOffline(out.data(), frames);
    renderSince = 0;
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
