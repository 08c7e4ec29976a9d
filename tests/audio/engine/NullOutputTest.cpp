#include "audio/engine/Mixer.h"
#include "audio/engine/NullOutput.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

// Without a sound card the null output still takes the mixer's frames, at
// real-time pace: a one-second sound ends after about a second, not never
// and not at once.
TEST(NullOutputTest, VoicesEndAtTheirRealTimePace)
{
    using Clock = std::chrono::steady_clock;
    const int rate = NullOutput::Rate;
    Mixer mixer(4, rate);
    NullOutput* output = new NullOutput();
    output->Start(&mixer);
    const std::vector<float> second(2 * static_cast<std::size_t>(rate), 0.5f);
    const Clock::time_point start = Clock::now();
    ASSERT_TRUE(
        mixer.Send({.slot = 0, .generation = 1, .frames = second.data(), .frameCount = rate}));
    while (!mixer.Ended(0, 1) && Clock::now() - start < std::chrono::seconds(10))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    delete output;
    EXPECT_TRUE(mixer.Ended(0, 1));
    EXPECT_GT(seconds, 0.9);
    EXPECT_LT(seconds, 5.0);
}
