#include "shell/platform/WindowPixels.h"

#include <SDL.h>

#include <stdexcept>
#include <string>

namespace
{
// The window's own pixels, shown without a GPU round trip; a window whose
// pixels are not 32-bit xRGB gets the frame through a staging surface of
// its size.
class SurfacePixels : public WindowPixels
{
public:
    explicit SurfacePixels(SDL_Window* window) : window(window) {}
    ~SurfacePixels() override
    {
        if (staging)
            SDL_FreeSurface(staging);
    }

    bool Lock(uint32_t** pixels, int* width, int* height, int* pitch) override
    {
        SDL_Surface* surface = SDL_GetWindowSurface(window);
        if (!surface)
            return false;
        viaStaging = surface->format->format != SDL_PIXELFORMAT_RGB888 &&
                     surface->format->format != SDL_PIXELFORMAT_ARGB8888;
        if (viaStaging)
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
                return false;
            surface = staging;
        }
        *pixels = static_cast<uint32_t*>(surface->pixels);
        *width = surface->w;
        *height = surface->h;
        *pitch = surface->pitch;
        return true;
    }

    void Show() override
    {
        if (viaStaging)
            SDL_BlitSurface(staging, nullptr, SDL_GetWindowSurface(window), nullptr);
        SDL_UpdateWindowSurface(window);
    }

private:
    SDL_Window* window; // not owned
    SDL_Surface* staging = nullptr;
    bool viaStaging = false;
};

// A streaming texture of one of SDL's GPU renderers (never its software
// one, which needs the window's pixels), at the renderer's output size.
class TexturePixels : public WindowPixels
{
public:
    explicit TexturePixels(SDL_Renderer* renderer) : renderer(renderer) {}
    ~TexturePixels() override { SDL_DestroyRenderer(renderer); }

    bool Lock(uint32_t** pixels, int* width, int* height, int* pitch) override
    {
        int outputWidth = 0;
        int outputHeight = 0;
        if (SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight) != 0 ||
            outputWidth <= 0 || outputHeight <= 0)
            return false;
        if (streaming && (streamingWidth != outputWidth || streamingHeight != outputHeight))
        {
            SDL_DestroyTexture(streaming);
            streaming = nullptr;
        }
        if (!streaming)
        {
            streaming = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888,
                                          SDL_TEXTUREACCESS_STREAMING, outputWidth, outputHeight);
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

    void Unlock() override { SDL_UnlockTexture(streaming); }

    void Show() override
    {
        SDL_RenderCopy(renderer, streaming, nullptr, nullptr);
        SDL_RenderPresent(renderer);
    }

private:
    SDL_Renderer* renderer;           // owned
    SDL_Texture* streaming = nullptr; // owned by the renderer
    int streamingWidth = 0;
    int streamingHeight = 0;
};
} // namespace

WindowPixels* WindowPixels::For(SDL_Window* window)
{
    // The window's own pixels, never a GPU texture behind SDL's back: the
    // compositor is chosen where a GPU is missing or slow.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_ClearError();
    if (SDL_GetWindowSurface(window))
        return new SurfacePixels(window);
    const std::string noSurface = SDL_GetError();
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer)
    {
        const char* driver = SDL_GetCurrentVideoDriver();
        throw std::runtime_error(
            "cannot show the frame: the video driver '" + std::string(driver ? driver : "") +
            "' gives the window no pixels" + (noSurface.empty() ? "" : " (" + noSurface + ")") +
            " and no renderer (" + SDL_GetError() + ")");
    }
    return new TexturePixels(renderer);
}
