#include "shell/SpriteBatch.h"

#include "content/Texture.h"

#include <algorithm>

void SpriteBatch::Begin()
{
    sprites.clear();
}

void SpriteBatch::Draw(const Texture* texture, float left, float top, float right, float bottom)
{
    sprites.push_back({texture, static_cast<uint32_t>(sprites.size()), left, top, right, bottom,
                       texture ? texture->serial : 0});
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
