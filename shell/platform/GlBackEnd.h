#pragma once

#include "shell/DrawingBackEnd.h"
#include "shell/PresentGate.h"
#include "shell/SpriteClipping.h"
#include "shell/platform/GlContext.h"

#include <cstdint>
#include <string>
#include <vector>

class GlSpriteRuns;
class GlStreamRing;
class GlTextureRegistry;
class GlxSwapCounter;
struct __GLsync;

// The drawing back end of machines with a GPU, on an OpenGL context
// (GlContext) made with its window. Each frame's rectangles are copied into
// a streaming ring (GlStreamRing), the sprites far outside the surface
// clipped on the way, and each run of one texture is one instanced draw
// (GlSpriteRuns); textures live in a registry (GlTextureRegistry). The
// drawing surface is mapped onto the whole client area. What the GL refuses
// (a texture too large, memory it has not got) is checked where it can
// happen: such a texture is not made, and such a frame is skipped, never
// drawn from garbage.
//
// A present never waits for the display: a frame is dropped, not drawn, while
// the one presented before it is not yet done (PresentGate). A context lost
// with its GPU (a reset, video memory lost across a suspend) is made anew
// with every live texture, from the pixels kept for that.
class GlBackEnd : public DrawingBackEnd
{
public:
    // Makes a window (title, client size, SDL window flags) and a back end
    // on it, trying the APIs in order, each on a window of its own: the first
    // whose context and program can be had. Null, with nothing left made and
    // *failure saying why of each, when none can; *window is the window the
    // back end draws into, which the caller destroys after the back end.
    static GlBackEnd* OpenWindow(const char* title, int width, int height, uint32_t windowFlags,
                                 const std::vector<GlApi>& apis, bool waitForRetrace,
                                 SDL_Window** window, std::string* failure);
    GlBackEnd(const GlBackEnd&) = delete;
    GlBackEnd& operator=(const GlBackEnd&) = delete;
    // Textures it made may outlive it: they then hold nothing of the GL.
    ~GlBackEnd() override;

    // Null for an image larger than the GPU's textures, or one it has no
    // memory for.
    DrawingTexture* CreateTexture(const DecodedImage& image) override;
    int DrawFrame(uint32_t clearArgb, const SpriteRect* rects, std::size_t count,
                  const TextureRun* runs, std::size_t runCount) override;
    void Present() override;

    std::string Renderer() const { return context->Renderer(); }
    bool Accelerated() const { return context->Accelerated(); }
    // The longest side of a texture the GPU holds.
    int MaxTextureSide() const { return maxTextureSide; }
    // The last frame drawn, width x height 0xAARRGGBB pixels from the top
    // (screenshots and tests).
    void ReadPixels(int width, int height, uint32_t* argb);
    // From now on every error the GL reports, where it can report them as
    // they happen (KHR_debug), is counted; false where it cannot (tests).
    bool CountErrors() { return context->CountErrors(&errors); }
    int ErrorsCounted() const { return errors; }
    // Frames not drawn because the one before was not yet done.
    uint64_t FramesDropped() const { return gate.dropped; }
    // The entry points (tests report a loss through them).
    GlFunctions* Functions() { return context->gl; }

private:
    GlBackEnd(GlContext* context, int surfaceWidth, int surfaceHeight);
    // Makes what draws on the context; the texture registry only once.
    bool Start(std::string* failure);
    // Asks for swapInterval, and keeps it only where the frames shown can be
    // counted (GLX's completed swaps); else presents do not wait.
    void SetSwapInterval();
    // False while the context is lost and could not be made anew yet.
    bool ContextUsable();
    void DeleteContextObjects();
    // Of the frames presented, those shown (where GLX counts them) or else
    // those the GPU is done with.
    uint64_t FramesDone();

    GlContext* const context; // owned
    const float surfaceWidth;
    const float surfaceHeight;
    int maxTextureSide = 0;
    GlTextureRegistry* textures = nullptr;
    GlStreamRing* ring = nullptr;
    GlSpriteRuns* runs = nullptr;
    std::vector<ClippedSprite> clipped; // of the frame being drawn, in order
    int errors = 0;
    PresentGate gate;
    __GLsync* presentFence = nullptr;      // set after the last present
    GlxSwapCounter* swapCounter = nullptr; // where presents wait and GLX counts swaps
    bool dropping = false;                 // the frame being drawn is dropped
    int swapInterval = 0;
    bool lost = false;
    bool lossTold = false;     // that no new context could be made
    int framesUntilRemake = 0; // while lost
    int drawnWidth = 0;        // the drawable's size last drawn into, in pixels
    int drawnHeight = 0;
};
