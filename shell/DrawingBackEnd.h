#pragma once

#include "content/DecodedImage.h"

#include <cstddef>
#include <cstdint>

class DrawingBackEnd;

// A back end's own copy of a texture's pixels, made by its CreateTexture and
// owned by the Texture.
class DrawingTexture
{
public:
    explicit DrawingTexture(const DrawingBackEnd* maker);
    DrawingTexture(const DrawingTexture&) = delete;
    DrawingTexture& operator=(const DrawingTexture&) = delete;
    virtual ~DrawingTexture() = default;

    // True when the back end made it, and so alone can draw it. A copy may
    // outlive its maker: the serial number tells, where a back end made
    // later at the same address would not.
    bool MadeBy(const DrawingBackEnd* backEnd) const;

private:
    const uint64_t makerSerial;
};

// A 0xAARRGGBB pixel with its colour scaled by its alpha, rounded, as every
// back end keeps its textures: blending OVER is then one multiply-add.
inline uint32_t PremultipliedArgb(uint32_t argb)
{
    const uint32_t a = argb >> 24;
    auto scale = [a](uint32_t channel) { return (channel * a + 127) / 255; };
    return (a << 24) | (scale((argb >> 16) & 0xff) << 16) | (scale((argb >> 8) & 0xff) << 8) |
           scale(argb & 0xff);
}

// Where one sprite of a frame goes: the rectangle of the drawing surface, in
// pixels, that the whole texture is stretched over.
struct SpriteRect
{
    float left, top, right, bottom;
};

// Sprites [start, end) of a frame's rectangles, all of one texture: the
// back end's own copy of it (null: drawn as nothing).
struct TextureRun
{
    const DrawingTexture* texture;
    std::size_t start, end;
};

// What draws the frames: the software compositor, or a GPU's API. The
// sprite batch hands it a frame's sprites; content hands it decoded images.
// Every back end draws the screen-sized drawing surface scaled onto the
// whole client area, blends by the textures' alpha with bilinear sampling,
// and draws sprites in the order given.
class DrawingBackEnd
{
public:
    DrawingBackEnd();
    DrawingBackEnd(const DrawingBackEnd&) = delete;
    DrawingBackEnd& operator=(const DrawingBackEnd&) = delete;
    virtual ~DrawingBackEnd() = default;

    // The back end's copy of the image; null when it cannot hold it.
    virtual DrawingTexture* CreateTexture(const DecodedImage& image) = 0;

    // Clears the frame to clearArgb (0xAARRGGBB) and draws the runs in the
    // order given, each run's sprites in order; each texture has one run, and
    // every texture was made by this back end (others are drawn as nothing).
    // `rects` holds `count` rectangles, which the runs share out. Returns the
    // number of draw calls it made on a GPU's API, 0 where it draws itself.
    virtual int DrawFrame(uint32_t clearArgb, const SpriteRect* rects, std::size_t count,
                          const TextureRun* runs, std::size_t runCount) = 0;

    // Shows the frame drawn last; the frame is complete on return.
    virtual void Present() = 0;

    // Each back end's own, never reused in the process.
    const uint64_t serial;
};

inline bool DrawingTexture::MadeBy(const DrawingBackEnd* backEnd) const
{
    return backEnd && backEnd->serial == makerSerial;
}
