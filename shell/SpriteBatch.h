#pragma once

#include "content/Texture.h"
#include "shell/DrawingBackEnd.h"

#include <cstdint>
#include <vector>

// Collects a frame's sprites between Begin and End and has the drawing back
// end draw them at End, grouped by texture: the sprites are sorted by the
// order the textures were made in, keeping their submission order within a
// texture. The queue grows
// to the largest frame and is reused, so a warm batch allocates nothing.
class SpriteBatch
{
public:
    explicit SpriteBatch(DrawingBackEnd* device) : device(device) {}
    SpriteBatch(const SpriteBatch&) = delete;
    SpriteBatch& operator=(const SpriteBatch&) = delete;
    virtual ~SpriteBatch() = default;

    void Begin();

    // Queues the whole texture stretched over the rectangle from (left, top)
    // to (right, bottom), in drawing-surface pixels, blended by its alpha.
    void Draw(const Texture* texture, float left, float top, float right, float bottom)
    {
        const uint64_t serial = texture ? texture->serial : 0;
        inTextureOrder &= serial >= lastSerial;
        lastSerial = serial;
        sprites.push_back(
            {left, top, right, bottom, texture, static_cast<uint32_t>(sprites.size())});
    }

    // Clears the frame to clearArgb (0xAARRGGBB) and draws what was queued
    // since Begin. Returns the back end's number of draw calls.
    int End(uint32_t clearArgb);

private:
    std::vector<QueuedSprite> sprites;
    bool inTextureOrder = true; // the queue needs no sort
    uint64_t lastSerial = 0;    // the serial of the last sprite queued
    DrawingBackEnd* device;     // not owned
};
