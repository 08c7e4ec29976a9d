#include "shell/FramePacer.h"
#include "shell/GameTime.h"

#include <gtest/gtest.h>

namespace
{
// A nanosecond clock at 60 updates a second, as the game runs it.
constexpr int64_t Frequency = 1000000000;
constexpr int64_t Step = Frequency / 60;
constexpr int64_t Origin = 5000000000; // an arbitrary clock reading at start
} // namespace

TEST(FramePacerTest, FramesAreCreditedTheStepsThatPassedUpToSixOnAGridFromStart)
{
    FramePacer pacer;
    GameTime time;
    pacer.Start(Frequency, 60, Origin);
    EXPECT_EQ(pacer.step, 16666666); // truncated
    EXPECT_GT(pacer.TicksUntilNextFrame(Origin + Step - 1), 0);
    EXPECT_LE(pacer.TicksUntilNextFrame(Origin + Step), 0);

    struct Frame
    {
        int64_t now;
        int credited;     // steps
        int64_t deadline; // the next one
    };
    const Frame frames[] = {
        {Origin + Step, 1, Origin + 2 * Step},                    // the first, one step after start
        {Origin + 2 * Step + 5 * Step / 2, 3, Origin + 5 * Step}, // 2.5 steps late
        {Origin + 65 * Step + Step / 3, 6, Origin + 66 * Step},   // a second late: the rest dropped
        {Origin + 66 * Step, 1, Origin + 67 * Step},              // on time again
    };
    int totalSteps = 0;
    for (const Frame& frame : frames)
    {
        pacer.BeginFrame(frame.now, 60, 5, &time);
        totalSteps += frame.credited;
        EXPECT_FLOAT_EQ(time.elapsedSeconds, frame.credited / 60.0f) << frame.now;
        EXPECT_NEAR(time.totalSeconds, totalSteps / 60.0f, 1e-5) << frame.now;
        EXPECT_EQ(pacer.nextDeadline, frame.deadline) << frame.now;
    }
    EXPECT_EQ(pacer.frameGridPoint, Origin + 66 * Step);
}
