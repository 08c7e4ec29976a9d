#include "support/SceneServices.h"

#include "audio/SoundManager.h"
#include "content/TextureManager.h"
#include "input/InputManager.h"
#include "objects/LcgRandom.h"
#include "shell/GameTime.h"

SceneServices::SceneServices() : workingDirectory(GAME_SOURCE_DIR)
{
    LcgRandom::Reset();
    headless = new HeadlessGame();
    Game::Input->LoadKeyMappings("Content/Config/KeyMappings.json");
    Game::Textures->LoadBank("Main");
    Game::Sounds->LoadBank("Main");
}

SceneServices::~SceneServices()
{
    Game::Sounds->UnloadBank("Main");
    Game::Textures->UnloadBank("Main");
    delete headless;
}

void SceneServices::Frame()
{
    Game::Time->elapsedSeconds = 1.0f / 60.0f;
    Game::Time->totalSeconds += Game::Time->elapsedSeconds;
    Game::Step();
}
