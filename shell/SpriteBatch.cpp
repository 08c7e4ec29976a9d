#include "shell/SpriteBatch.h"

#include <algorithm>
#include <functional>

SpriteBatch::SpriteBatch(SDL_Renderer* renderer) : renderer(renderer) {}

void SpriteBatch::Begin()
{
    sprites.clear();
}

void SpriteBatch::Draw(SDL_Texture* texture, float left, float top, float right, float bottom)
{
    sprites.push_back({texture, static_cast<uint32_t>(sprites.size()), left, top, right, bottom});
}

void SpriteBatch::EnsureIndices(std::size_t spriteCount)
{
    // Two triangles a quad, over vertices 0-1-2 and 2-3-0 of each sprite.
    std::size_t built = indices.size() / 6;
    if (built >= spriteCount)
        return;
    indices.resize(spriteCount * 6);
    for (std::size_t i = built; i < spriteCount; ++i)
    {
        int first = static_cast<int>(i * 4);
        int* quad = &indices[i * 6];
        quad[0] = first;
        quad[1] = first + 1;
        quad[2] = first + 2;
        quad[3] = first + 2;
        quad[4] = first + 3;
        quad[5] = first;
    }
}

int SpriteBatch::End()
{
    if (sprites.empty())
        return 0;

    // The order field makes the sort stable without the allocation that
    // std::stable_sort makes; a frame already in texture order is not sorted.
    auto byTexture = [](const QueuedSprite& a, const QueuedSprite& b)
    {
        if (a.texture != b.texture)
            return std::less<SDL_Texture*>()(a.texture, b.texture);
        return a.order < b.order;
    };
    if (!std::is_sorted(sprites.begin(), sprites.end(), byTexture))
        std::sort(sprites.begin(), sprites.end(), byTexture);

    vertices.resize(sprites.size() * 4);
    EnsureIndices(sprites.size());
    const SDL_Color white = {255, 255, 255, 255};
    for (std::size_t i = 0; i < sprites.size(); ++i)
    {
        const QueuedSprite& sprite = sprites[i];
        SDL_Vertex* quad = &vertices[i * 4];
        quad[0] = {{sprite.left, sprite.top}, white, {0.0f, 0.0f}};
        quad[1] = {{sprite.right, sprite.top}, white, {1.0f, 0.0f}};
        quad[2] = {{sprite.right, sprite.bottom}, white, {1.0f, 1.0f}};
        quad[3] = {{sprite.left, sprite.bottom}, white, {0.0f, 1.0f}};
    }

    // Each texture's run is one call; the indices of a run start at its first
    // vertex, so every call uses the same prebuilt index pattern.
    int calls = 0;
    std::size_t runStart = 0;
    while (runStart < sprites.size())
    {
        std::size_t runEnd = runStart + 1;
        while (runEnd < sprites.size() && sprites[runEnd].texture == sprites[runStart].texture)
            ++runEnd;
        int count = static_cast<int>(runEnd - runStart);
        SDL_RenderGeometry(renderer, sprites[runStart].texture, &vertices[runStart * 4], count * 4,
                           indices.data(), count * 6);
        ++calls;
        runStart = runEnd;
    }
    sprites.clear();
    return calls;
}
