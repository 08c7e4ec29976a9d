#pragma once

struct SDL_Texture;

// An image held by the renderer, with the size it stores, in pixels.
class Texture
{
public:
    Texture() = default;
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;
    virtual ~Texture();

    SDL_Texture* deviceTexture = nullptr; // owned
    float width = 0.0f;
    float height = 0.0f;
};

// Decodes an image file onto the renderer of Game::Settings; null on failure.
Texture* CreateTexture(const char* path);
