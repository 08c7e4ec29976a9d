#include "content/ImageDecoder.h"

#include <SDL.h>
#include <SDL_image.h>

#include <climits>
#include <cstring>

bool DecodePng(const std::string& bytes, DecodedImage* image)
{
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        return false;
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    SDL_Surface* decoded = stream ? IMG_LoadTyped_RW(stream, 1, "PNG") : nullptr;
    if (!decoded)
        return false;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(decoded);
    if (!argb)
        return false;
    image->width = argb->w;
    image->height = argb->h;
    image->pixels.resize(static_cast<std::size_t>(argb->w) * argb->h);
    for (int y = 0; y < argb->h; ++y)
        std::memcpy(&image->pixels[static_cast<std::size_t>(y) * argb->w],
                    static_cast<const uint8_t*>(argb->pixels) +
                        static_cast<std::size_t>(y) * argb->pitch,
                    static_cast<std::size_t>(argb->w) * 4);
    SDL_FreeSurface(argb);
    return true;
}
