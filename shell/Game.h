#pragma once

#include <cstdint>

class GameObject;
class RandomManager;
struct GameSettings;
class TextureManager;
struct GameTime;
class InputManager;
class SoundManager;
class MusicManager;

// Which back end draws the frames: chosen by the machine (a GPU draws through
// SDL's renderer; without one, the software compositor draws), or forced by
// benchmarks and tests.
enum class DrawingPath
{
    Automatic,
    Renderer,
    Compositor,
};

// The one game of the process. Its construction creates every service and
// stores it in the process-wide pointers below; its destruction deletes them.
// The pointers stay valid from creation to tear-down.
class Game
{
public:
    // audioInitFlags go to the audio engine (offline for tests and tools).
    explicit Game(uint32_t audioInitFlags = 0);
    ~Game();

    // Prepares the run, runs frames until the window is closed, then unloads.
    void Run();

    // Pre-order passes over an object and its subtree (one of each per frame).
    static void HandleInputPass(GameObject* object);
    static void UpdatePass(GameObject* object);

    // Opens the window, the drawing back end and the sprite batch.
    void CreateWindowAndDevice();
    // Clears, draws the tree with the 800 x 600 drawing surface scaled onto
    // the client area, and presents; the frame is complete on return.
    void Render();
    // Destroys what CreateWindowAndDevice made, newest first.
    void ReleaseWindowAndDevice();

    DrawingPath drawingPath = DrawingPath::Automatic;

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
