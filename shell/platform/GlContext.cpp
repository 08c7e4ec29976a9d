#include "shell/platform/GlContext.h"

#include "shell/platform/GlFunctions.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace
{
void SetContextAttributes(GlApi api)
{
    const bool embedded = api == GlApi::Embedded;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK,
                        embedded ? SDL_GL_CONTEXT_PROFILE_ES : SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, embedded ? 0 : 3);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // Sprites need neither depth nor stencil.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
#ifdef GAME_TEST_TRACES
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, SDL_GL_CONTEXT_DEBUG_FLAG);
#endif
}

void APIENTRY CountError(GLenum, GLenum type, GLuint, GLenum, GLsizei, const GLchar* message,
                         const void* counter)
{
    if (type != GL_DEBUG_TYPE_ERROR)
        return;
    ++*static_cast<int*>(const_cast<void*>(counter));
    std::fprintf(stderr, "GL error: %s\n", message);
}
} // namespace

GlContext* GlContext::Open(const char* title, int width, int height, uint32_t windowFlags,
                           GlApi api, std::string* failure)
{
    SetContextAttributes(api);
    // The window's real pixels on a scaled output, not an enlarged buffer.
    SDL_Window* window =
        SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                         windowFlags | SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!window)
    {
        *failure = std::string("no window for it: ") + SDL_GetError();
        return nullptr;
    }
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context)
    {
        *failure = std::string("no context: ") + SDL_GetError();
        SDL_DestroyWindow(window);
        return nullptr;
    }
    GlContext* made = new GlContext(window, context, api);
    if (!made->gl->Load())
    {
        *failure = "an entry point is missing";
        delete made;
        SDL_DestroyWindow(window);
        return nullptr;
    }
    return made;
}

GlContext::GlContext(SDL_Window* window, SDL_GLContext context, GlApi api)
    : gl(new GlFunctions()), window(window), context(context), api(api)
{
}

GlContext::~GlContext()
{
    if (context)
        SDL_GL_DeleteContext(context);
    delete gl;
}

const char* GlContext::ApiName(GlApi api)
{
    return api == GlApi::Embedded ? "OpenGL ES 3.0" : "OpenGL 3.3 core";
}

void GlContext::MakeCurrent()
{
    SDL_GL_MakeCurrent(window, context);
}

bool GlContext::Remake(std::string* failure)
{
    if (context)
        SDL_GL_DeleteContext(context);
    SetContextAttributes(api);
    context = SDL_GL_CreateContext(window);
    if (!context)
        *failure = std::string("no context: ") + SDL_GetError();
    else if (gl->Load())
        return true;
    else
    {
        *failure = "an entry point is missing";
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    return false;
}

std::string GlContext::Renderer() const
{
    const GLubyte* name = gl->GetString(GL_RENDERER);
    return name ? reinterpret_cast<const char*>(name) : "";
}

bool GlContext::Accelerated() const
{
    std::string name = Renderer();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* software : {"llvmpipe", "softpipe", "software rasterizer", "swrast", "swr",
                                 "lavapipe", "basic render driver"})
        if (name.find(software) != std::string::npos)
            return false;
    return !name.empty();
}

bool GlContext::CountErrors(int* counter)
{
    using DebugMessageCallback = void(APIENTRY*)(GLDEBUGPROC, const void*);
    if (!SDL_GL_ExtensionSupported("GL_KHR_debug"))
        return false;
    auto callback =
        reinterpret_cast<DebugMessageCallback>(SDL_GL_GetProcAddress("glDebugMessageCallback"));
    if (!callback)
        callback = reinterpret_cast<DebugMessageCallback>(
            SDL_GL_GetProcAddress("glDebugMessageCallbackKHR"));
    if (!callback)
        return false;
    gl->Enable(GL_DEBUG_OUTPUT);
    gl->Enable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    callback(CountError, counter);
    return true;
}
