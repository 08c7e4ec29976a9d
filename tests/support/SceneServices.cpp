#include "support/SceneServices.h"

#include "audio/SoundManager.h"
#include "audio/engine/AudioSystem.h"
#include "content/TextureManager.h"
#include "input/InputManager.h"
#include "objects/LcgRandom.h"
#include "shell/Game.h"
#include "shell/GameSettings.h"
#include "shell/GameTime.h"

#include <SDL.h>

#include <vector>

SceneServices::SceneServices() : workingDirectory(GAME_SOURCE_DIR)
{
    LcgRandom::Reset();
    game = new Game(AudioInitOffline);

    surface = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_RGBA8888);
    Game::Settings->device = SDL_CreateSoftwareRenderer(surface);
    Game::Input->LoadKeyMappings("Content/Config/KeyMappings.json");
    Game::Textures->LoadBank("Main");
    Game::Sounds->LoadBank("Main");
}

SceneServices::~SceneServices()
{
    Game::Sounds->UnloadBank("Main");
    Game::Textures->UnloadBank("Main");
    SDL_DestroyRenderer(Game::Settings->device);
    SDL_FreeSurface(surface);
    delete game;
}

void SceneServices::Frame()
{
    Game::Time->elapsedSeconds = 1.0f / 60.0f;
    Game::Time->totalSeconds += Game::Time->elapsedSeconds;
    Game::Input->CopyKeysToPrevious();
    Game::HandleInputPass(Game::Root);
    Game::UpdatePass(Game::Root);
}
