#include "support/SceneServices.h"

#include "audio/engine/AudioSystem.h"
#include "objects/LcgRandom.h"
#include "shell/GameTime.h"

SceneServices::SceneServices() : workingDirectory(GAME_SOURCE_DIR)
{
    LcgRandom::Reset();
    game = new Game(AudioInitOffline);
    game->headless = true;
    try
    {
        game->Prepare();
    }
    catch (...)
    {
        delete game;
        throw;
    }
}

SceneServices::~SceneServices()
{
    game->Unload();
    delete game;
}

void SceneServices::Frame()
{
    Game::Time->elapsedSeconds = 1.0f / 60.0f;
    Game::Time->totalSeconds += Game::Time->elapsedSeconds;
    Game::Step();
}
