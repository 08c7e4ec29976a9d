#include "shell/SpriteBatch.h"

#include <algorithm>
#include <functional>

void SpriteBatch::Begin()
{
    sprites.clear();
}

void SpriteBatch::Draw(const Texture* texture, float left, float top, float right, float bottom)
{
    sprites.push_back({texture, static_cast<uint32_t>(sprites.size()), left, top, right, bottom});
}

int SpriteBatch::End(uint32_t clearArgb)
{
    // The order field makes the sort stable without the allocation that
    // std::stable_sort makes; a frame already in texture order is not sorted.
    auto byTexture = [](const QueuedSprite& a, const QueuedSprite& b)
    {
        if (a.texture != b.texture)
            return std::less<const Texture*>()(a.texture, b.texture);
        return a.order < b.order;
    };
    if (!std::is_sorted(sprites.begin(), sprites.end(), byTexture))
        std::sort(sprites.begin(), sprites.end(), byTexture);

    const int calls = device->DrawFrame(clearArgb, sprites.data(), sprites.size());
    sprites.clear();
    return calls;
}
