#include "shell/platform/WindowCompositor.h"

#include <SDL.h>

#include <stdexcept>
#include <string>

WindowCompositor::WindowCompositor(SDL_Window* window, int surfaceWidth, int surfaceHeight)
    : SoftwareCompositor(SoftwareCompositor::BandsForThisMachine()), window(window),
      surfaceWidth(static_cast<float>(surfaceWidth)),
      surfaceHeight(static_cast<float>(surfaceHeight))
{
    // The window's own pixels, never a GPU texture behind SDL's back: the
    // compositor is chosen where a GPU is missing or slow.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_ClearError();
    if (SDL_GetWindowSurface(window))
        return;
    // The driver keeps no pixels for its windows: one of SDL's GPU renderers
    // shows them (never its software one, which needs those pixels).
    const std::string noSurface = SDL_GetError();
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer)
    {
        const char* driver = SDL_GetCurrentVideoDriver();
        throw std::runtime_error(
            "cannot show the frame: the video driver '" + std::string(driver ? driver : "") +
            "' gives the window no pixels" + (noSurface.empty() ? "" : " (" + noSurface + ")") +
            " and no renderer (" + SDL_GetError() + ")");
    }
}

WindowCompositor::~WindowCompositor()
{
    if (staging)
        SDL_FreeSurface(staging);
    if (renderer)
        SDL_DestroyRenderer(renderer);
}

SDL_Surface* WindowCompositor::WindowPixels()
{
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (!surface)
        return nullptr;
    viaStaging = surface->format->format != SDL_PIXELFORMAT_RGB888 &&
                 surface->format->format != SDL_PIXELFORMAT_ARGB8888;
    if (!viaStaging)
        return surface;
    if (staging && (staging->w != surface->w || staging->h != surface->h))
    {
        SDL_FreeSurface(staging);
        staging = nullptr;
    }
    if (!staging)
        staging =
            SDL_CreateRGBSurfaceWithFormat(0, surface->w, surface->h, 32, SDL_PIXELFORMAT_RGB888);
    return staging;
}

bool WindowCompositor::LockStreamingTexture(uint32_t** pixels, int* width, int* height, int* pitch)
{
    int outputWidth = 0;
    int outputHeight = 0;
    if (SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight) != 0 || outputWidth <= 0 ||
        outputHeight <= 0)
        return false;
    if (streaming && (streamingWidth != outputWidth || streamingHeight != outputHeight))
    {
        SDL_DestroyTexture(streaming);
        streaming = nullptr;
    }
    if (!streaming)
    {
        streaming = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                      outputWidth, outputHeight);
        if (!streaming)
            return false;
        streamingWidth = outputWidth;
        streamingHeight = outputHeight;
    }
    void* locked = nullptr;
    if (SDL_LockTexture(streaming, nullptr, &locked, pitch) != 0)
        return false;
    *pixels = static_cast<uint32_t*>(locked);
    *width = outputWidth;
    *height = outputHeight;
    return true;
}

int WindowCompositor::DrawFrame(uint32_t clearArgb, const SpriteRect* rects, std::size_t count,
                                const TextureRun* runs, std::size_t runCount)
{
    // A frame that cannot be had is skipped; the next one tries again.
    drawn = false;
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
    if (renderer)
    {
        if (!LockStreamingTexture(&pixels, &width, &height, &pitch))
            return 0;
    }
    else
    {
        SDL_Surface* surface = WindowPixels();
        if (!surface)
            return 0;
        pixels = static_cast<uint32_t*>(surface->pixels);
        width = surface->w;
        height = surface->h;
        pitch = surface->pitch;
    }
    SetTarget(pixels, width, height, pitch, width / surfaceWidth, height / surfaceHeight);
    SoftwareCompositor::DrawFrame(clearArgb, rects, count, runs, runCount);
    if (renderer)
        SDL_UnlockTexture(streaming);
    drawn = true;
    return 0;
}

void WindowCompositor::Present()
{
    if (!drawn)
        return;
    if (renderer)
    {
        SDL_RenderCopy(renderer, streaming, nullptr, nullptr);
        SDL_RenderPresent(renderer);
        return;
    }
    if (viaStaging)
        SDL_BlitSurface(staging, nullptr, SDL_GetWindowSurface(window), nullptr);
    SDL_UpdateWindowSurface(window);
}
