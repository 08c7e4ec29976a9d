#pragma once

#include "shell/SoftwareCompositor.h"

struct SDL_Surface;
struct SDL_Window;

// The software compositor drawing straight into an SDL window's pixels, its
// drawing surface scaled onto the client area, and presenting them without a
// GPU round trip. A window whose pixels are not 32-bit xRGB gets the frame
// through a staging surface of its size.
class WindowCompositor : public SoftwareCompositor
{
public:
    WindowCompositor(SDL_Window* window, int surfaceWidth, int surfaceHeight);
    ~WindowCompositor() override;

    int DrawFrame(uint32_t clearArgb, const SpriteRect* rects, std::size_t count,
                  const TextureRun* runs, std::size_t runCount) override;
    void Present() override;

private:
    SDL_Window* window; // not owned
    const float surfaceWidth;
    const float surfaceHeight;
    SDL_Surface* staging = nullptr;
    bool drawn = false;      // the last frame was drawn
    bool viaStaging = false; // ... into the staging surface
};
