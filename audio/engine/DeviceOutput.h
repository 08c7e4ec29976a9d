#pragma once

#include "audio/engine/AudioOutput.h"

// The sound card through SDL: SDL's audio thread pulls float stereo from the
// mixer. Stands in for the platform's output; relies on SDL's audio
// subsystem only. Without a sound card it falls back to SDL's dummy driver,
// which consumes frames at the pace of a real device.
class DeviceOutput : public AudioOutput
{
public:
    // Opens the device (48 kHz asked, whatever rate it gives); null when no
    // driver at all can be opened.
    static DeviceOutput* Open();
    DeviceOutput(const DeviceOutput&) = delete;
    DeviceOutput& operator=(const DeviceOutput&) = delete;
    ~DeviceOutput() override;

    int SampleRate() const override { return sampleRate; }
    void Start(Mixer* source) override;

private:
    DeviceOutput() = default;
    static void Callback(void* user, unsigned char* stream, int bytes);

    unsigned device = 0;
    int sampleRate = 48000;
    Mixer* mixer = nullptr;
};
