#pragma once

#include "audio/engine/AudioOutput.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

class AudioDevice;

// The sound card: the device's thread pulls float stereo from the mixer.
// The mix never depends on one device staying: a watcher notices when the
// device is lost, mixes on at real-time pace without it (voices end and
// music moves on as if heard), and opens the default device again, at once
// when the system lists a new one and otherwise at a modest interval. The
// mix keeps its rate; the device converts. One line on standard error tells
// of each loss and each recovery. Buffers are short, so that a command
// reaches the device within a few milliseconds.
class DeviceOutput : public AudioOutput
{
public:
    static constexpr int PreferredRate = 48000;
    static constexpr int BufferFrames = 256; // 5.3 ms at 48 kHz
    // Times in nanoseconds: how often the watcher looks; how soon it tries a
    // listed device again, doubling while opening fails or a device is lost
    // within QuickLossNs of opening, up to the longest; how long a device
    // may take nothing before the mix catches up with real time; and the
    // longest catch-up (a suspend skips the rest).
    static constexpr int64_t WatchIntervalNs = 10'000'000;
    static constexpr int64_t RetryIntervalNs = 500'000'000;
    static constexpr int64_t LongestRetryIntervalNs = 4'000'000'000;
    static constexpr int64_t QuickLossNs = 2'000'000'000;
    static constexpr int64_t StallNs = 250'000'000;
    static constexpr int64_t LongestCatchUpNs = 2'000'000'000;

    // Starts the platform's audio on the driver it picks, or on its dummy
    // driver (a device that plays at a real one's pace and is always there);
    // null where it does not start. The platform's layer sets it
    // (InstallPlatform); without it no device opens.
    using DeviceStarter = AudioDevice* (*)(bool dummy);
    static DeviceStarter startDevice;

    // The platform's default device, at its own rate; else, on a sound
    // server, no device yet, at the preferred rate; else the dummy device.
    // Null when not even that opens, or no platform is installed.
    static DeviceOutput* Open();
    // An output with no device ever: it plays to nowhere at real-time pace,
    // so voices end and streams advance as they would on a sound card.
    static DeviceOutput* WithoutDevice();

    // An output on the device, which it owns; nothing is opened yet. `clock`
    // gives steady nanoseconds (tests give their own).
    DeviceOutput(AudioDevice* device, int64_t (*clock)());
    DeviceOutput(const DeviceOutput&) = delete;
    DeviceOutput& operator=(const DeviceOutput&) = delete;
    // Stops the watcher, then closes and deletes the device.
    ~DeviceOutput() override;

    // Opens the device at its own rate, else waits for one at the preferred
    // rate; true when a device opened.
    bool OpenFirst();

    int SampleRate() const override { return sampleRate; }
    // Resumes the device and starts the watcher on a thread of its own.
    void Start(Mixer* source) override;
    // The same without the watcher's thread: the caller calls Watch.
    void StartWatchedByCaller(Mixer* source);

    // The device's thread: the next frames, faded in after a reopening.
    void Pull(float* interleavedStereo, int frames);
    // One look at the device at `now` (the clock's nanoseconds): what the
    // watcher does every WatchIntervalNs.
    void Watch(int64_t now);

    bool DevicePlaying() const { return playing; }

    // Written by the device's thread, for benchmarks: buffers handed to the
    // device, those that came late (more than two buffers' time after the one
    // before, or mixed for longer than a buffer lasts), and the mixer's
    // applied-command count when the last buffer was handed over.
    std::atomic<uint64_t> buffers{0};
    std::atomic<uint64_t> lateBuffers{0};
    std::atomic<uint64_t> appliedWhenHanded{0};

private:
    static constexpr int FadeInFrames = 480; // 10 ms at 48 kHz
    static constexpr int LostLooks = 3;      // in a row, before a device is given up

    void Resume(int64_t now, bool fadeIn);
    void LoseDevice(int64_t now);
    void MixSilently(int64_t now);
    // Mixes frames nobody hears (the mixer's driver at the time only).
    void MixAway(int64_t frames);
    void TryToReopen(int64_t now);
    void RunWatcher();

    AudioDevice* device;
    int64_t (*clock)();
    int sampleRate = PreferredRate;
    Mixer* mixer = nullptr;

    // The device's thread only.
    int64_t lastStart = 0;

    // Whichever thread drives the mixer: the device's, or the watcher's
    // while there is none.
    std::vector<float> discardBlock;

    // Both threads.
    std::atomic<int64_t> resumedAt{0};    // when the device last started, its clock's ns
    std::atomic<int64_t> framesHanded{0}; // to the device since then
    std::atomic<int> fadeInLeft{0};

    // The watcher only (or the caller of Watch).
    std::atomic<bool> playing{false};
    int64_t silentSince = 0;  // the time the silent mix started from
    int64_t silentFrames = 0; // mixed since then
    int64_t openedAt = 0;
    int64_t nextTry = 0;
    int64_t retryInterval = RetryIntervalNs;
    int listed = 0;
    int quickLosses = 0;
    int lostLooks = 0; // in a row

    std::thread watcher;
    std::mutex lock;
    std::condition_variable wake;
    bool stopping = false;
};
