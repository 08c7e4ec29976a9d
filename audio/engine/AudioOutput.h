#pragma once

class Mixer;

// Where the mixer's frames go. An output with a thread of its own (a sound
// card, or none at real-time pace) pulls from the mixer at the output's pace once
// started; the offline output has none, and its caller renders instead.
class AudioOutput
{
public:
    // Stops pulling: the mixer is not called again once this returns.
    virtual ~AudioOutput() = default;

    virtual int SampleRate() const = 0;

    // Starts pulling from the mixer, which must outlive the output.
    virtual void Start(Mixer* mixer) = 0;

    // True when a thread of the output's own calls the mixer; false when the
    // caller of Render does.
    virtual bool PullsOnItsOwnThread() const { return true; }

    // Mixes the next frames into the buffer on the calling thread; false (and
    // nothing written) for an output that pulls on its own thread.
    virtual bool Render(float* interleavedStereo, int frames);
};
