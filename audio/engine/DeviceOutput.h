#pragma once

#include "audio/engine/AudioOutput.h"

#include <atomic>
#include <cstdint>

// The sound card through SDL: SDL's audio thread pulls float stereo from the
// mixer. Stands in for the platform's output; relies on SDL's audio
// subsystem only. Without a sound card it falls back to SDL's dummy driver,
// which consumes frames at the pace of a real device. Buffers are short, so
// that a command reaches the device within a few milliseconds.
class DeviceOutput : public AudioOutput
{
public:
    static constexpr int BufferFrames = 256; // 5.3 ms at 48 kHz

    // Opens the device (48 kHz asked, whatever rate it gives); null when no
    // driver at all can be opened.
    static DeviceOutput* Open();
    DeviceOutput(const DeviceOutput&) = delete;
    DeviceOutput& operator=(const DeviceOutput&) = delete;
    ~DeviceOutput() override;

    int SampleRate() const override { return sampleRate; }
    void Start(Mixer* source) override;

    // Written by the device's thread, for benchmarks: buffers handed to the
    // device, those that came late (more than two buffers' time after the one
    // before, or mixed for longer than a buffer lasts), and the mixer's
    // applied-command count when the last buffer was handed over.
    std::atomic<uint64_t> buffers{0};
    std::atomic<uint64_t> lateBuffers{0};
    std::atomic<uint64_t> appliedWhenHanded{0};

private:
    DeviceOutput() = default;
    static void Callback(void* user, unsigned char* stream, int bytes);

    unsigned device = 0;
    int sampleRate = 48000;
    Mixer* mixer = nullptr;
    int64_t lastStart = 0; // nanoseconds; the device's thread only
};
