#include "audio/engine/Resampler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

// A sound comes out as long as its rate says, its last frames included, and
// the filter never turns finite samples into infinity.
TEST(ResamplerTest, KeepsTheTailAndStaysFinite)
{
    for (int frames : {1, 100, 44100})
    {
        const std::vector<float> in(2 * static_cast<std::size_t>(frames), 0.5f);
        const std::vector<float> out = ResampleAll(in, 44100, 48000);
        EXPECT_NEAR(out.size() / 2.0, frames * 48000.0 / 44100.0, 1.0) << frames << " frames";
    }
    std::vector<float> loud(2 * 1000);
    for (std::size_t i = 0; i < loud.size(); ++i)
        loud[i] = i < loud.size() / 2 ? 3.4e38f : -3.4e38f;
    for (float sample : ResampleAll(loud, 44100, 48000))
        ASSERT_TRUE(std::isfinite(sample));
}
