#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

// A fixed-size queue between one producing and one consuming thread. Neither
// side waits, locks or allocates: a full queue refuses, an empty one says so.
template <typename Item> class SpscQueue
{
public:
    explicit SpscQueue(std::size_t capacity) : items(capacity) {}

    // Producer side; false when full.
    bool Push(const Item& item)
    {
        const uint64_t at = written.load(std::memory_order_relaxed);
        if (at - read.load(std::memory_order_acquire) == items.size())
            return false;
        items[static_cast<std::size_t>(at % items.size())] = item;
        written.store(at + 1, std::memory_order_release);
        return true;
    }

    // Consumer side; false when empty.
    bool Pop(Item* item)
    {
        const uint64_t at = read.load(std::memory_order_relaxed);
        if (at == written.load(std::memory_order_acquire))
            return false;
        *item = items[static_cast<std::size_t>(at % items.size())];
        read.store(at + 1, std::memory_order_release);
        return true;
    }

private:
    std::vector<Item> items;
    std::atomic<uint64_t> written{0};
    std::atomic<uint64_t> read{0};
};
