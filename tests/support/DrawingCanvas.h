#pragma once

#include "shell/GameSettings.h"
#include "shell/SoftwareCompositor.h"

#include <cstdint>
#include <string>
#include <vector>

class DrawingTexture;
class GlBackEnd;
class Texture;
struct SDL_Window;

// One scene drawn by both back ends at 800 x 600: OpenGL (Mesa's software
// rasterisers here, the same calls a GPU gets; OpenGL ES where no 3.3 core
// context can be had) in a hidden window of SDL's offscreen driver, and the
// compositor, split into three bands so that sprites cross band edges. The
// GL's errors are counted where it can report them.
class DrawingCanvas
{
public:
    static constexpr uint32_t Clear = 0xff203040;
    static constexpr int Gpu = 0;
    static constexpr int Compositor = 1;

    DrawingCanvas();
    ~DrawingCanvas();
    DrawingCanvas(const DrawingCanvas&) = delete;
    DrawingCanvas& operator=(const DrawingCanvas&) = delete;

    // A texture whose left half is one colour and right half another.
    Texture* MakeTexture(int width, int height, uint32_t leftArgb, uint32_t rightArgb);
    Texture* MakeTexture(const DecodedImage& image);
    // A positioned sprite under the root.
    void AddSprite(const Texture* texture, float x, float y, float width, float height);
    // Clears both pictures and draws the tree under `root` on each; a test
    // fails where the GL reported an error.
    void Draw();
    // The colour (0xRRGGBB) at a pixel of one picture.
    uint32_t Pixel(int path, int x, int y) const;
    // The GL's name, and its back end.
    std::string Renderer() const;
    GlBackEnd* GpuBackEnd() { return gpu; }

    GameObject* root;
    int gpuCalls = 0;           // draw calls of the last Draw
    bool errorsCounted = false; // the GL reports its errors as they happen

private:
    SoftwareCompositor compositor;
    std::vector<uint32_t> pixels[2];
    SDL_Window* window = nullptr;
    GlBackEnd* gpu = nullptr;
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
