#pragma once

#include "shell/DrawingBackEnd.h"

#include <cstdint>
#include <string>
#include <vector>

struct SDL_Window;
typedef void* SDL_GLContext;
class GlTexture;

// The OpenGL APIs the back end draws with: OpenGL 3.3 core, or OpenGL ES 3.0
// where that is what the system offers.
enum class GlApi
{
    Desktop,
    Embedded,
};

// The drawing back end of machines with a GPU; SDL makes the window and the
// context and does nothing else. Every sprite is one instance of a unit
// quad: the batch's rectangles are streamed, one sequential write a frame,
// into a ring of three buffer regions that the GPU reads, and each run of one
// texture is one instanced draw. Textures are premultiplied and sampled
// bilinearly, edges clamped; the drawing surface is mapped onto the whole
// client area. What the GL refuses (a texture too large, memory it has not
// got) is checked where it can happen: such a texture is not made, and such
// a frame is skipped, never drawn from garbage.
class GlBackEnd : public DrawingBackEnd
{
public:
    // Makes a window (title, client size, SDL window flags) for OpenGL and a
    // back end on it: an OpenGL 3.3 core context where there is one, else
    // OpenGL ES 3.0, each tried on a window of its own, made after the
    // context's attributes are chosen (so that X11 reaches ES through EGL
    // too). `apis` limits the APIs tried. Null, with nothing left made and
    // *failure saying why, when neither can be had; *window is the window
    // the back end draws into, which the caller destroys after the back end.
    static GlBackEnd* OpenWindow(const char* title, int width, int height, uint32_t windowFlags,
                                 const std::vector<GlApi>& apis, bool waitForRetrace,
                                 SDL_Window** window, std::string* failure);
    // The same on a window the caller made for OpenGL, with the attributes
    // it chose: the desktop API, else ES, on that one window.
    static GlBackEnd* Create(SDL_Window* window, int surfaceWidth, int surfaceHeight,
                             bool waitForRetrace);
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

    // The GPU's name, as the driver gives it.
    std::string Renderer() const;
    // The longest side of a texture the GPU holds.
    int MaxTextureSide() const { return maxTextureSide; }
    // False where the GL is drawn by a software rasteriser (llvmpipe,
    // softpipe and the like), by the driver's own word where it has one,
    // else by the renderer's name.
    bool Accelerated() const;
    // The last frame drawn, width x height 0xAARRGGBB pixels from the top
    // (screenshots and tests).
    void ReadPixels(int width, int height, uint32_t* argb);
    // From now on every error the GL reports, where it can report them as
    // they happen (KHR_debug), is counted; false where it cannot (tests).
    bool CountErrors();
    int ErrorsCounted() const { return errors; }

    struct Functions; // the GL entry points, loaded through SDL

private:
    friend class GlTexture;
    // Sprites whose edges lie further than this outside the drawing
    // surface, and those with no area, are drawn on their own.
    static constexpr float GuardBand = 8192.0f;
    // A sprite drawn on its own: clipped to the surface, with the part of
    // the texture it keeps; or dropped, drawing nothing.
    struct Exception
    {
        std::size_t index;
        SpriteRect clipped;
        float textureWindow[4]; // left, top, right, bottom, in texture coordinates
        bool drawn;
    };

    GlBackEnd() = default;
    // A back end on the window with a context of the API; null, with
    // nothing left made and *failure saying why, where it cannot be had.
    static GlBackEnd* OnWindow(SDL_Window* window, GlApi api, int surfaceWidth, int surfaceHeight,
                               bool waitForRetrace, std::string* failure);
    bool Start(SDL_Window* window, GlApi api, int surfaceWidth, int surfaceHeight,
               std::string* failure);
    bool StreamRects(const SpriteRect* rects, std::size_t count);
    void CopyRects(SpriteRect* to, const SpriteRect* from, std::size_t count);
    void NoteException(std::size_t index, const SpriteRect& rect);
    void DrawInstances(std::size_t first, std::size_t count);
    void WaitForRegion(std::size_t region);

    SDL_Window* window = nullptr; // not owned
    SDL_GLContext context = nullptr;
    Functions* gl = nullptr;
    float surfaceWidth = 0.0f;
    float surfaceHeight = 0.0f;
    int maxTextureSide = 0;
    unsigned program = 0;
    unsigned vertexArray = 0;
    unsigned instances = 0;          // the sprites' rectangles, streamed: three regions
    std::size_t regionBytes = 0;     // the size of each
    std::size_t region = 0;          // the one written last
    struct __GLsync* fences[3] = {}; // the GPU is done with a region once its fence is
    int toClip = -1;                 // uniform locations
    int textureWindow = -1;
    std::vector<Exception> exceptions; // of the frame being drawn, in order
    std::vector<GlTexture*> madeHere;  // the live textures it made
    int errors = 0;
};
