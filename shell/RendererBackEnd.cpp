#include "shell/RendererBackEnd.h"

#include "content/Texture.h"

void RendererBackEnd::EnsureIndices(std::size_t spriteCount)
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

int RendererBackEnd::Draw(const SpriteBatch::QueuedSprite* sprites, std::size_t count)
{
    if (count == 0)
        return 0;
    vertices.resize(count * 4);
    EnsureIndices(count);
    const SDL_Color white = {255, 255, 255, 255};
    for (std::size_t i = 0; i < count; ++i)
    {
        const SpriteBatch::QueuedSprite& sprite = sprites[i];
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
    while (runStart < count)
    {
        std::size_t runEnd = runStart + 1;
        while (runEnd < count && sprites[runEnd].texture == sprites[runStart].texture)
            ++runEnd;
        SDL_Texture* texture =
            sprites[runStart].texture ? sprites[runStart].texture->deviceTexture : nullptr;
        if (texture)
        {
            int quads = static_cast<int>(runEnd - runStart);
            SDL_RenderGeometry(renderer, texture, &vertices[runStart * 4], quads * 4,
                               indices.data(), quads * 6);
            ++calls;
        }
        runStart = runEnd;
    }
    return calls;
}
