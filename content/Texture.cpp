#include "content/Texture.h"

#include "content/ContentFile.h"
#include "shell/Game.h"
#include "shell/GameSettings.h"
#include "shell/SoftwareCompositor.h"
#include "shell/SoftwareImage.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace
{
const std::size_t MaxImageFileBytes = 256u * 1024 * 1024;

uint32_t BigEndian32(const unsigned char* bytes)
{
    return (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) |
           uint32_t(bytes[3]);
}

// The size a PNG's header declares; false when the bytes do not start as a PNG.
bool ReadPngSize(const std::string& bytes, uint32_t* width, uint32_t* height)
{
    // The signature, then the IHDR chunk, which a PNG must have first.
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (bytes.size() < 24 || std::memcmp(bytes.data(), signature, 8) != 0 ||
        std::memcmp(bytes.data() + 12, "IHDR", 4) != 0)
        return false;
    const unsigned char* ihdr = reinterpret_cast<const unsigned char*>(bytes.data()) + 16;
    *width = BigEndian32(ihdr);
    *height = BigEndian32(ihdr + 4);
    return true;
}
} // namespace

Texture::~Texture()
{
    if (deviceTexture)
        SDL_DestroyTexture(deviceTexture);
    delete image;
}

Texture* CreateTexture(const char* path)
{
    SDL_Renderer* renderer = Game::Settings ? Game::Settings->device : nullptr;
    SoftwareCompositor* compositor = Game::Settings ? Game::Settings->compositor : nullptr;
    if (!renderer && !compositor)
        return nullptr;

    // The size the header declares is checked before anything is decoded, so
    // a hostile header cannot ask for gigabytes.
    std::string bytes;
    std::string reason;
    uint32_t declaredWidth = 0;
    uint32_t declaredHeight = 0;
    if (!ReadRegularFile(path, MaxImageFileBytes, &bytes, &reason) ||
        !ReadPngSize(bytes, &declaredWidth, &declaredHeight))
        return nullptr;
    SDL_RendererInfo info;
    uint32_t maxWidth = MaxTextureSide;
    uint32_t maxHeight = MaxTextureSide;
    if (renderer && SDL_GetRendererInfo(renderer, &info) == 0)
    {
        if (info.max_texture_width > 0)
            maxWidth = std::min(maxWidth, uint32_t(info.max_texture_width));
        if (info.max_texture_height > 0)
            maxHeight = std::min(maxHeight, uint32_t(info.max_texture_height));
    }
    if (declaredWidth == 0 || declaredHeight == 0 || declaredWidth > maxWidth ||
        declaredHeight > maxHeight)
        return nullptr;

    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    SDL_Surface* surface = stream ? IMG_LoadTyped_RW(stream, 1, "PNG") : nullptr;
    if (!surface)
        return nullptr;

    Texture* texture = new Texture();
    if (compositor)
    {
        texture->image = new SoftwareImage(surface, compositor->BandCount());
        if (texture->image->pixels.empty())
        {
            delete texture;
            texture = nullptr;
        }
    }
    else
    {
        texture->deviceTexture = SDL_CreateTextureFromSurface(renderer, surface);
        if (texture->deviceTexture)
        {
            SDL_SetTextureBlendMode(texture->deviceTexture, SDL_BLENDMODE_BLEND);
            SDL_SetTextureScaleMode(texture->deviceTexture, SDL_ScaleModeLinear);
        }
        else
        {
            delete texture;
            texture = nullptr;
        }
    }
    if (texture)
    {
        texture->width = static_cast<float>(surface->w);
        texture->height = static_cast<float>(surface->h);
    }
    SDL_FreeSurface(surface);
    return texture;
}
