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
#include "shell/FramePacer.h"
#include "shell/GameSettings.h"
#include "shell/GameTime.h"
#include "shell/HighResolutionClock.h"
#include "shell/RendererProbe.h"
#include "shell/SoftwareCompositor.h"
#include "shell/SpriteBatch.h"
#include "shell/WindowFrame.h"
#include "shell/WindowProc.h"

#include <SDL.h>

#include <cstddef>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <string>

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

std::string SdlFailure(const char* what)
{
    return std::string(what) + ": " + SDL_GetError();
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

void Game::CreateWindowAndDevice()
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        throw std::runtime_error(SdlFailure("cannot start the video system"));

    // Without a display SDL falls back to a driver that shows nothing; unless
    // that driver was asked for, the game would run invisibly.
    const char* driver = SDL_GetCurrentVideoDriver();
    bool invisible =
        driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    if (invisible && !SDL_GetHint(SDL_HINT_VIDEODRIVER))
        throw std::runtime_error("no display is available (SDL_VIDEODRIVER=offscreen runs the "
                                 "game without one)");

    Settings->window =
        SDL_CreateWindow("Game", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                         Settings->screenWidth, Settings->screenHeight, SDL_WINDOW_SHOWN);
    if (!Settings->window)
        throw std::runtime_error(SdlFailure("cannot create the window"));

    // The outer size is the screen size: the client area shrinks by the frame.
    FitOuterSize(Settings->window, Settings->screenWidth, Settings->screenHeight);

    bool compositor = drawingPath == DrawingPath::Compositor ||
                      (drawingPath == DrawingPath::Automatic && !HardwareRendererAvailable());
    if (compositor)
    {
        // The window's own pixels, shown without a GPU round trip.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        Settings->compositor = new SoftwareCompositor(SoftwareCompositor::BandsForThisMachine());
        Settings->spriteBatch = new SpriteBatch(Settings->compositor);
        return;
    }

    // No present waits for the display: the frame loop sets the rate.
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    Settings->device = SDL_CreateRenderer(Settings->window, -1, 0);
    if (!Settings->device)
        throw std::runtime_error(SdlFailure("cannot create the renderer"));
    Settings->spriteBatch = new SpriteBatch(Settings->device);
}

void Game::ReleaseWindowAndDevice()
{
    delete Settings->spriteBatch;
    Settings->spriteBatch = nullptr;
    delete Settings->compositor;
    Settings->compositor = nullptr;
    if (Settings->stagingSurface)
        SDL_FreeSurface(Settings->stagingSurface);
    Settings->stagingSurface = nullptr;
    if (Settings->device)
        SDL_DestroyRenderer(Settings->device);
    Settings->device = nullptr;
    if (Settings->window)
        SDL_DestroyWindow(Settings->window);
    Settings->window = nullptr;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void Game::Render()
{
    const Rgba8& clear = Settings->clearColor;
    const float width = static_cast<float>(Settings->screenWidth);
    const float height = static_cast<float>(Settings->screenHeight);
    SpriteBatch* batch = Settings->spriteBatch;

    if (Settings->compositor)
    {
        SDL_Surface* window = SDL_GetWindowSurface(Settings->window);
        if (!window)
            return;
        // The compositor draws 32-bit xRGB; a window in another format gets
        // the frame through a staging surface of its size.
        SDL_Surface* surface = window;
        const bool direct = window->format->format == SDL_PIXELFORMAT_RGB888 ||
                            window->format->format == SDL_PIXELFORMAT_ARGB8888;
        if (!direct)
        {
            SDL_Surface*& staging = Settings->stagingSurface;
            if (staging && (staging->w != window->w || staging->h != window->h))
            {
                SDL_FreeSurface(staging);
                staging = nullptr;
            }
            if (!staging)
                staging = SDL_CreateRGBSurfaceWithFormat(0, window->w, window->h, 32,
                                                         SDL_PIXELFORMAT_RGB888);
            if (!staging)
                return;
            surface = staging;
        }
        Settings->compositor->SetTarget(static_cast<uint32_t*>(surface->pixels), surface->w,
                                        surface->h, surface->pitch, surface->w / width,
                                        surface->h / height);
        batch->Begin();
        Settings->DrawObject(Root);
        batch->End(0xff000000u | (uint32_t(clear.red) << 16) | (uint32_t(clear.green) << 8) |
                   clear.blue);
        if (!direct)
            SDL_BlitSurface(surface, nullptr, window, nullptr);
        SDL_UpdateWindowSurface(Settings->window);
        return;
    }

    // The drawing surface is scaled onto the client area.
    SDL_Renderer* device = Settings->device;
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(device, &outputWidth, &outputHeight);
    SDL_RenderSetScale(device, outputWidth / width, outputHeight / height);
    SDL_SetRenderDrawBlendMode(device, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(device, clear.red, clear.green, clear.blue, 255);
    SDL_RenderClear(device);
    batch->Begin();
    Settings->DrawObject(Root);
    batch->End();
    SDL_RenderPresent(device);
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
            Input->CopyKeysToPrevious();
            Sounds->system->Update();

            // Every pending event is taken; a quit among them ends the run
            // once the step is done.
            bool quit = false;
            SDL_Event event;
            while (SDL_PollEvent(&event))
                quit |= WindowProc(event);
            if (quit)
                break;

            HandleInputPass(Root);
            UpdatePass(Root);
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
