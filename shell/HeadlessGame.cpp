#include "shell/HeadlessGame.h"

#include "audio/engine/AudioSystem.h"
#include "shell/GameSettings.h"
#include "shell/SoftwareCompositor.h"
#include "shell/SpriteBatch.h"

HeadlessGame::HeadlessGame()
    : game(AudioInitOffline), width(Game::Settings->screenWidth),
      height(Game::Settings->screenHeight), pixels(static_cast<std::size_t>(width) * height),
      compositor(new SoftwareCompositor(SoftwareCompositor::BandsForThisMachine()))
{
    compositor->SetTarget(pixels.data(), width, height, width * 4, 1.0f, 1.0f);
    Game::Settings->device = compositor;
    Game::Settings->spriteBatch = new SpriteBatch(compositor);
}

HeadlessGame::~HeadlessGame()
{
    delete Game::Settings->spriteBatch;
    Game::Settings->spriteBatch = nullptr;
    Game::Settings->device = nullptr;
    delete compositor;
}
