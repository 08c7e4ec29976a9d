#include "tools/MusicSynth.h"

#include "tools/KlezmerScore.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace
{
using namespace KlezmerScore;

const double Pi = 3.14159265358979323846;
const double EighthSeconds = 0.25; // 120 beats a minute, four eighths a bar
const int TailFrames = SampleRate; // room for release tails past the end

struct Note
{
    int pitch;   // MIDI number, 0 for a rest
    int eighths; // length
};

double Frequency(int pitch)
{
    return 440.0 * std::pow(2.0, (pitch - 69) / 12.0);
}

// Freygish on D: D Eb F# G A Bb C.
enum : int
{
    D3 = 50,
    G2 = 43,
    A2 = 45,
    C3 = 48,
    Eb3 = 51,
    D4 = 62,
    Eb4 = 63,
    Fs4 = 66,
    G4 = 67,
    A4 = 69,
    Bb4 = 70,
    C5 = 72,
    D5 = 74,
    Eb5 = 75,
    Fs5 = 78,
};

enum Chord
{
    DMajor,
    GMinor,
    CMinor,
    EbMajor
};

const Note Intro[] = {{D4, 1}, {Fs4, 1}, {A4, 1},  {C5, 1},  {Bb4, 2}, {A4, 2},
                      {G4, 1}, {Fs4, 1}, {Eb4, 1}, {Fs4, 1}, {D4, 3},  {0, 1}};
const Chord IntroChords[IntroBars] = {DMajor, GMinor, CMinor, DMajor};

const Note PhraseA[] = {{A4, 2}, {Bb4, 1}, {A4, 1},  {G4, 1}, {Fs4, 1}, {G4, 1},  {A4, 1}, {Bb4, 2},
                        {A4, 1}, {G4, 1},  {Fs4, 4}, {D5, 2}, {C5, 1},  {Bb4, 1}, {A4, 1}, {Bb4, 1},
                        {C5, 1}, {Bb4, 1}, {A4, 1},  {G4, 1}, {Fs4, 1}, {Eb4, 1}, {D4, 4}};
const Note PhraseA2[] = {{A4, 2},  {Bb4, 1}, {A4, 1}, {G4, 1},  {Fs4, 1}, {G4, 1},
                         {A4, 1},  {Bb4, 1}, {C5, 1}, {D5, 1},  {Bb4, 1}, {A4, 4},
                         {Eb5, 2}, {D5, 1},  {C5, 1}, {Bb4, 1}, {A4, 1},  {G4, 1},
                         {Bb4, 1}, {A4, 1},  {G4, 1}, {Fs4, 1}, {G4, 1},  {A4, 4}};
const Note PhraseB[] = {{D5, 1},  {Eb5, 1}, {Fs5, 1}, {Eb5, 1}, {D5, 2},  {C5, 1}, {D5, 1},
                        {Eb5, 1}, {D5, 1},  {C5, 1},  {Bb4, 1}, {A4, 4},  {G4, 1}, {A4, 1},
                        {Bb4, 1}, {C5, 1},  {D5, 2},  {C5, 1},  {Bb4, 1}, {A4, 1}, {G4, 1},
                        {Fs4, 1}, {Eb4, 1}, {D4, 3},  {0, 1}};
const Chord ChordsA[8] = {DMajor, DMajor, GMinor, DMajor, CMinor, GMinor, DMajor, DMajor};
const Chord ChordsA2[8] = {DMajor, DMajor, GMinor, DMajor, EbMajor, CMinor, DMajor, DMajor};
const Chord ChordsB[8] = {DMajor, CMinor, CMinor, DMajor, GMinor, GMinor, DMajor, DMajor};

class Mix
{
public:
    explicit Mix(int frames) : samples(static_cast<std::size_t>(frames) * 2, 0.0f) {}

    void Add(int64_t frame, float value, float pan)
    {
        if (frame < 0 || static_cast<std::size_t>(frame) * 2 + 1 >= samples.size())
            return;
        samples[frame * 2] += value * (1.0f - pan);
        samples[frame * 2 + 1] += value * (1.0f + pan);
    }

    std::vector<float> samples;
};

// A reedy lead: odd harmonics stronger than even ones, delayed vibrato, a
// small scoop into each note, soft attack and release.
void Clarinet(Mix& mix, int64_t start, double seconds, int pitch, float gain)
{
    const double f0 = Frequency(pitch);
    const int release = SampleRate / 20;
    const int64_t length = static_cast<int64_t>(seconds * SampleRate);
    const double harmonics[] = {1.0, 0.08, 0.45, 0.05, 0.22, 0.03, 0.10};
    double phase = 0.0;
    for (int64_t i = 0; i < length + release; ++i)
    {
        const double t = double(i) / SampleRate;
        const double vibratoDepth = std::min(1.0, t / 0.25) * 0.006;
        const double scoop = std::exp(-t / 0.03) * -0.03;
        phase += 2.0 * Pi * f0 * (1.0 + vibratoDepth * std::sin(2.0 * Pi * 5.5 * t) + scoop) /
                 SampleRate;
        double value = 0.0;
        for (int h = 0; h < 7; ++h)
            value += harmonics[h] * std::sin((h + 1) * phase);
        double envelope = std::min(1.0, t / 0.02);
        if (i >= length)
            envelope *= 1.0 - double(i - length) / release;
        mix.Add(start + i, static_cast<float>(value * envelope * gain), -0.15f);
    }
}

// A plucked bass note: a decaying low tone with a little second harmonic.
void Bass(Mix& mix, int64_t start, int pitch, float gain)
{
    const double f0 = Frequency(pitch);
    const int length = SampleRate * 4 / 10;
    for (int i = 0; i < length; ++i)
    {
        const double t = double(i) / SampleRate;
        const double envelope =
            std::min(1.0, t / 0.005) * std::exp(-t / 0.12) * (1.0 - double(i) / length);
        const double value = std::sin(2 * Pi * f0 * t) + 0.3 * std::sin(4 * Pi * f0 * t);
        mix.Add(start + i, static_cast<float>(value * envelope * gain), 0.0f);
    }
}

// The offbeat chord: a short stab of three notes with a bright tone.
void ChordStab(Mix& mix, int64_t start, Chord chord, float gain)
{
    static const int Notes[4][3] = {{62, 66, 69}, {62, 67, 70}, {60, 63, 67}, {63, 67, 70}};
    const int length = SampleRate / 6;
    for (int n = 0; n < 3; ++n)
    {
        const double f0 = Frequency(Notes[chord][n]);
        for (int i = 0; i < length; ++i)
        {
            const double t = double(i) / SampleRate;
            const double envelope =
                std::min(1.0, t / 0.004) * std::exp(-t / 0.05) * (1.0 - double(i) / length);
            const double value = std::sin(2 * Pi * f0 * t) + 0.5 * std::sin(4 * Pi * f0 * t) +
                                 0.25 * std::sin(6 * Pi * f0 * t);
            mix.Add(start + i, static_cast<float>(value * envelope * gain), 0.25f);
        }
    }
}

// A deterministic noise source for the drum.
class Noise
{
public:
    float Next()
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>((state >> 8) & 0xffff) / 32768.0f - 1.0f;
    }

private:
    uint32_t state = 12345u;
};

void Kick(Mix& mix, int64_t start, float gain)
{
    const int length = SampleRate / 8;
    double phase = 0.0;
    for (int i = 0; i < length; ++i)
    {
        const double t = double(i) / SampleRate;
        phase += 2 * Pi * (50.0 + 90.0 * std::exp(-t / 0.02)) / SampleRate;
        const double envelope =
            std::min(1.0, t / 0.002) * std::exp(-t / 0.04) * (1.0 - double(i) / length);
        mix.Add(start + i, static_cast<float>(std::sin(phase) * envelope * gain), 0.0f);
    }
}

void Snare(Mix& mix, Noise& noise, int64_t start, float gain)
{
    const int length = SampleRate / 10;
    float low = 0.0f;
    for (int i = 0; i < length; ++i)
    {
        const double t = double(i) / SampleRate;
        const double envelope =
            std::min(1.0, t / 0.002) * std::exp(-t / 0.03) * (1.0 - double(i) / length);
        const float white = noise.Next();
        low += 0.3f * (white - low);
        mix.Add(start + i, static_cast<float>((white - low) * envelope * gain), 0.1f);
    }
}

int BassRoot(Chord chord)
{
    switch (chord)
    {
    case DMajor:
        return D3;
    case GMinor:
        return G2;
    case CMinor:
        return C3;
    case EbMajor:
        return Eb3;
    }
    return D3;
}

int BassFifth(Chord chord)
{
    return chord == DMajor ? A2 : BassRoot(chord) + 7 - 12;
}

template <std::size_t N>
int64_t PlayMelody(Mix& mix, int64_t start, const Note (&notes)[N], float gain)
{
    const int64_t eighth = static_cast<int64_t>(EighthSeconds * SampleRate);
    for (const Note& note : notes)
    {
        if (note.pitch)
            Clarinet(mix, start, note.eighths * EighthSeconds * 0.92, note.pitch, gain);
        start += note.eighths * eighth;
    }
    return start;
}

void PlayAccompaniment(Mix& mix, Noise& noise, int64_t bar, const Chord* chords, int bars,
                       bool drums)
{
    const int64_t beat = FramesPerBar / 2;
    for (int i = 0; i < bars; ++i)
    {
        const int64_t start = (bar + i) * FramesPerBar;
        Bass(mix, start, BassRoot(chords[i]), 0.30f);
        Bass(mix, start + beat, BassFifth(chords[i]), 0.24f);
        ChordStab(mix, start + beat / 2, chords[i], 0.045f);
        ChordStab(mix, start + beat + beat / 2, chords[i], 0.045f);
        if (drums)
        {
            Kick(mix, start, 0.35f);
            Kick(mix, start + beat, 0.25f);
            Snare(mix, noise, start + beat / 2, 0.10f);
            Snare(mix, noise, start + beat + beat / 2, 0.12f);
        }
    }
}
} // namespace

std::vector<float> RenderKlezmer()
{
    const int totalFrames = LoopEndFrame + 1;
    Mix mix(totalFrames + TailFrames);
    Noise noise;

    PlayMelody(mix, 0, Intro, 0.16f);
    PlayAccompaniment(mix, noise, 0, IntroChords, IntroBars, false);

    int64_t bar = IntroBars;
    PlayMelody(mix, bar * FramesPerBar, PhraseA, 0.16f);
    PlayAccompaniment(mix, noise, bar, ChordsA, 8, true);
    bar += 8;
    PlayMelody(mix, bar * FramesPerBar, PhraseA2, 0.16f);
    PlayAccompaniment(mix, noise, bar, ChordsA2, 8, true);
    bar += 8;
    PlayMelody(mix, bar * FramesPerBar, PhraseB, 0.16f);
    PlayAccompaniment(mix, noise, bar, ChordsB, 8, true);

    // What rings past the loop end continues after the jump to the loop start.
    std::vector<float> out(mix.samples.begin(),
                           mix.samples.begin() + static_cast<std::ptrdiff_t>(totalFrames) * 2);
    for (int i = 0; i < TailFrames * 2; ++i)
        out[static_cast<std::size_t>(LoopStartFrame) * 2 + i] +=
            mix.samples[static_cast<std::size_t>(totalFrames) * 2 + i];

    // Peak at about -1 dBFS.
    float peak = 0.0f;
    for (float s : out)
        peak = std::max(peak, std::fabs(s));
    const float gain = peak > 0.0f ? 0.89f / peak : 1.0f;
    for (float& s : out)
        s *= gain;
    return out;
}
