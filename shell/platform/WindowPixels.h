#pragma once

#include <cstdint>

struct SDL_Window;

// Where a window's frames are drawn on the CPU and how they are shown,
// chosen once for the window: its own pixels where the video driver keeps
// some (X11), else a streaming texture of one of SDL's GPU renderers
// (Wayland).
class WindowPixels
{
public:
    // The way the window's driver allows; throws when it allows neither.
    static WindowPixels* For(SDL_Window* window);
    virtual ~WindowPixels() = default;

    // 32-bit xRGB pixels for the next frame, at the window's size in pixels;
    // false when none can be had (the frame is then skipped).
    virtual bool Lock(uint32_t** pixels, int* width, int* height, int* pitch) = 0;
    // The frame drawn since Lock is complete.
    virtual void Unlock() {}
    // Shows the frame unlocked last.
    virtual void Show() = 0;
};
