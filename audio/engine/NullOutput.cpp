#include "audio/engine/NullOutput.h"

#include "audio/engine/Mixer.h"

#include <chrono>

NullOutput::~NullOutput()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    wake.notify_all();
    if (thread.joinable())
        thread.join();
}

void NullOutput::Start(Mixer* mixer)
{
    block.resize(2 * static_cast<std::size_t>(BlockFrames));
    thread = std::thread([this, mixer] { Pull(mixer); });
}

void NullOutput::Pull(Mixer* mixer)
{
    // Blocks due on a grid from the start, so late wake-ups do not slow the
    // pace; only the game's thread touches the lock, to stop.
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(double(BlockFrames) / Rate));
    auto due = Clock::now();
    std::unique_lock<std::mutex> guard(lock);
    while (!stopping)
    {
        guard.unlock();
        mixer->Mix(block.data(), BlockFrames);
        guard.lock();
        due += period;
        wake.wait_until(guard, due, [this] { return stopping; });
    }
}
