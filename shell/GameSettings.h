#pragma once

#include <cstdint>

class DrawingBackEnd;
class GameObject;
class GameWindow;
class SpriteBatch;

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
    GameWindow* window = nullptr;
    DrawingBackEnd* device = nullptr; // draws the frames and makes the textures
    SpriteBatch* spriteBatch = nullptr;

    // Submits the object's sprite, then its children's, in pre-order: the
    // whole texture stretched to the sprite's size, centred on the position,
    // or on (0, 0) without one.
    void DrawObject(GameObject* object);
};
