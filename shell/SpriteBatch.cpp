#include "shell/SpriteBatch.h"

#include <algorithm>

void SpriteBatch::Begin()
{
    sprites.clear();
    inTextureOrder = true;
    lastSerial = 0;
}

int SpriteBatch::End(uint32_t clearArgb)
{
    // The order field makes the sort stable without the allocation that
    // std::stable_sort makes; a frame queued in texture order is not sorted.
    auto byTexture = [](const QueuedSprite& a, const QueuedSprite& b)
    {
        const uint64_t serialA = a.texture ? a.texture->serial : 0;
        const uint64_t serialB = b.texture ? b.texture->serial : 0;
        if (serialA != serialB)
            return serialA < serialB;
        return a.order < b.order;
    };
    if (!inTextureOrder)
        std::sort(sprites.begin(), sprites.end(), byTexture);
    inTextureOrder = true;
    lastSerial = 0;

    const int calls = device->DrawFrame(clearArgb, sprites.data(), sprites.size());
    sprites.clear();
    return calls;
}
