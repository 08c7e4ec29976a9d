#pragma once

#include <cstdint>
#include <vector>

class RendererBackEnd;
class SoftwareCompositor;
class Texture;
struct SDL_Renderer;

// Collects a frame's sprites between Begin and End and has a back end draw
// them at End, grouped by texture: the sprites are sorted by texture, keeping
// their submission order within a texture. The back end is SDL's renderer
// (one geometry call per texture run) or the software compositor (which also
// clears the frame, to the colour given to End). The queue grows to the
// largest frame and is reused, so a warm batch allocates nothing.
class SpriteBatch
{
public:
    struct QueuedSprite
    {
        const Texture* texture;
        uint32_t order;
        float left, top, right, bottom;
    };

    explicit SpriteBatch(SDL_Renderer* renderer);
    explicit SpriteBatch(SoftwareCompositor* compositor);
    SpriteBatch(const SpriteBatch&) = delete;
    SpriteBatch& operator=(const SpriteBatch&) = delete;
    virtual ~SpriteBatch();

    void Begin();

    // Queues the whole texture stretched over the rectangle from (left, top)
    // to (right, bottom), in drawing-surface pixels, blended by its alpha.
    void Draw(const Texture* texture, float left, float top, float right, float bottom);

    // Draws what was queued since Begin. The compositor clears to clearArgb
    // (0xAARRGGBB) first; the renderer's caller clears. Returns the number of
    // geometry calls on the renderer, 0 on the compositor.
    int End(uint32_t clearArgb = 0);

private:
    std::vector<QueuedSprite> sprites;
    RendererBackEnd* renderer = nullptr; // owned
    SoftwareCompositor* compositor = nullptr;
};
