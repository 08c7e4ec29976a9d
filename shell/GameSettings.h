#pragma once

#include <cstdint>

class GameObject;
class SoftwareCompositor;
class SpriteBatch;
struct SDL_Window;
struct SDL_Renderer;
struct SDL_Surface;

struct Rgba8
{
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 0;
};

// The run's fixed configuration and the window and drawing objects.
// Deleting the record releases nothing; the run releases the objects.
struct GameSettings
{
    int32_t screenWidth = 800;
    int32_t screenHeight = 600;
    int32_t maxCatchUpSteps = 5;
    int32_t updatesPerSecond = 60;
    Rgba8 clearColor;
    SDL_Window* window = nullptr;
    // The drawing back end: SDL's renderer where a GPU draws, else the
    // software compositor into the window's pixels. Either makes the textures.
    SDL_Renderer* device = nullptr;
    SoftwareCompositor* compositor = nullptr;
    SDL_Surface* stagingSurface = nullptr; // the compositor's frame for windows not in xRGB
    SpriteBatch* spriteBatch = nullptr;

    // Submits the object's sprite, then its children's, in pre-order: the
    // whole texture stretched to the sprite's size, centred on the position,
    // or on (0, 0) without one.
    void DrawObject(GameObject* object);
};
