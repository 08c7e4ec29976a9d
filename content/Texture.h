#pragma once

#include <cstdint>

class DrawingBackEnd;
class DrawingTexture;

// An image prepared for the drawing back end, with the size it stores, in
// pixels.
class Texture
{
public:
    Texture() : serial(++made) {}
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;
    virtual ~Texture();

    DrawingTexture* deviceTexture = nullptr; // owned; made by the back end that draws it
    float width = 0.0f;
    float height = 0.0f;
    // The order textures were made in: sprites are grouped by it, so which of
    // two textures lies on top never depends on where they are in memory.
    const uint64_t serial;

private:
    static uint64_t made;
};

// The longest side of an image the drawing path accepts, and the most pixels
// (64 MB decoded), whatever a small file's header asks for.
constexpr uint32_t MaxTextureSide = 16384;
constexpr uint64_t MaxTexturePixels = uint64_t(4096) * 4096;

// Decodes a PNG file for the drawing back end `device`. Null for a file that
// is not a regular, whole PNG file, for an image whose header declares a side
// longer than MaxTextureSide or more than MaxTexturePixels, and for one the
// back end cannot hold.
Texture* CreateTexture(DrawingBackEnd* device, const char* path);

// The same on the game's back end, Game::Settings->device, which must exist.
Texture* CreateTexture(const char* path);
