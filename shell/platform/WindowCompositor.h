#pragma once

#include "shell/SoftwareCompositor.h"

struct SDL_Renderer;
struct SDL_Surface;
struct SDL_Texture;
struct SDL_Window;

// The software compositor drawing a window's frames, its drawing surface
// scaled onto the client area. Where the video driver gives the window
// pixels of its own, the compositor draws straight into them and presents
// them without a GPU round trip (a window whose pixels are not 32-bit xRGB
// gets the frame through a staging surface of its size). Where it has none
// (Wayland), the frame is drawn into a streaming texture of one of SDL's
// GPU renderers and presented by it. Throws when the window can be shown
// neither way.
class WindowCompositor : public SoftwareCompositor
{
public:
    WindowCompositor(SDL_Window* window, int surfaceWidth, int surfaceHeight);
    ~WindowCompositor() override;

    int DrawFrame(uint32_t clearArgb, const SpriteRect* rects, std::size_t count,
                  const TextureRun* runs, std::size_t runCount) override;
    void Present() override;

private:
    // The window's pixels: the surface itself, or the staging surface.
    SDL_Surface* WindowPixels();
    // The streaming texture at the renderer's output size, locked; null on failure.
    bool LockStreamingTexture(uint32_t** pixels, int* width, int* height, int* pitch);

    SDL_Window* window; // not owned
    const float surfaceWidth;
    const float surfaceHeight;
    SDL_Surface* staging = nullptr;
    SDL_Renderer* renderer = nullptr; // owned; only where the window has no pixels
    SDL_Texture* streaming = nullptr; // owned by the renderer
    int streamingWidth = 0;
    int streamingHeight = 0;
    bool drawn = false;      // the last frame was drawn
    bool viaStaging = false; // ... into the staging surface
};
