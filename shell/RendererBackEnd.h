#pragma once

#include "shell/SpriteBatch.h"

#include <SDL.h>

#include <vector>

// The drawing back end on SDL's renderer, which stands in for the GPU's
// sprite drawing: each run of sprites of one texture becomes one geometry
// call of textured quads. The vertex and index buffers are reused.
class RendererBackEnd
{
public:
    explicit RendererBackEnd(SDL_Renderer* renderer) : renderer(renderer) {}

    // Draws sprites sorted by texture; returns the number of geometry calls.
    int Draw(const SpriteBatch::QueuedSprite* sprites, std::size_t count);

private:
    void EnsureIndices(std::size_t spriteCount);

    SDL_Renderer* renderer;
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
};
