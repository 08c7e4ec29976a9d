#pragma once

#include "shell/Game.h"

// The game's services for tests and tools, without a display or a sound
// card: the Game with its audio engine mixing offline
// (Game::Sounds->system->RenderOffline) and its window, device and sprite
// batch made at once, the window one with no display (HeadlessWindow).
class HeadlessGame
{
public:
    HeadlessGame();
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;
    ~HeadlessGame();

    Game game;
};
