#include "shell/platform/WindowCompositor.h"

#include "shell/platform/WindowPixels.h"

WindowCompositor::WindowCompositor(SDL_Window* window, int surfaceWidth, int surfaceHeight)
    : SoftwareCompositor(SoftwareCompositor::BandsForThisMachine()),
      pixels(WindowPixels::For(window)), surfaceWidth(static_cast<float>(surfaceWidth)),
      surfaceHeight(static_cast<float>(surfaceHeight))
{
}

WindowCompositor::~WindowCompositor()
{
    delete pixels;
}

int WindowCompositor::DrawFrame(uint32_t clearArgb, const SpriteRect* rects, std::size_t count,
                                const TextureRun* runs, std::size_t runCount)
{
    // A frame that cannot be had is skipped; the next one tries again.
    uint32_t* target = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
    drawn = pixels->Lock(&target, &width, &height, &pitch);
    if (!drawn)
        return 0;
    SetTarget(target, width, height, pitch, width / surfaceWidth, height / surfaceHeight);
    SoftwareCompositor::DrawFrame(clearArgb, rects, count, runs, runCount);
    pixels->Unlock();
    return 0;
}

void WindowCompositor::Present()
{
    if (drawn)
        pixels->Show();
}
