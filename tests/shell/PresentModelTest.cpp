#include "shell/FramePacer.h"
#include "shell/GameTime.h"
#include "shell/PresentGate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <vector>

// The frame loop (grid, credits, a 3 ms frame) against a simulated display
// that takes one frame from a driver queue of two at each retrace, for ten
// minutes: how each way of presenting fares at the refresh rates players have.
namespace
{
constexpr int64_t Ms = 1000000; // clock ticks: nanoseconds
constexpr int64_t Minutes = 10;

struct Row
{
    double medianMs, p99Ms, twoStepsPerMinute, neverShownPerMinute, heldPerMinute;
    std::size_t longestQueueLastMinute;
};

// Blocking: today's swap, which waits while the queue is full. Gated: a frame
// is dropped while the one before it still waits.
Row Simulate(double hertz, bool gated)
{
    const double period = 1e9 / hertz;
    double nextRetrace = period * 0.37; // an arbitrary phase
    std::deque<int64_t> queue;          // the starts of the frames waiting
    std::vector<double> latencies;
    int64_t twoSteps = 0, neverShown = 0, held = 0, refreshesOnScreen = 0, shown = 0;
    std::size_t longest = 0;
    const int64_t end = Minutes * 60000 * Ms;
    int64_t now = 0;
    // Every retrace up to `until`: the oldest frame waiting goes on screen.
    auto runDisplay = [&](int64_t until)
    {
        for (; nextRetrace <= until; nextRetrace += period)
        {
            if (queue.empty() && ++refreshesOnScreen)
                continue;
            held += refreshesOnScreen >= 2; // a frame shown twice or more
            refreshesOnScreen = 1;
            latencies.push_back((nextRetrace - queue.front()) / Ms);
            queue.pop_front();
            ++shown;
        }
    };

    FramePacer pacer;
    GameTime time;
    PresentGate gate;
    pacer.Start(1000 * Ms, 60, now);
    while (now < end)
    {
        now = std::max(now, pacer.nextDeadline);
        pacer.BeginFrame(now, 60, 5, &time);
        twoSteps += std::lround(time.elapsedSeconds * 60) >= 2;
        const int64_t start = now;
        now += 3 * Ms;
        runDisplay(now);
        for (; !gated && queue.size() == 2; runDisplay(now))
            now = static_cast<int64_t>(std::ceil(nextRetrace));
        if (gated && !gate.Admits(shown))
        {
            ++neverShown;
            continue;
        }
        queue.push_back(start);
        gate.Presented();
        if (now > end - 60000 * Ms)
            longest = std::max(longest, queue.size());
    }
    std::sort(latencies.begin(), latencies.end());
    return Row{latencies[latencies.size() / 2], latencies[latencies.size() * 99 / 100],
               double(twoSteps) / Minutes,      double(neverShown) / Minutes,
               double(held) / Minutes,          longest};
}
} // namespace

TEST(PresentModelTest, GatedPresentsNeverQueueAndAreNoWorseThanTheBlockingSwap)
{
    std::printf("%-8s %-23s %8s %8s %11s %14s %10s %6s\n", "display", "presents", "median", "p99",
                "2-step/min", "never shown/min", "twice/min", "queue");
    for (double hertz : {60.0, 59.94, 60.05, 75.0, 50.0, 144.0})
    {
        Row rows[2];
        for (bool gated : {false, true})
        {
            const Row& row = rows[gated] = Simulate(hertz, gated);
            std::printf("%-8.2f %-23s %5.1f ms %5.1f ms %11.1f %14.1f %10.1f %6zu\n", hertz,
                        gated ? "gated swap" : "blocking swap", row.medianMs, row.p99Ms,
                        row.twoStepsPerMinute, row.neverShownPerMinute, row.heldPerMinute,
                        row.longestQueueLastMinute);
        }
        const Row &blocking = rows[0], &gated = rows[1];
        EXPECT_LE(gated.p99Ms, blocking.p99Ms) << hertz;
        EXPECT_LE(gated.twoStepsPerMinute, blocking.twoStepsPerMinute) << hertz;
        EXPECT_EQ(gated.twoStepsPerMinute, 0) << hertz;
        EXPECT_LE(gated.p99Ms, 3 + 1000 / hertz) << hertz; // shown at the first retrace
        EXPECT_LE(gated.longestQueueLastMinute, 1u) << hertz;
    }
}
