#include "shell/platform/WindowCompositor.h"

#include <SDL.h>

WindowCompositor::WindowCompositor(SDL_Window* window, int surfaceWidth, int surfaceHeight)
    : SoftwareCompositor(SoftwareCompositor::BandsForThisMachine()), window(window),
      surfaceWidth(static_cast<float>(surfaceWidth)),
      surfaceHeight(static_cast<float>(surfaceHeight))
{
}

WindowCompositor::~WindowCompositor()
{
    if (staging)
        SDL_FreeSurface(staging);
}

int WindowCompositor::DrawFrame(uint32_t clearArgb, const SpriteRect* rects, std::size_t count,
                                const TextureRun* runs, std::size_t runCount)
{
    drawn = false;
    viaStaging = false;
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (!surface)
        return 0;
    const bool direct = surface->format->format == SDL_PIXELFORMAT_RGB888 ||
                        surface->format->format == SDL_PIXELFORMAT_ARGB8888;
    if (!direct)
    {
        if (staging && (staging->w != surface->w || staging->h != surface->h))
        {
            SDL_FreeSurface(staging);
            staging = nullptr;
        }
        if (!staging)
            staging = SDL_CreateRGBSurfaceWithFormat(0, surface->w, surface->h, 32,
                                                     SDL_PIXELFORMAT_RGB888);
        if (!staging)
            return 0;
        surface = staging;
        viaStaging = true;
    }
    SetTarget(static_cast<uint32_t*>(surface->pixels), surface->w, surface->h, surface->pitch,
              surface->w / surfaceWidth, surface->h / surfaceHeight);
    SoftwareCompositor::DrawFrame(clearArgb, rects, count, runs, runCount);
    drawn = true;
    return 0;
}

void WindowCompositor::Present()
{
    if (!drawn)
        return;
    if (viaStaging)
        SDL_BlitSurface(staging, nullptr, SDL_GetWindowSurface(window), nullptr);
    SDL_UpdateWindowSurface(window);
}
