#pragma once

#include <cstdint>
#include <string>

struct GlFunctions;
struct SDL_Window;
typedef void* SDL_GLContext;

// The OpenGL APIs the back end draws with: OpenGL 3.3 core, or OpenGL ES 3.0
// where that is what the system offers.
enum class GlApi
{
    Desktop,
    Embedded,
};

// An OpenGL context of one API on a window made for it, with its entry
// points; what it tells of itself. Stands in for the platform's device:
// SDL makes the window and the context (through GLX or EGL on X11, EGL on
// Wayland) and does nothing else. The window is the caller's, destroyed
// after the context.
class GlContext
{
public:
    // Makes a window (title, client size, SDL window flags) and a context
    // of the API on it. The context's attributes are chosen before the
    // window is made, since SDL picks GLX or EGL by them then. Null, with
    // nothing left made and *failure saying why, where it cannot be had.
    static GlContext* Open(const char* title, int width, int height, uint32_t windowFlags,
                           GlApi api, std::string* failure);
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;
    // Deletes the context, leaving the window.
    ~GlContext();

    static const char* ApiName(GlApi api);

    SDL_Window* Window() const { return window; }
    GlApi Api() const { return api; }
    void MakeCurrent();
    // Deletes the context and makes another of the API on the window, its
    // entry points loaded anew (a context lost with its GPU's reset); false,
    // with *failure saying why, while none can be had.
    bool Remake(std::string* failure);
    // The renderer's name, as the driver gives it.
    std::string Renderer() const;
    // False for a software rasteriser (llvmpipe, softpipe and the like),
    // told by the renderer's name: neither EGL nor SDL's loader offers the
    // driver's own word on it.
    bool Accelerated() const;
    // From now on every error the GL reports, where it can report them as
    // they happen (KHR_debug), is counted in *counter and printed; false
    // where it cannot.
    bool CountErrors(int* counter);

    GlFunctions* const gl; // the entry points, owned

private:
    GlContext(SDL_Window* window, SDL_GLContext context, GlApi api);

    SDL_Window* const window;
    SDL_GLContext context; // null while none could be made anew
    const GlApi api;
};
