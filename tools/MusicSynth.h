#pragma once

#include <vector>

// The music track: an original tune in the freygish mode on D, a
// clarinet-like lead over an oom-pah bass with offbeat chords and a light
// drum. Interleaved stereo floats at KlezmerScore::SampleRate, exactly the
// intro and the loop long; the tails of the loop's last notes are wrapped
// onto its first bars, so that the jump from the loop end to the loop start
// continues the sound without a seam.
std::vector<float> RenderKlezmer();
