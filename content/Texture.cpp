#include "content/Texture.h"

#include "shell/Game.h"
#include "shell/GameSettings.h"

#include <SDL.h>
#include <SDL_image.h>

Texture::~Texture()
{
    if (deviceTexture)
        SDL_DestroyTexture(deviceTexture);
}

Texture* CreateTexture(const char* path)
{
    SDL_Renderer* renderer = Game::Settings ? Game::Settings->device : nullptr;
    if (!renderer)
        return nullptr;
    SDL_Texture* deviceTexture = IMG_LoadTexture(renderer, path);
    if (!deviceTexture)
        return nullptr;
    int width = 0;
    int height = 0;
    SDL_QueryTexture(deviceTexture, nullptr, nullptr, &width, &height);
    SDL_SetTextureBlendMode(deviceTexture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(deviceTexture, SDL_ScaleModeLinear);

    Texture* texture = new Texture();
    texture->deviceTexture = deviceTexture;
    texture->width = static_cast<float>(width);
    texture->height = static_cast<float>(height);
    return texture;
}
