#pragma once

#include "audio/engine/AudioDevice.h"

// The sound card through SDL's audio subsystem, standing in for the
// platform's output device: SDL's audio thread pulls float stereo from a
// DeviceOutput. Relies on SDL's audio subsystem only: a lost device reads as
// stopped, and its hot-plug detection keeps the list of devices.
class SdlAudioDevice : public AudioDevice
{
public:
    // Starts SDL's audio subsystem on the driver SDL picks, or on its dummy
    // driver (a device that plays at a real one's pace and is always there);
    // null when it does not start.
    static SdlAudioDevice* Start(bool dummy);
    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;
    // Closes the device and stops the subsystem.
    ~SdlAudioDevice() override;

    int Open(int sampleRate, bool adoptDeviceRate, DeviceOutput* output) override;
    void Resume() override;
    void Close() override;
    bool Lost() override;
    int Listed() override;
    bool DevicesComeAndGo() const override;

private:
    SdlAudioDevice() = default;
    static void Callback(void* user, unsigned char* stream, int bytes);

    unsigned device = 0;
};
