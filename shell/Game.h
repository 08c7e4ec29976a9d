#pragma once

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
    Game();
    ~Game();

    // Prepares the run, runs frames until the window is closed, then unloads.
    void Run();

    // Pre-order passes over an object and its subtree (one of each per frame).
    static void HandleInputPass(GameObject* object);
    static void UpdatePass(GameObject* object);

    // Opens the window, the renderer, the back buffer and the sprite batch.
    void CreateWindowAndDevice();
    // Draws the tree into the back buffer and presents it.
    void Render();
    // Destroys what CreateWindowAndDevice made, newest first.
    void ReleaseWindowAndDevice();

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
