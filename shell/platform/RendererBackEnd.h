#pragma once

#include "shell/DrawingBackEnd.h"

#include <SDL.h>

#include <vector>

// The drawing back end on SDL's renderer, which stands in for the GPU's
// sprite drawing: each run of sprites of one texture becomes one geometry
// call of textured quads, the drawing surface scaled onto the renderer's
// output. Relies on SDL's renderer API only; the vertex and index buffers are
// reused. The renderer is owned.
class RendererBackEnd : public DrawingBackEnd
{
public:
    RendererBackEnd(SDL_Renderer* renderer, int surfaceWidth, int surfaceHeight);
    RendererBackEnd(const RendererBackEnd&) = delete;
    RendererBackEnd& operator=(const RendererBackEnd&) = delete;
    ~RendererBackEnd() override;

    DrawingTexture* CreateTexture(const DecodedImage& image) override;
    int DrawFrame(uint32_t clearArgb, const QueuedSprite* sprites, std::size_t count) override;
    void Present() override;

    SDL_Renderer* const renderer;

private:
    void EnsureIndices(std::size_t spriteCount);

    const float surfaceWidth;
    const float surfaceHeight;
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
};
