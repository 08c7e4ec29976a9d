#pragma once

#include "shell/Game.h"

#include <cstdint>
#include <vector>

class SoftwareCompositor;

// The game's services for tests and tools, without a window or a sound card:
// the Game's own construction with the audio engine mixing offline
// (Game::Sounds->system->RenderOffline), and a compositor as the drawing
// back end, drawing Game::Render's frames into `pixels`. Deleted in the
// game's tear-down order, the drawing objects first.
class HeadlessGame
{
public:
    HeadlessGame();
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;
    ~HeadlessGame();

    // The colour (0xRRGGBB) of a pixel of the last frame drawn.
    uint32_t Pixel(int x, int y) const { return pixels[std::size_t(y) * width + x] & 0xffffff; }

    Game game;
    const int width;
    const int height;
    std::vector<uint32_t> pixels; // xRGB rows of `width`

private:
    SoftwareCompositor* compositor;
};
