#pragma once

#include "shell/DrawingBackEnd.h"
#include "shell/SpriteClipping.h"
#include "shell/platform/GlContext.h"

#include <cstddef>
#include <string>
#include <vector>

struct GlFunctions;

// The draw of a frame's texture runs: every sprite one instance of a unit
// quad placed by its rectangle (read from the array buffer bound, from a
// region of it), each run one instanced draw of its texture, and each
// clipped sprite drawn on its own between, with the window of its texture it
// keeps. Blends premultiplied OVER; the drawing surface maps onto the whole
// viewport.
class GlSpriteRuns
{
public:
    explicit GlSpriteRuns(GlFunctions* gl);
    GlSpriteRuns(const GlSpriteRuns&) = delete;
    GlSpriteRuns& operator=(const GlSpriteRuns&) = delete;
    ~GlSpriteRuns();

    // Compiles and links the program for the API, with the compilers' and
    // linker's words in *failure where they refuse; sets the blending and the
    // vertex layout. The array buffer the draws read must be bound.
    bool Build(GlApi api, float surfaceWidth, float surfaceHeight, std::string* failure);
    // Draws the runs of textures made by `maker` from the rectangles at
    // regionOffset of the array buffer; returns the draw calls made.
    int Draw(const TextureRun* runs, std::size_t runCount,
             const std::vector<ClippedSprite>& clipped, std::size_t regionOffset,
             const DrawingBackEnd* maker);

private:
    void DrawInstances(std::size_t regionOffset, std::size_t first, std::size_t count);

    GlFunctions* const gl;
    unsigned program = 0;
    unsigned vertexArray = 0;
    int textureWindow = -1; // a uniform's location
};
