#pragma once

#include "shell/Game.h"
#include "shell/HeadlessWindow.h"

#include <cstdint>
#include <vector>

// The game's services for tests and tools, without a display or a sound
// card: the Game with its audio engine mixing offline
// (Game::Sounds->system->RenderOffline) and its window, device and sprite
// batch made at once, the window one with no display (HeadlessWindow), whose
// frames Game::Render draws into `pixels`.
class HeadlessGame
{
public:
    HeadlessGame();
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;
    ~HeadlessGame();

    // The colour (0xRRGGBB) of a pixel of the last frame drawn.
    uint32_t Pixel(int x, int y) const { return window->Pixel(x, y); }

    Game game;

private:
    HeadlessWindow* window; // Game::Settings->window

public:
    const int width;
    const int height;
    std::vector<uint32_t>& pixels; // xRGB rows of `width`
};
