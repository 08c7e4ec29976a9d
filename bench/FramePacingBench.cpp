// Runs the frame loop's pacing on the real clock for 600 frames, idle and with
// both cores loaded, and prints how late frames start against their grid
// points and how much CPU time the waiting costs.
#include "shell/FramePacer.h"
#include "shell/GameTime.h"
#include "shell/HighResolutionClock.h"
#include "bench/ThreadCpuTime.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

namespace
{
constexpr int Frames = 600;

void Measure(const char* label)
{
    FramePacer pacer;
    GameTime time;
    std::vector<int64_t> lateness;
    lateness.reserve(Frames);
    pacer.Start(HighResolutionClock::Frequency(), 60, HighResolutionClock::Now());
    double cpuStart = ThreadCpuSeconds();
    int64_t wallStart = HighResolutionClock::Now();
    for (int frame = 0; frame < Frames; ++frame)
    {
        pacer.WaitAndBeginFrame(60, 5, &time);
        lateness.push_back(HighResolutionClock::Now() - pacer.frameGridPoint);
    }
    double cpu = ThreadCpuSeconds() - cpuStart;
    double wall = static_cast<double>(HighResolutionClock::Now() - wallStart) * 1e-9;

    std::sort(lateness.begin(), lateness.end());
    auto micros = [&](double quantile)
    {
        std::size_t index = static_cast<std::size_t>(quantile * (lateness.size() - 1));
        return static_cast<double>(lateness[index]) * 1e-3;
    };
    std::printf("%-7s frames %d  lateness p50 %7.1f us  p99 %7.1f us  worst %8.1f us  "
                "cpu %.2f%% of a core  game time %.2f s in %.2f s\n",
                label, Frames, micros(0.5), micros(0.99), micros(1.0), 100.0 * cpu / wall,
                time.totalSeconds, wall);
}
} // namespace

int main()
{
    Measure("idle");

    std::atomic<bool> stop{false};
    std::vector<std::thread> load;
    unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < cores; ++i)
        load.emplace_back(
            [&stop]
            {
                volatile uint64_t spin = 0;
                while (!stop.load(std::memory_order_relaxed))
                    spin = spin + 1;
            });
    Measure("loaded");
    stop = true;
    for (std::thread& thread : load)
        thread.join();
    return 0;
}
