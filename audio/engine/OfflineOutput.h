#pragma once

class Mixer;

// No device: the caller pulls frames from the mixer on its own thread, and
// the streams are decoded there too, just before they are mixed. For tests,
// tools and benchmarks, and wherever frames go somewhere other than a speaker.
class OfflineOutput
{
public:
    static constexpr int Rate = 48000;

    static void Render(Mixer* mixer, float* interleavedStereo, int frames);
};
