#include "shell/Game.h"

#include "objects/Behavior.h"
#include "objects/GameObject.h"

#include <cstddef>

GameObject* Game::Root = nullptr;
RandomManager* Game::Random = nullptr;
GameSettings* Game::Settings = nullptr;
TextureManager* Game::Textures = nullptr;
GameTime* Game::Time = nullptr;
const char** Game::ActionNames = nullptr;
InputManager* Game::Input = nullptr;
SoundManager* Game::Sounds = nullptr;
MusicManager* Game::Music = nullptr;

void Game::HandleInputPass(GameObject* object)
{
    // Each list's length is taken once: behaviours appended to this object now
    // wait for the next frame, while children they add or remove are seen below.
    std::size_t behaviorCount = object->behaviors.size();
    for (std::size_t i = 0; i < behaviorCount; ++i)
        object->behaviors[i]->HandleInput();
    std::size_t childCount = object->children.size();
    for (std::size_t i = 0; i < childCount; ++i)
        HandleInputPass(object->children[i]);
}

void Game::UpdatePass(GameObject* object)
{
    // Lengths are read afresh, so whatever is appended during the pass is
    // started and updated in the same pass.
    for (std::size_t i = 0; i < object->behaviors.size(); ++i)
    {
        Behavior* behavior = object->behaviors[i];
        if (!behavior->started)
        {
            behavior->started = true;
            behavior->Start();
        }
        behavior->Update();
    }
    for (std::size_t i = 0; i < object->children.size(); ++i)
        UpdatePass(object->children[i]);
}
