#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

// Collects a frame's sprites between Begin and End and draws them at End,
// grouped by texture: the sprites are sorted by texture, keeping their
// submission order within a texture, and each texture's run is one geometry
// call. The buffers grow to the largest frame and are reused, so a warm batch
// allocates nothing.
class SpriteBatch
{
public:
    explicit SpriteBatch(SDL_Renderer* renderer);
    SpriteBatch(const SpriteBatch&) = delete;
    SpriteBatch& operator=(const SpriteBatch&) = delete;

    void Begin();

    // Queues the whole texture stretched over the rectangle from (left, top)
    // to (right, bottom), in target pixels, blended by the texture's alpha.
    void Draw(SDL_Texture* texture, float left, float top, float right, float bottom);

    // Draws what was queued since Begin. Returns the number of geometry calls.
    int End();

    // Sprites queued since Begin.
    std::size_t Count() const { return sprites.size(); }

private:
    struct QueuedSprite
    {
        SDL_Texture* texture;
        uint32_t order;
        float left, top, right, bottom;
    };

    void EnsureIndices(std::size_t spriteCount);

    SDL_Renderer* renderer;
    std::vector<QueuedSprite> sprites;
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
};
