#include "shell/SpriteBatch.h"

#include <algorithm>

void SpriteBatch::Begin()
{
    sprites.clear();
}

int SpriteBatch::End(uint32_t clearArgb)
{
    // The order field makes the sort stable without the allocation that
    // std::stable_sort makes; a frame already in texture order is not sorted.
    auto byTexture = [](const QueuedSprite& a, const QueuedSprite& b)
    {
        if (a.textureSerial != b.textureSerial)
            return a.textureSerial < b.textureSerial;
        return a.order < b.order;
    };
    if (!std::is_sorted(sprites.begin(), sprites.end(), byTexture))
        std::sort(sprites.begin(), sprites.end(), byTexture);

    const int calls = device->DrawFrame(clearArgb, sprites.data(), sprites.size());
    sprites.clear();
    return calls;
}
