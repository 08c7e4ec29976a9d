#pragma once

class DeviceOutput;

// A sound device as DeviceOutput sees it: the default output device of the
// platform, opened, lost and opened again. The platform's layer supplies one
// (DeviceOutput::startDevice); tests supply their own. Called from one thread
// at a time.
class AudioDevice
{
public:
    // Closes the device if it is open.
    virtual ~AudioDevice() = default;

    // Opens the default device paused, for float stereo at the rate in
    // buffers of DeviceOutput::BufferFrames, its own thread to pull them from
    // the output's Pull once resumed. Returns the rate it plays at: the rate
    // asked (converted by the device where it plays another), or the
    // device's own when adoptDeviceRate; 0 when no device opens.
    virtual int Open(int sampleRate, bool adoptDeviceRate, DeviceOutput* output) = 0;
    virtual void Resume() = 0;
    // Once this returns, the output's Pull is not called again.
    virtual void Close() = 0;
    // True once the open device is gone (unplugged, its server gone).
    virtual bool Lost() = 0;
    // How many output devices the system lists now: it rises when one is
    // added; negative when the system cannot tell.
    virtual int Listed() = 0;
    // True on a sound server's driver, whose devices come and go while the
    // game runs: a game started while it has none waits for one.
    virtual bool DevicesComeAndGo() const { return false; }
};
