#include "shell/HeadlessGame.h"

#include "audio/engine/AudioSystem.h"
#include "shell/GameSettings.h"

namespace
{
HeadlessWindow* OpenHeadless(Game& game)
{
    game.headless = true;
    game.CreateWindowAndDevice();
    return static_cast<HeadlessWindow*>(Game::Settings->window);
}
} // namespace

HeadlessGame::HeadlessGame()
    : game(AudioInitOffline), window(OpenHeadless(game)), width(window->width),
      height(window->height), pixels(window->pixels)
{
}

HeadlessGame::~HeadlessGame()
{
    game.ReleaseWindowAndDevice();
}
