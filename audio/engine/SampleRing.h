#pragma once

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

    // Producer side.
    int Write(const float* stereo, int count)
    {
        count = count < Free() ? count : Free();
        const uint64_t at = written.load(std::memory_order_relaxed);
        for (int i = 0; i < count; ++i)
        {
            const std::size_t slot = static_cast<std::size_t>((at + i) % capacity) * 2;
            frames[slot] = stereo[2 * i];
            frames[slot + 1] = stereo[2 * i + 1];
        }
        written.store(at + count, std::memory_order_release);
        return count;
    }

    // Consumer side: one frame, or false when empty.
    bool Pop(float* left, float* right)
    {
        const uint64_t at = read.load(std::memory_order_relaxed);
        if (at == written.load(std::memory_order_acquire))
            return false;
        const std::size_t slot = static_cast<std::size_t>(at % capacity) * 2;
        *left = frames[slot];
        *right = frames[slot + 1];
        read.store(at + 1, std::memory_order_release);
        return true;
    }

private:
    std::vector<float> frames;
    int capacity;
    std::atomic<uint64_t> written{0};
    std::atomic<uint64_t> read{0};
};
