#pragma once

#include "shell/DrawingBackEnd.h"

#include <cstddef>
#include <vector>

// A sprite that a GPU cannot be handed as it is: its edges lie further than
// GuardBand outside the surface (a GPU rasterises only so far outside its
// viewport), or it has no area (or a NaN edge). It is clipped to the surface,
// with the window of its texture it keeps, in texture coordinates (left,
// top, right, bottom), worked out in double, so that it is drawn as the
// compositor draws it; or dropped, drawing nothing.
struct ClippedSprite
{
    std::size_t index;
    SpriteRect clipped;
    float textureWindow[4];
    bool drawn;
};

constexpr float GuardBand = 8192.0f;

// True for a sprite near the surface, with area: drawn as it is.
inline bool NearWithArea(const SpriteRect& r, float surfaceWidth, float surfaceHeight)
{
    return r.left >= -GuardBand && r.top >= -GuardBand && r.right <= surfaceWidth + GuardBand &&
           r.bottom <= surfaceHeight + GuardBand && r.right > r.left && r.bottom > r.top;
}

ClippedSprite ClipSprite(std::size_t index, const SpriteRect& r, float surfaceWidth,
                         float surfaceHeight);

// Copies count rectangles to memory that is written whole and never read
// back (a GPU's buffer: with streaming stores where the processor has them),
// noting in `clipped`, in order, the sprites that are not near with area;
// their copies hold their clipped rectangles.
void CopyClippingFarSprites(SpriteRect* to, const SpriteRect* from, std::size_t count,
                            float surfaceWidth, float surfaceHeight,
                            std::vector<ClippedSprite>* clipped);
