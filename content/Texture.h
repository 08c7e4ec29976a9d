#pragma once

#include <cstdint>

class SoftwareImage;
struct SDL_Texture;

// An image prepared for the drawing back end, with the size it stores, in
// pixels: a renderer texture, or the software compositor's image.
class Texture
{
public:
    Texture() = default;
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;
    virtual ~Texture();

    SDL_Texture* deviceTexture = nullptr; // owned; on the renderer
    SoftwareImage* image = nullptr;       // owned; for the software compositor
    float width = 0.0f;
    float height = 0.0f;
};

// The longest side of an image the drawing path accepts, in pixels.
constexpr uint32_t MaxTextureSide = 16384;

// Decodes a PNG file for the back end of Game::Settings (its compositor, or
// else its renderer); null on failure, without a back end,
// for a file that is not a regular PNG file, and for an image whose header
// declares a side longer than MaxTextureSide or than the renderer can hold.
Texture* CreateTexture(const char* path);
