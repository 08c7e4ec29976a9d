#pragma once

#include <cstdint>
#include <vector>

// An image decoded from its file: 0xAARRGGBB pixels with straight alpha, in
// rows from the top, width * height of them.
struct DecodedImage
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};
