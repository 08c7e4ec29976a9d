// Draws N sprites of one 64 x 64 texture through the sprite batch into the
// 800 x 600 back buffer, unpaced, on every renderer this machine offers, and
// prints the median milliseconds per frame.
#include "shell/SpriteBatch.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

namespace
{
struct Placed
{
    float x, y, size;
};

double MedianFrameMilliseconds(SDL_Renderer* renderer, SDL_Texture* backBuffer,
                               SDL_Texture* texture, SpriteBatch& batch,
                               const std::vector<Placed>& sprites, int frames)
{
    std::vector<double> times;
    for (int frame = 0; frame < frames; ++frame)
    {
        auto start = std::chrono::steady_clock::now();
        SDL_SetRenderTarget(renderer, backBuffer);
        SDL_SetRenderDrawColor(renderer, 20, 40, 160, 255);
        SDL_RenderClear(renderer);
        batch.Begin();
        for (const Placed& sprite : sprites)
        {
            float half = sprite.size * 0.5f;
            batch.Draw(texture, sprite.x - half, sprite.y - half, sprite.x + half, sprite.y + half);
        }
        batch.End();
        // Reading one pixel waits until the frame is really drawn.
        uint32_t pixel = 0;
        SDL_Rect one = {0, 0, 1, 1};
        SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
        SDL_SetRenderTarget(renderer, nullptr);
        SDL_RenderCopy(renderer, backBuffer, nullptr, nullptr);
        SDL_RenderPresent(renderer);
        if (frame > 0) // the first frame warms the buffers
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

SDL_Texture* MakeSpriteTexture(SDL_Renderer* renderer)
{
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 64, 64, 32, SDL_PIXELFORMAT_ARGB8888);
    auto* pixels = static_cast<uint32_t*>(surface->pixels);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
        {
            int dx = x - 32, dy = y - 32;
            bool inside = dx * dx + dy * dy < 30 * 30;
            pixels[y * surface->pitch / 4 + x] = inside ? 0xFFE0E0F0u : 0x00000000u;
        }
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, surface);
    SDL_FreeSurface(surface);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
    return texture;
}
} // namespace

int main()
{
    // Without a display the offscreen driver is asked for explicitly.
    if (!SDL_getenv("DISPLAY") && !SDL_getenv("SDL_VIDEODRIVER"))
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
    {
        std::fprintf(stderr, "SpriteBatchBench: %s\n", SDL_GetError());
        return 1;
    }
    std::printf("video driver %s\n", SDL_GetCurrentVideoDriver());

    const int counts[] = {1000, 10000, 50000, 100000};
    std::mt19937 random(7);
    std::uniform_real_distribution<float> x(0.0f, 800.0f), y(0.0f, 600.0f), size(16.0f, 48.0f);
    std::vector<Placed> all;
    for (int i = 0; i < counts[3]; ++i)
        all.push_back({x(random), y(random), size(random)});

    for (int driver = 0; driver < SDL_GetNumRenderDrivers(); ++driver)
    {
        SDL_Window* window =
            SDL_CreateWindow("Game", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 800, 600, 0);
        SDL_Renderer* renderer = SDL_CreateRenderer(window, driver, SDL_RENDERER_TARGETTEXTURE);
        if (!renderer)
        {
            SDL_DestroyWindow(window);
            continue;
        }
        SDL_RendererInfo info;
        SDL_GetRendererInfo(renderer, &info);
        SDL_Texture* backBuffer = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                                    SDL_TEXTUREACCESS_TARGET, 800, 600);
        SDL_Texture* texture = MakeSpriteTexture(renderer);
        SpriteBatch batch(renderer);
        for (int count : counts)
        {
            std::vector<Placed> sprites(all.begin(), all.begin() + count);
            int frames = count <= 10000 ? 31 : 11;
            double ms =
                MedianFrameMilliseconds(renderer, backBuffer, texture, batch, sprites, frames);
            std::printf("renderer %-10s sprites %6d  median %8.2f ms per frame\n", info.name, count,
                        ms);
            std::fflush(stdout);
        }
        SDL_DestroyTexture(texture);
        SDL_DestroyTexture(backBuffer);
        SDL_DestroyRenderer(renderer);
        SDL_DestroyWindow(window);
    }
    SDL_Quit();
    return 0;
}
