#pragma once

#include <cstdint>

class DrawingBackEnd;
class DrawingTexture;

// An image prepared for the drawing back end, with the size it stores, in
// pixels.
class Texture
{
public:
    Texture() = default;
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;
    virtual ~Texture();

    DrawingTexture* deviceTexture = nullptr; // owned; made by the back end that draws it
    float width = 0.0f;
    float height = 0.0f;
};

// The longest side of an image the drawing path accepts, in pixels.
constexpr uint32_t MaxTextureSide = 16384;

// Decodes a PNG file for the drawing back end `device`. Null for a file that
// is not a regular PNG file, for an image whose header declares a side longer
// than MaxTextureSide, and for one the back end cannot hold.
Texture* CreateTexture(DrawingBackEnd* device, const char* path);
