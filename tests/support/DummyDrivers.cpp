// Every test program runs on SDL's dummy video and audio drivers unless its
// environment names others, so that no test reaches a display or a sound
// server of the machine's or of another test's. (Set here: a list of
// variables does not survive the test discovery's properties.)
#include <cstdlib>

namespace
{
const bool DummyDrivers = []
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    return true;
}();
} // namespace
