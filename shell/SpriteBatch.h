#pragma once

#include "content/Texture.h"
#include "shell/DrawingBackEnd.h"

#include <cstdint>
#include <vector>

// Collects a frame's sprites between Begin and End and has the drawing back
// end draw them at End, grouped by texture: the sprites are sorted by the
// order the textures were made in, keeping their submission order within a
// texture. The frame is a draw list in the batch's own memory: each sprite
// its rectangle, each texture noted once for each run of sprites that share
// it. That memory grows to the largest frame and is reused, so a warm batch
// allocates nothing.
class SpriteBatch
{
public:
    explicit SpriteBatch(DrawingBackEnd* device);
    SpriteBatch(const SpriteBatch&) = delete;
    SpriteBatch& operator=(const SpriteBatch&) = delete;
    virtual ~SpriteBatch() = default;

    void Begin();

    // Queues the whole texture stretched over the rectangle from (left, top)
    // to (right, bottom), in drawing-surface pixels, blended by its alpha.
    void Draw(const Texture* texture, float left, float top, float right, float bottom)
    {
        if (texture != runTexture)
            StartRun(texture);
        if (count == capacity)
            Grow();
        rects[count++] = {left, top, right, bottom};
    }

    // Clears the frame to clearArgb (0xAARRGGBB) and draws what was queued
    // since Begin. Returns the back end's number of draw calls.
    int End(uint32_t clearArgb);

private:
    // Once a run or a growth, not once a sprite: kept out of the callers' loops.
    [[gnu::noinline]] void StartRun(const Texture* texture);
    [[gnu::noinline]] void Grow();
    void GroupByTexture();

    DrawingBackEnd* device;      // not owned
    SpriteRect* rects = nullptr; // ownRects' items
    std::size_t count = 0;
    std::size_t capacity = 0;
    const Texture* runTexture = nullptr; // the texture of the last run
    std::vector<TextureRun> runs;        // the last one open-ended
    std::vector<uint64_t> runSerials;    // the serial of each run's texture (0: none)
    bool runsInTextureOrder = true;      // each texture's sprites form one run, in texture order
    std::vector<SpriteRect> ownRects;
    std::vector<std::size_t> order;       // the runs in texture order, while regrouping
    std::vector<SpriteRect> groupedRects; // the queue regrouped by texture
    std::vector<TextureRun> groupedRuns;
};
