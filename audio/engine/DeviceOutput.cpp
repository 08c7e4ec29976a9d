#include "audio/engine/DeviceOutput.h"

#include "audio/engine/AudioDevice.h"
#include "audio/engine/Mixer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace
{
constexpr int64_t NsPerSecond = 1'000'000'000;

// A device that is never there: nothing opens, nothing is listed.
class NoDevice : public AudioDevice
{
public:
    int Open(int, bool, DeviceOutput*) override { return 0; }
    void Resume() override {}
    void Close() override {}
    bool Lost() override { return false; }
    int Listed() override { return 0; }
};

int64_t SteadyNow()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

DeviceOutput::DeviceStarter DeviceOutput::startDevice = nullptr;

DeviceOutput* DeviceOutput::Open()
{
    if (!startDevice)
        return nullptr;
    if (AudioDevice* started = startDevice(false))
    {
        const bool devicesComeAndGo = started->DevicesComeAndGo();
        DeviceOutput* output = new DeviceOutput(started, SteadyNow);
        if (output->OpenFirst())
            return output;
        // A sound server without a device may gain one while the game runs.
        if (devicesComeAndGo)
        {
            std::fprintf(stderr, "Game: no sound device yet; the game plays on silently until "
                                 "one comes\n");
            return output;
        }
        delete output;
    }
    // No sound card: the dummy device takes the frames at a real one's pace.
    if (AudioDevice* dummy = startDevice(true))
    {
        DeviceOutput* output = new DeviceOutput(dummy, SteadyNow);
        if (output->OpenFirst())
            return output;
        delete output;
    }
    return nullptr;
}

DeviceOutput* DeviceOutput::WithoutDevice()
{
    DeviceOutput* output = new DeviceOutput(new NoDevice(), SteadyNow);
    output->OpenFirst();
    return output;
}

DeviceOutput::DeviceOutput(AudioDevice* device, int64_t (*clock)())
    : device(device), clock(clock), discardBlock(2 * static_cast<std::size_t>(BufferFrames))
{
}

DeviceOutput::~DeviceOutput()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    wake.notify_all();
    if (watcher.joinable())
        watcher.join();
    delete device;
}

bool DeviceOutput::OpenFirst()
{
    const int rate = device->Open(PreferredRate, true, this);
    sampleRate = rate > 0 ? rate : PreferredRate;
    playing = rate > 0;
    return playing;
}

void DeviceOutput::Start(Mixer* source)
{
    StartWatchedByCaller(source);
    watcher = std::thread([this] { RunWatcher(); });
}

void DeviceOutput::StartWatchedByCaller(Mixer* source)
{
    // Set before the device runs: Pull reads it without a lock.
    mixer = source;
    const int64_t now = clock();
    listed = device->Listed();
    if (playing)
        Resume(now, false);
    else
    {
        silentSince = now;
        silentFrames = 0;
        nextTry = now + retryInterval;
    }
}

void DeviceOutput::Resume(int64_t now, bool fadeIn)
{
    fadeInLeft.store(fadeIn ? FadeInFrames : 0, std::memory_order_relaxed);
    resumedAt.store(now, std::memory_order_relaxed);
    framesHanded.store(0, std::memory_order_relaxed);
    openedAt = now;
    playing = true;
    device->Resume();
}

void DeviceOutput::Pull(float* out, int frames)
{
    const int64_t start = clock();
    // The frames handed since the device started, against the time since: a
    // device that fell behind real time (it stalled, or was slow to start)
    // played nothing meanwhile, and the mix catches up with real time first;
    // one ahead of it is buffering.
    int64_t handed = framesHanded.load(std::memory_order_relaxed);
    const double due =
        double(start - resumedAt.load(std::memory_order_relaxed)) * sampleRate / NsPerSecond;
    if (due - double(handed) > double(StallNs) * sampleRate / NsPerSecond)
    {
        const int64_t behind = std::min(static_cast<int64_t>(due) - handed,
                                        LongestCatchUpNs * sampleRate / NsPerSecond);
        MixAway(behind);
        handed += behind;
    }
    mixer->Mix(out, frames);
    framesHanded.store(handed + frames, std::memory_order_relaxed);
    // After a reopening the mix comes back from silence without a click.
    int fade = fadeInLeft.load(std::memory_order_relaxed);
    if (fade > 0)
    {
        for (int i = 0; i < frames && fade > 0; ++i, --fade)
        {
            const float gain = 1.0f - static_cast<float>(fade) / FadeInFrames;
            out[2 * i] *= gain;
            out[2 * i + 1] *= gain;
        }
        fadeInLeft.store(fade, std::memory_order_relaxed);
    }
    const int64_t end = clock();
    const int64_t period = int64_t(frames) * NsPerSecond / sampleRate;
    if ((lastStart != 0 && start - lastStart > 2 * period) || end - start > period)
        lateBuffers.fetch_add(1, std::memory_order_relaxed);
    lastStart = start;
    appliedWhenHanded.store(mixer->Applied(), std::memory_order_release);
    buffers.fetch_add(1, std::memory_order_release);
}

void DeviceOutput::Watch(int64_t now)
{
    if (playing)
    {
        // A device lost stays lost: one that reads so on a single look is
        // looked at again before it is given up.
        lostLooks = device->Lost() ? lostLooks + 1 : 0;
        if (lostLooks < LostLooks)
            return;
        lostLooks = 0;
        LoseDevice(now);
    }
    MixSilently(now);
    TryToReopen(now);
}

void DeviceOutput::LoseDevice(int64_t now)
{
    // Closing waits for the device's thread: the mixer is the watcher's now.
    device->Close();
    playing = false;
    // The mix has reached the end of the frames handed over, which may lie
    // ahead of real time where the device buffered them.
    silentSince = resumedAt.load(std::memory_order_relaxed) +
                  static_cast<int64_t>(double(framesHanded.load(std::memory_order_relaxed)) *
                                       NsPerSecond / sampleRate);
    silentFrames = 0;
    quickLosses = now - openedAt < QuickLossNs ? quickLosses + 1 : 0;
    retryInterval = std::min(RetryIntervalNs << std::min(quickLosses, 4), LongestRetryIntervalNs);
    nextTry = now + retryInterval;
    listed = device->Listed();
    std::fprintf(stderr, "Game: the sound device was lost; the game plays on silently until one "
                         "comes back\n");
}

void DeviceOutput::MixSilently(int64_t now)
{
    // After a suspend the mix does not make up the whole time at once.
    if (now - silentSince - silentFrames * NsPerSecond / sampleRate > LongestCatchUpNs)
    {
        silentSince = now;
        silentFrames = 0;
    }
    const int64_t owed = (now - silentSince) * sampleRate / NsPerSecond - silentFrames;
    if (owed > 0)
    {
        MixAway(owed);
        silentFrames += owed;
    }
    // Whole seconds move into the start, so the product above stays small.
    while (silentFrames >= sampleRate)
    {
        silentSince += NsPerSecond;
        silentFrames -= sampleRate;
    }
}

void DeviceOutput::MixAway(int64_t frames)
{
    while (frames > 0)
    {
        const int block = static_cast<int>(std::min<int64_t>(frames, BufferFrames));
        mixer->Mix(discardBlock.data(), block);
        frames -= block;
    }
}

void DeviceOutput::TryToReopen(int64_t now)
{
    const int nowListed = device->Listed();
    const bool added = nowListed > listed && quickLosses == 0;
    listed = nowListed;
    if (!added && (now < nextTry || nowListed == 0))
        return;
    if (device->Open(sampleRate, false, this) <= 0)
    {
        retryInterval = std::min(retryInterval * 2, LongestRetryIntervalNs);
        nextTry = now + retryInterval;
        return;
    }
    // The silent mix has reached now: the device's first frames follow it.
    Resume(now, true);
    std::fprintf(stderr, "Game: sound plays again on the default device\n");
}

void DeviceOutput::RunWatcher()
{
    std::unique_lock<std::mutex> guard(lock);
    while (!stopping)
    {
        guard.unlock();
        Watch(clock());
        guard.lock();
        wake.wait_for(guard, std::chrono::nanoseconds(WatchIntervalNs),
                      [this] { return stopping; });
    }
}
