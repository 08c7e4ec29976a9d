#pragma once

#include <boost/random/mersenne_twister.hpp>

#include <cstdint>

// The process-wide random number service: one 32-bit Mersenne Twister,
// seeded with the standard default 5489 until Seed is called.
class RandomManager
{
public:
    RandomManager();
    virtual ~RandomManager() = default;

    void Seed(uint32_t seed);

    // A uniformly drawn integer from minimum to maximum, both inclusive.
    // The range must not be empty.
    int32_t Next(int32_t minimum, int32_t maximum);

    boost::random::mt19937 engine;
};
