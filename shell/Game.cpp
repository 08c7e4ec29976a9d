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
#include "shell/HeadlessWindow.h"
#include "shell/HighResolutionClock.h"
#include "shell/SpriteBatch.h"

#include <cassert>
#include <cstddef>
#include <ctime>
#include <iterator>

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
        assert(object->children[i] == child && "a pass deletes nothing it is visiting");
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
        assert(i < object->children.size() && object->children[i] == child &&
               "a pass deletes nothing it is visiting");
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
template <typename T> void Delete(T*& service)
{
    delete service;
    service = nullptr;
}

// The services, each made and deleted by one entry, in creation order; the
// tear-down runs the list backwards (music before the sound engine it plays
// on, the object tree last). Deleting a service not made yet does nothing,
// and every pointer is emptied, so nothing reaches a deleted service.
struct Service
{
    void (*create)(uint32_t audioInitFlags);
    void (*destroy)();
};
const Service Services[] = {
    {[](uint32_t) { Game::Root = new GameObject(); }, [] { Delete(Game::Root); }},
    {[](uint32_t)
     {
         Game::Random = new RandomManager();
         // The calendar second seeds the generator: runs started within the
         // same second draw the same numbers.
         Game::Random->Seed(static_cast<uint32_t>(static_cast<uint64_t>(std::time(nullptr))));
     },
     [] { Delete(Game::Random); }},
    {[](uint32_t) { Game::Settings = new GameSettings(); }, [] { Delete(Game::Settings); }},
    {[](uint32_t) { Game::Textures = new TextureManager(); }, [] { Delete(Game::Textures); }},
    {[](uint32_t) { Game::Time = new GameTime(); }, [] { Delete(Game::Time); }},
    {[](uint32_t) { Game::ActionNames = CreateActionNames(); },
     []
     {
         delete[] Game::ActionNames;
         Game::ActionNames = nullptr;
     }},
    {[](uint32_t) { Game::Input = new InputManager(); }, [] { Delete(Game::Input); }},
    {[](uint32_t flags) { Game::Sounds = new SoundManager(flags); }, [] { Delete(Game::Sounds); }},
    {[](uint32_t) { Game::Music = new MusicManager(); }, [] { Delete(Game::Music); }},
};

void DeleteServices()
{
    for (std::size_t i = std::size(Services); i-- > 0;)
        Services[i].destroy();
}
} // namespace

Game::Game(uint32_t audioInitFlags)
{
    // One game at a time: the pointers are empty until it makes its services.
    assert(!Root && !Random && !Settings && !Textures && !Time && !ActionNames && !Input &&
           !Sounds && !Music && "one game at a time");
    try
    {
        for (const Service& service : Services)
            service.create(audioInitFlags);
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
    Settings->window = headless ? new HeadlessWindow(Settings->screenWidth, Settings->screenHeight)
                                : GameWindow::Open(Settings->screenWidth, Settings->screenHeight,
                                                   drawingPath, waitForRetrace);
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

void Game::Prepare()
{
    Settings->screenWidth = 800;
    Settings->screenHeight = 600;
    Settings->updatesPerSecond = 60;
    Settings->clearColor = Rgba8{};
    Input->LoadKeyMappings(ContentFolders::KeyMappingsFile);
    CreateWindowAndDevice();
    try
    {
        Textures->LoadBank("Main");
        Sounds->LoadBank("Main");
    }
    catch (...)
    {
        Unload();
        throw;
    }
}

void Game::Unload()
{
    Sounds->UnloadBank("Main");
    Textures->UnloadBank("Main");
    ReleaseWindowAndDevice();
}

void Game::Run()
{
    Prepare();
    // Unloads however the run ends.
    struct Unloading
    {
        Game* game;
        ~Unloading() { game->Unload(); }
    } unloading{this};

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
