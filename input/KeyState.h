#pragma once

#include <bitset>
#include <cstddef>

// 256 key flags, copied by value. A position of 256 or more is refused with
// std::out_of_range and leaves the state unchanged.
class KeyState
{
public:
    void Set(std::size_t position) { flags.set(position); }
    void Clear(std::size_t position) { flags.reset(position); }
    bool Test(std::size_t position) const { return flags.test(position); }

    static constexpr std::size_t Size = 256;

private:
    std::bitset<Size> flags;
};
