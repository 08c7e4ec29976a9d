#include "shell/HeadlessGame.h"

#include "audio/engine/AudioSystem.h"

HeadlessGame::HeadlessGame() : game(AudioInitOffline)
{
    game.headless = true;
    game.CreateWindowAndDevice();
}

HeadlessGame::~HeadlessGame()
{
    game.ReleaseWindowAndDevice();
}
