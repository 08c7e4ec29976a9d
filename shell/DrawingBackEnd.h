#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class Texture;

// An image decoded from its file: 0xAARRGGBB pixels with straight alpha, in
// rows from the top, width * height of them.
struct DecodedImage
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// A back end's own copy of a texture's pixels, made by its CreateTexture and
// owned by the Texture.
class DrawingTexture
{
public:
    virtual ~DrawingTexture() = default;
};

// One sprite of a frame: the whole texture stretched over a rectangle of the
// drawing surface, in pixels; `order` is its place in the submission. The
// rectangle comes first: it is what a GPU reads of each sprite.
struct QueuedSprite
{
    float left, top, right, bottom;
    const Texture* texture;
    uint32_t order;
};

// What draws the frames: the software compositor, or a GPU's API. The
// sprite batch hands it a frame's sprites; content hands it decoded images.
// Every back end draws the screen-sized drawing surface scaled onto the
// whole client area, blends by the textures' alpha with bilinear sampling,
// and draws sprites in the order given.
class DrawingBackEnd
{
public:
    virtual ~DrawingBackEnd() = default;

    // The back end's copy of the image; null when it cannot hold it.
    virtual DrawingTexture* CreateTexture(const DecodedImage& image) = 0;

    // Clears the frame to clearArgb (0xAARRGGBB) and draws the sprites, which
    // come grouped by texture, all made by this back end. Returns the number
    // of draw calls it made on a GPU's API, 0 where it draws itself.
    virtual int DrawFrame(uint32_t clearArgb, const QueuedSprite* sprites, std::size_t count) = 0;

    // Shows the frame drawn last; the frame is complete on return.
    virtual void Present() = 0;
};
