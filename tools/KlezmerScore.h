#pragma once

// The shape of the generated music track, shared by the generator and the
// test of the shipped content: 2/4 at 120 beats a minute, so a bar is one
// second; an intro that plays once, then the looped section.
namespace KlezmerScore
{
constexpr int SampleRate = 48000;
constexpr int FramesPerBar = SampleRate; // two beats of half a second
constexpr int IntroBars = 4;
constexpr int LoopBars = 24;
constexpr int LoopStartFrame = IntroBars * FramesPerBar;
constexpr int LoopEndFrame = (IntroBars + LoopBars) * FramesPerBar - 1; // inclusive
} // namespace KlezmerScore
