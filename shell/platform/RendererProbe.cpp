#include "shell/platform/RendererProbe.h"

#include <SDL.h>

#include <cstring>

bool HardwareRendererAvailable()
{
    const char* wanted = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    if (wanted && std::strcmp(wanted, "software") == 0)
        return false;
    if (wanted && (std::strcmp(wanted, "opengl") == 0 || std::strcmp(wanted, "opengles2") == 0))
        return true;
    SDL_Window* probe = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!probe)
        return false;
    bool hardware = false;
    if (SDL_GLContext context = SDL_GL_CreateContext(probe))
    {
        using GetString = const unsigned char* (*)(unsigned int);
        const unsigned int Renderer = 0x1F01; // GL_RENDERER
        auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
        const char* name = getString ? reinterpret_cast<const char*>(getString(Renderer)) : nullptr;
        hardware = name && !std::strstr(name, "llvmpipe") && !std::strstr(name, "softpipe") &&
                   !std::strstr(name, "Software Rasterizer") && !std::strstr(name, "SWR");
        SDL_GL_DeleteContext(context);
    }
    SDL_DestroyWindow(probe);
    return hardware;
}
