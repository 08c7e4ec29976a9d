#include "shell/FramePacer.h"
#include "shell/GameTime.h"

#include <gtest/gtest.h>

namespace
{
// A nanosecond clock at 60 updates a second, as the game runs it.
constexpr int64_t Frequency = 1000000000;
constexpr int64_t Step = Frequency / 60;
constexpr int64_t Origin = 5000000000; // an arbitrary clock reading at start

struct PacedRun
{
    PacedRun() { pacer.Start(Frequency, 60, Origin); }

    void FrameAt(int64_t now) { pacer.BeginFrame(now, 60, 5, &time); }

    FramePacer pacer;
    GameTime time;
};
} // namespace

TEST(FramePacerTest, StepIsTruncatedAndTheFirstFrameComesOneStepAfterStart)
{
    PacedRun run;
    EXPECT_EQ(run.pacer.step, 16666666);
    EXPECT_EQ(run.pacer.TicksUntilNextFrame(Origin), Step);
    EXPECT_GT(run.pacer.TicksUntilNextFrame(Origin + Step - 1), 0);
    EXPECT_LE(run.pacer.TicksUntilNextFrame(Origin + Step), 0);

    run.FrameAt(Origin + Step);
    EXPECT_FLOAT_EQ(run.time.elapsedSeconds, 1.0f / 60.0f);
    EXPECT_FLOAT_EQ(run.time.totalSeconds, 1.0f / 60.0f);
    EXPECT_EQ(run.pacer.nextDeadline, Origin + 2 * Step);
    EXPECT_EQ(run.pacer.frameGridPoint, Origin + Step);
}

TEST(FramePacerTest, LateFrameIsCreditedTheStepsThatPassed)
{
    PacedRun run;
    run.FrameAt(Origin + Step);
    // 2.5 steps past the deadline of Origin + 2 steps.
    int64_t now = Origin + 2 * Step + 5 * Step / 2;
    run.FrameAt(now);
    EXPECT_FLOAT_EQ(run.time.elapsedSeconds, 3.0f / 60.0f);
    EXPECT_EQ(run.pacer.nextDeadline, Origin + 5 * Step);
    EXPECT_GT(run.pacer.nextDeadline, now);
    EXPECT_LE(run.pacer.nextDeadline - Step, now);
}

TEST(FramePacerTest, StallIsCreditedSixStepsAndTheBacklogIsDropped)
{
    PacedRun run;
    run.FrameAt(Origin + Step);
    float before = run.time.totalSeconds;

    // One second late: 60 steps are due, six are credited.
    int64_t now = Origin + 2 * Step + 60 * Step;
    run.FrameAt(now);
    EXPECT_FLOAT_EQ(run.time.elapsedSeconds, 6.0f / 60.0f);
    EXPECT_FLOAT_EQ(run.time.totalSeconds - before, 6.0f / 60.0f);
    // The deadline stays on the grid and comes after now.
    EXPECT_EQ((run.pacer.nextDeadline - Origin) % Step, 0);
    EXPECT_GT(run.pacer.nextDeadline, now);
    EXPECT_LE(run.pacer.nextDeadline - Step, now);

    // The frame after is on time again.
    run.FrameAt(run.pacer.nextDeadline);
    EXPECT_FLOAT_EQ(run.time.elapsedSeconds, 1.0f / 60.0f);
}
