#include "audio/engine/Mixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
constexpr int Rate = 48000;

// Stereo frames whose left and right both hold `value(i)`.
template <typename Value> std::vector<float> Frames(int count, Value value)
{
    std::vector<float> frames(static_cast<std::size_t>(count) * 2);
    for (int i = 0; i < count; ++i)
        frames[2 * static_cast<std::size_t>(i)] = frames[2 * static_cast<std::size_t>(i) + 1] =
            value(i);
    return frames;
}

class MixerTest : public ::testing::Test
{
protected:
    void Play(uint32_t slot, uint32_t generation, const std::vector<float>& frames,
              int loopCount = 0, bool paused = false)
    {
        ASSERT_TRUE(mixer.Send({.paused = paused,
                                .slot = slot,
                                .generation = generation,
                                .frames = frames.data(),
                                .frameCount = static_cast<int64_t>(frames.size() / 2),
                                .loopCount = loopCount}));
    }
    void Send(MixerCommand::Kind kind, uint32_t slot, uint32_t generation, float volume = 1.0f,
              bool paused = false)
    {
        ASSERT_TRUE(mixer.Send({kind, paused, slot, generation, volume}));
    }

    // The left channel of the next frames, mixed in blocks of `block`.
    std::vector<float> Mix(int frames, int block = 1024)
    {
        std::vector<float> out(static_cast<std::size_t>(frames) * 2);
        for (int done = 0; done < frames; done += block)
            mixer.Mix(out.data() + 2 * done, std::min(block, frames - done));
        std::vector<float> left(static_cast<std::size_t>(frames));
        for (int i = 0; i < frames; ++i)
            left[static_cast<std::size_t>(i)] = out[2 * static_cast<std::size_t>(i)];
        return left;
    }

    Mixer mixer{100, Rate};
};
} // namespace

TEST_F(MixerTest, CommandsForAReplacedVoiceChangeNothing)
{
    const std::vector<float> level = Frames(Rate, [](int) { return 0.5f; });
    Play(7, 1, level, -1);
    Play(7, 2, level, -1); // takes the slot over
    Send(MixerCommand::SetVolume, 7, 1, 0.0f);
    Send(MixerCommand::StopNow, 7, 1);
    EXPECT_EQ(Mix(10).back(), 0.5f);
    EXPECT_TRUE(mixer.Ended(7, 1));
    EXPECT_FALSE(mixer.Ended(7, 2));
    EXPECT_EQ(mixer.Applied(), mixer.Sent());
}

TEST_F(MixerTest, VolumeSetWhilePausedHoldsFromTheFirstFrameAndChangesRampWithoutClicks)
{
    const std::vector<float> level = Frames(4 * Rate, [](int) { return 0.5f; });
    Play(0, 1, level, 0, true);
    Send(MixerCommand::SetVolume, 0, 1, 0.4f);
    for (float value : Mix(500))
        ASSERT_EQ(value, 0.0f) << "a paused voice is silent";

    Send(MixerCommand::SetPaused, 0, 1, 1.0f, false);
    std::vector<float> out = Mix(100);
    EXPECT_NEAR(out[0], 0.2f, 1e-6) << "the volume set while paused holds from the first frame";

    // A change of volume, then a stop, move in small steps over a few ms.
    Send(MixerCommand::SetVolume, 0, 1, 1.0f);
    out = Mix(Rate / 50);
    EXPECT_LT(out[0], 0.21f);
    EXPECT_NEAR(out.back(), 0.5f, 1e-6);
    Send(MixerCommand::Stop, 0, 1);
    out = Mix(Rate / 50, 77);
    EXPECT_GT(out[0], 0.45f) << "no jump to silence";
    for (std::size_t i = 1; i < out.size(); ++i)
        ASSERT_LE(std::fabs(out[i] - out[i - 1]), 0.01f) << "click at frame " << i;
    EXPECT_EQ(out.back(), 0.0f);
    EXPECT_TRUE(mixer.Ended(0, 1)) << "a faded-out stop ends the voice";
}

TEST_F(MixerTest, LoudMixesAreLimitedWithoutWrapping)
{
    // Two voices just past full scale, then a hundred far past it.
    const std::vector<float> loud =
        Frames(Rate, [](int i) { return i % 200 < 100 ? 0.9f : -0.9f; });
    for (uint32_t voices : {2u, 100u})
    {
        for (uint32_t slot = 0; slot < voices; ++slot)
            Play(slot, voices, loud);
        const std::vector<float> out = Mix(Rate / 4);
        for (std::size_t i = 0; i < out.size(); ++i)
        {
            ASSERT_LE(std::fabs(out[i]), 1.0f) << voices << " voices, frame " << i;
            const bool positive = i % 200 < 100;
            ASSERT_GT(positive ? out[i] : -out[i], 0.9f) << voices << " voices, frame " << i;
        }
    }
}
