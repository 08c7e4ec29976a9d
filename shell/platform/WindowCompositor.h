#pragma once

#include "shell/SoftwareCompositor.h"

struct SDL_Window;
class WindowPixels;

// The software compositor drawing a window's frames, its drawing surface
// scaled onto the client area, into the window's pixels as the window's
// driver allows them (WindowPixels, chosen once). Throws when the window can
// be shown no way.
class WindowCompositor : public SoftwareCompositor
{
public:
    WindowCompositor(SDL_Window* window, int surfaceWidth, int surfaceHeight);
    ~WindowCompositor() override;

    int DrawFrame(uint32_t clearArgb, const SpriteRect* rects, std::size_t count,
                  const TextureRun* runs, std::size_t runCount) override;
    void Present() override;

private:
    WindowPixels* const pixels; // owned
    const float surfaceWidth;
    const float surfaceHeight;
    bool drawn = false; // the last frame was drawn
};
