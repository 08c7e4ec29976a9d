#include "objects/RandomManager.h"

#include <boost/random/uniform_int_distribution.hpp>

#include <cassert>

RandomManager::RandomManager() : engine(5489u) {}

void RandomManager::Seed(uint32_t seed)
{
    engine.seed(seed);
}

int32_t RandomManager::Next(int32_t minimum, int32_t maximum)
{
    assert(minimum <= maximum && "the range holds at least one number");
    boost::random::uniform_int_distribution<int> distribution(minimum, maximum);
    return distribution(engine);
}
