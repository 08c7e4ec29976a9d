#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

// A single-producer single-consumer ring of stereo frames: the decoder
// writes, the mixer reads, neither waits for the other.
class SampleRing
{
public:
    explicit SampleRing(int capacityFrames)
        : frames(static_cast<std::size_t>(capacityFrames) * 2), capacity(capacityFrames)
    {
    }

    int Free() const { return capacity - Filled(); }
    int Filled() const
    {
        return static_cast<int>(written.load(std::memory_order_acquire) -
                                read.load(std::memory_order_acquire));
    }

    // Producer side: returns how many frames fitted.
    int Write(const float* stereo, int count)
    {
        count = std::min(count, Free());
        const uint64_t at = written.load(std::memory_order_relaxed);
        // At most two straight runs: to the end of the ring, then from its start.
        const int start = Index(at);
        const int first = std::min(count, capacity - start);
        std::copy_n(stereo, 2 * first, frames.data() + 2 * start);
        std::copy_n(stereo + 2 * first, 2 * (count - first), frames.data());
        written.store(at + count, std::memory_order_release);
        return count;
    }

    // Consumer side: up to count frames; returns how many there were.
    int Read(float* stereo, int count)
    {
        const uint64_t at = read.load(std::memory_order_relaxed);
        count = std::min(count, static_cast<int>(written.load(std::memory_order_acquire) - at));
        const int start = Index(at);
        const int first = std::min(count, capacity - start);
        std::copy_n(frames.data() + 2 * start, 2 * first, stereo);
        std::copy_n(frames.data(), 2 * (count - first), stereo + 2 * first);
        read.store(at + count, std::memory_order_release);
        return count;
    }

private:
    int Index(uint64_t frame) const
    {
        return static_cast<int>(frame % static_cast<uint64_t>(capacity));
    }

    std::vector<float> frames;
    int capacity;
    std::atomic<uint64_t> written{0};
    std::atomic<uint64_t> read{0};
};
