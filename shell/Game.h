#pragma once

#include "shell/GameWindow.h"

#include <cstdint>

class GameObject;
class RandomManager;
struct GameSettings;
class TextureManager;
struct GameTime;
class InputManager;
class SoundManager;
class MusicManager;

// The one game of the process. Its construction creates every service and
// stores it in the process-wide pointers below; its destruction deletes them.
// The pointers stay valid from creation to tear-down.
class Game
{
public:
    // audioInitFlags go to the audio engine (offline for tests and tools).
    explicit Game(uint32_t audioInitFlags = 0);
    ~Game();

    // Prepares the run, adds the test screen under the root, runs frames
    // until the window is closed, then unloads.
    void Run();

    // The run's preparation, which the benchmarks and tests share: the run's
    // settings, the key mappings, the window with its back end and sprite
    // batch, and the banks. What it made is released again when it fails.
    void Prepare();
    // Unloads the banks, then releases the window, its back end and batch.
    void Unload();

    // Pre-order passes over an object and its subtree (one of each per frame).
    static void HandleInputPass(GameObject* object);
    static void UpdatePass(GameObject* object);

    // One frame's work once its time is credited: the key state copied to the
    // previous one, the audio engine updated, the window's pending messages
    // handled (none without a window), then the input and update passes.
    // False, with no pass run, when the quit message came.
    static bool Step();

    // Opens the window (one with no display when `headless`), its drawing
    // back end and the sprite batch.
    void CreateWindowAndDevice();
    // Clears to the clear colour, draws the tree through the sprite batch on
    // Game::Settings->device and presents; the frame is complete on return.
    static void Render();
    // Destroys what CreateWindowAndDevice made, newest first.
    void ReleaseWindowAndDevice();

    DrawingPath drawingPath = DrawingPath::Automatic;
    bool waitForRetrace = true; // each present waits for the display (benchmarks turn it off)
    bool headless = false;      // the window has no display (tests and tools)

    static GameObject* Root;
    static RandomManager* Random;
    static GameSettings* Settings;
    static TextureManager* Textures;
    static GameTime* Time;
    static const char** ActionNames;
    static InputManager* Input;
    static SoundManager* Sounds;
    static MusicManager* Music;
};
