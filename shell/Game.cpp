#include "shell/Game.h"

#include "audio/MusicManager.h"
#include "audio/SoundManager.h"
#include "audio/engine/AudioSystem.h"
#include "content/ContentFolder.h"
#include "content/TextureManager.h"
#include "input/ActionNames.h"
#include "input/InputManager.h"
#include "objects/Behavior.h"
#include "objects/GameObject.h"
#include "objects/RandomManager.h"
#include "objects/TestScreen.h"
#include "shell/DrawingBackEnd.h"
#include "shell/FramePacer.h"
#include "shell/GameSettings.h"
#include "shell/GameTime.h"
#include "shell/HighResolutionClock.h"
#include "shell/SpriteBatch.h"

#include <cstddef>
#include <ctime>

GameObject* Game::Root = nullptr;
RandomManager* Game::Random = nullptr;
GameSettings* Game::Settings = nullptr;
TextureManager* Game::Textures = nullptr;
GameTime* Game::Time = nullptr;
const char** Game::ActionNames = nullptr;
InputManager* Game::Input = nullptr;
SoundManager* Game::Sounds = nullptr;
MusicManager* Game::Music = nullptr;

namespace
{
// The input pass's behaviour loop: its length is taken once, so behaviours
// appended to this object now wait for the next frame.
inline void HandleInputOfBehaviors(GameObject* object)
{
    std::size_t behaviorCount = object->behaviors.size();
    for (std::size_t i = 0; i < behaviorCount; ++i)
        object->behaviors[i]->HandleInput();
}

// The input pass's child loop, its length taken once the object's behaviours
// have run, so that children they added or removed are seen. Each child is
// visited here: most are leaves, whose empty child loop then costs no call.
void HandleInputOfChildren(GameObject* object)
{
    std::size_t childCount = object->children.size();
    for (std::size_t i = 0; i < childCount; ++i)
    {
        GameObject* child = object->children[i];
        HandleInputOfBehaviors(child);
        if (!child->children.empty())
            HandleInputOfChildren(child);
    }
}

// The update pass's loops read their lengths afresh, so whatever is appended
// during the pass is started and updated in the same pass.
inline void UpdateBehaviors(GameObject* object)
{
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
}

void UpdateChildren(GameObject* object)
{
    for (std::size_t i = 0; i < object->children.size(); ++i)
    {
        GameObject* child = object->children[i];
        UpdateBehaviors(child);
        if (!child->children.empty())
            UpdateChildren(child);
    }
}
} // namespace

void Game::HandleInputPass(GameObject* object)
{
    HandleInputOfBehaviors(object);
    HandleInputOfChildren(object);
}

void Game::UpdatePass(GameObject* object)
{
    UpdateBehaviors(object);
    UpdateChildren(object);
}

namespace
{
// Deletes the services in the tear-down order: music before the sound engine
// it plays on, the object tree last. Services not created yet are skipped.
// Every pointer is emptied, so nothing reaches a deleted service through it.
void DeleteServices()
{
    delete Game::Music;
    Game::Music = nullptr;
    delete Game::Sounds;
    Game::Sounds = nullptr;
    delete Game::Input;
    Game::Input = nullptr;
    delete[] Game::ActionNames;
    Game::ActionNames = nullptr;
    delete Game::Time;
    Game::Time = nullptr;
    delete Game::Textures;
    Game::Textures = nullptr;
    delete Game::Settings;
    Game::Settings = nullptr;
    delete Game::Random;
    Game::Random = nullptr;
    delete Game::Root;
    Game::Root = nullptr;
}

} // namespace

Game::Game(uint32_t audioInitFlags)
{
    // A failed construction deletes what it made, so every pointer starts out
    // empty rather than left over from an earlier game.
    Root = nullptr;
    Random = nullptr;
    Settings = nullptr;
    Textures = nullptr;
    Time = nullptr;
    ActionNames = nullptr;
    Input = nullptr;
    Sounds = nullptr;
    Music = nullptr;
    try
    {
        Root = new GameObject();
        Random = new RandomManager();
        // The calendar second seeds the generator: runs started within the
        // same second draw the same numbers.
        Random->Seed(static_cast<uint32_t>(static_cast<uint64_t>(std::time(nullptr))));
        Settings = new GameSettings();
        Textures = new TextureManager();
        Time = new GameTime();
        ActionNames = CreateActionNames();
        Input = new InputManager();
        Sounds = new SoundManager(audioInitFlags);
        Music = new MusicManager();
    }
    catch (...)
    {
        DeleteServices();
        throw;
    }
}

Game::~Game()
{
    DeleteServices();
}

bool Game::Step()
{
    Input->CopyKeysToPrevious();
    Sounds->system->Update();
    // Every pending message is taken; a quit among them ends the run once
    // they are all handled.
    if (Settings->window && Settings->window->HandleMessages())
        return false;
    HandleInputPass(Root);
    UpdatePass(Root);
    return true;
}

void Game::CreateWindowAndDevice()
{
    Settings->window = GameWindow::Open(Settings->screenWidth, Settings->screenHeight, drawingPath,
                                        waitForRetrace);
    Settings->device = Settings->window->Device();
    Settings->spriteBatch = new SpriteBatch(Settings->device);
}

void Game::ReleaseWindowAndDevice()
{
    delete Settings->spriteBatch;
    Settings->spriteBatch = nullptr;
    Settings->device = nullptr;
    delete Settings->window;
    Settings->window = nullptr;
}

void Game::Render()
{
    // The window has no alpha: the clear is opaque.
    const Rgba8& clear = Settings->clearColor;
    const uint32_t clearArgb =
        0xff000000u | (uint32_t(clear.red) << 16) | (uint32_t(clear.green) << 8) | clear.blue;
    Settings->spriteBatch->Begin();
    Settings->DrawObject(Root);
    Settings->spriteBatch->End(clearArgb);
    Settings->device->Present();
}

void Game::Run()
{
    Input->LoadKeyMappings(ContentFolders::KeyMappingsFile);

    Settings->screenWidth = 800;
    Settings->screenHeight = 600;
    Settings->updatesPerSecond = 60;
    Settings->clearColor = Rgba8{};

    try
    {
        CreateWindowAndDevice();
        Textures->LoadBank("Main");
        Sounds->LoadBank("Main");
        Root->AddChild(new TestScreen());

        FramePacer pacer;
        pacer.Start(HighResolutionClock::Frequency(), Settings->updatesPerSecond,
                    HighResolutionClock::Now());
        for (;;)
        {
            pacer.WaitAndBeginFrame(Settings->updatesPerSecond, Settings->maxCatchUpSteps, Time);
            if (!Step())
                break;
            Render();
        }
    }
    catch (...)
    {
        Sounds->UnloadBank("Main");
        Textures->UnloadBank("Main");
        ReleaseWindowAndDevice();
        throw;
    }

    Sounds->UnloadBank("Main");
    Textures->UnloadBank("Main");
    ReleaseWindowAndDevice();
}
