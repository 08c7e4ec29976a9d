#pragma once

#include "shell/GameWindow.h"

#include <cstdint>
#include <vector>

class SoftwareCompositor;

// A window with no display, for tests and tools: its back end is the
// software compositor, drawing each frame into `pixels`; it has no
// messages, so only the run's own end stops it.
class HeadlessWindow : public GameWindow
{
public:
    HeadlessWindow(int width, int height);
    HeadlessWindow(const HeadlessWindow&) = delete;
    HeadlessWindow& operator=(const HeadlessWindow&) = delete;
    ~HeadlessWindow() override;

    bool HandleMessages() override { return false; }
    DrawingBackEnd* Device() override;

    // The colour (0xRRGGBB) of a pixel of the last frame drawn.
    uint32_t Pixel(int x, int y) const { return pixels[std::size_t(y) * width + x] & 0xffffff; }

    const int width;
    const int height;
    std::vector<uint32_t> pixels; // xRGB rows of `width`

private:
    SoftwareCompositor* compositor; // owned
};
