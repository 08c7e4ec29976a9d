#include "shell/SoftwareImage.h"

#include <SDL.h>
#include <pixman.h>

#include <algorithm>

SoftwareImage::SoftwareImage(SDL_Surface* surface, int bandCount)
{
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
    if (!argb)
        return;
    width = argb->w;
    height = argb->h;
    pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
    {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(argb->pixels) + y * argb->pitch);
        uint32_t* out = &pixels[static_cast<std::size_t>(y) * width];
        for (int x = 0; x < width; ++x)
        {
            // Premultiplied, rounded: blending OVER is then one multiply-add.
            uint32_t c = row[x];
            uint32_t a = c >> 24;
            auto scale = [a](uint32_t channel) { return (channel * a + 127) / 255; };
            out[x] = (a << 24) | (scale((c >> 16) & 0xff) << 16) | (scale((c >> 8) & 0xff) << 8) |
                     scale(c & 0xff);
        }
    }
    SDL_FreeSurface(argb);

    visibleLeft = width;
    visibleTop = height;
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            if ((pixels[static_cast<std::size_t>(y) * width + x] >> 24) == 0)
                continue;
            visibleLeft = std::min(visibleLeft, x);
            visibleRight = std::max(visibleRight, x + 1);
            visibleTop = std::min(visibleTop, y);
            visibleBottom = std::max(visibleBottom, y + 1);
        }
    }

    for (int band = 0; band < bandCount; ++band)
    {
        pixman_image_t* view =
            pixman_image_create_bits(PIXMAN_a8r8g8b8, width, height, pixels.data(), width * 4);
        // Bilinear samples; the edges clamp, as the renderer's textures do.
        pixman_image_set_filter(view, PIXMAN_FILTER_BILINEAR, nullptr, 0);
        pixman_image_set_repeat(view, PIXMAN_REPEAT_PAD);
        views.push_back(view);
    }
}

SoftwareImage::~SoftwareImage()
{
    for (pixman_image_t* view : views)
        pixman_image_unref(view);
}
