#pragma once

#include "shell/DrawingBackEnd.h"

#include <cstdint>
#include <string>

struct SDL_Window;
typedef void* SDL_GLContext;

// The drawing back end of machines with a GPU, on OpenGL 3.3 core (or
// OpenGL ES 3.0 where that is what the system offers); SDL makes the window
// and the context and does nothing else. Every sprite is one instance of a
// unit quad: its rectangle is read by the GPU straight from the batch's queue,
// streamed into one buffer a frame, and each run of one texture is one
// instanced draw. Textures are premultiplied and sampled bilinearly, edges
// clamped; the drawing surface is mapped onto the whole client area.
class GlBackEnd : public DrawingBackEnd
{
public:
    // A context on the window, which SDL made for OpenGL; null, with
    // nothing made, when neither API can be had. waitForRetrace: each present
    // waits for the display's vertical retrace.
    static GlBackEnd* Create(SDL_Window* window, int surfaceWidth, int surfaceHeight,
                             bool waitForRetrace);
    GlBackEnd(const GlBackEnd&) = delete;
    GlBackEnd& operator=(const GlBackEnd&) = delete;
    ~GlBackEnd() override;

    DrawingTexture* CreateTexture(const DecodedImage& image) override;
    SpriteRect* FrameRects(std::size_t* capacity) override;
    int DrawFrame(uint32_t clearArgb, const SpriteRect* rects, std::size_t count,
                  const TextureRun* runs, std::size_t runCount) override;
    void Present() override;

    // The GPU's name, as the driver gives it.
    std::string Renderer() const;
    // The last frame drawn, width x height 0xAARRGGBB pixels from the top
    // (screenshots and tests).
    void ReadPixels(int width, int height, uint32_t* argb);

    struct Functions; // the GL entry points, loaded through SDL

private:
    GlBackEnd() = default;
    bool Start(bool embedded);
    SpriteRect* MapNextRegion(std::size_t bytes);

    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    Functions* gl = nullptr;
    float surfaceWidth = 0.0f;
    float surfaceHeight = 0.0f;
    unsigned program = 0;
    unsigned vertexArray = 0;
    unsigned instances = 0;            // the sprites' rectangles, streamed: three regions
    std::size_t regionBytes = 0;       // the size of each
    std::size_t region = 0;            // the one written last
    struct __GLsync* fences[3] = {};   // the GPU is done with a region once its fence is
    int toClip = -1;                   // uniform location
    SpriteRect* mappedRects = nullptr; // the region FrameRects mapped, until DrawFrame
};
