#pragma once

#include "shell/GameSettings.h"
#include "shell/SoftwareCompositor.h"

#include <cstdint>
#include <vector>

class DrawingTexture;
class RendererBackEnd;
class Texture;
struct SDL_Surface;

// One scene drawn by both back ends into 800 x 600 surfaces: SDL's renderer
// (a software renderer here, the same calls a GPU gets) and the compositor,
// split into three bands so that sprites cross band edges.
class DrawingCanvas
{
public:
    static constexpr uint32_t Clear = 0xff203040;
    static constexpr int Renderer = 0;
    static constexpr int Compositor = 1;

    DrawingCanvas();
    ~DrawingCanvas();
    DrawingCanvas(const DrawingCanvas&) = delete;
    DrawingCanvas& operator=(const DrawingCanvas&) = delete;

    // A texture whose left half is one colour and right half another.
    Texture* MakeTexture(int width, int height, uint32_t leftArgb, uint32_t rightArgb);
    // A positioned sprite under the root.
    void AddSprite(const Texture* texture, float x, float y, float width, float height);
    // Clears both pictures and draws the tree under `root` on each.
    void Draw();
    // The colour (0xRRGGBB) at a pixel of one picture.
    uint32_t Pixel(int path, int x, int y) const;

    GameObject* root;
    int rendererCalls = 0; // draw calls of the last Draw

private:
    SoftwareCompositor compositor;
    SDL_Surface* surfaces[2] = {};
    RendererBackEnd* renderer = nullptr;
    SpriteBatch* batches[2] = {};
    GameSettings settings;
    // Each texture with its copy on each back end.
    struct Made
    {
        Texture* texture;
        DrawingTexture* copies[2];
    };
    std::vector<Made> textures;
};
