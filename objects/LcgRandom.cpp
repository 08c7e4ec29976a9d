#include "objects/LcgRandom.h"

uint32_t LcgRandom::state = 1;

int32_t LcgRandom::Next()
{
    state = state * 214013u + 2531011u;
    return static_cast<int32_t>((state >> 16) & 0x7fffu);
}
