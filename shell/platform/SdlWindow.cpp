#include "shell/platform/SdlWindow.h"

#include "shell/platform/GlBackEnd.h"
#include "shell/platform/SdlGamepads.h"
#include "shell/platform/WindowCompositor.h"
#include "shell/platform/WindowFrame.h"
#include "shell/platform/WindowProc.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
// Resizable for the window manager, so that the user can maximise the
// window; the frame has no resize handles, and any other size is undone.
const uint32_t ResizableByManager = SDL_WINDOW_RESIZABLE;

std::string SdlFailure(const char* what)
{
    return std::string(what) + ": " + SDL_GetError();
}

bool Asked(const char* hint, const char* value)
{
    const char* asked = SDL_GetHint(hint);
    return asked && SDL_strcasecmp(asked, value) == 0;
}

// SDL_RENDER_DRIVER picks a path: "software" the compositor; "opengl" or
// "opengles2" OpenGL, even on a software rasteriser.
DrawingPath RequestedPath(DrawingPath path)
{
    if (path != DrawingPath::Automatic)
        return path;
    if (Asked(SDL_HINT_RENDER_DRIVER, "software"))
        return DrawingPath::Compositor;
    if (Asked(SDL_HINT_RENDER_DRIVER, "opengl") || Asked(SDL_HINT_RENDER_DRIVER, "opengles2"))
        return DrawingPath::Gpu;
    return DrawingPath::Automatic;
}

// "opengles2" asks for OpenGL ES alone.
std::vector<GlApi> RequestedGlApis()
{
    if (Asked(SDL_HINT_RENDER_DRIVER, "opengles2"))
        return {GlApi::Embedded};
    return {GlApi::Desktop, GlApi::Embedded};
}
} // namespace

int SdlWindow::VideoAttempts()
{
    return SDL_getenv("DISPLAY") ? 10 : 1;
}

void SdlWindow::StartVideo()
{
    std::string why;
    for (int attempt = 0; attempt < VideoAttempts(); ++attempt)
    {
        if (attempt > 0)
            SDL_Delay(VideoRetryMs);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        {
            why = SdlFailure("cannot start the video system");
            continue;
        }
        const char* driver = SDL_GetCurrentVideoDriver();
        if (!DrawsNowhere(driver) || SDL_GetHint(SDL_HINT_VIDEODRIVER))
            return;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        why = "no display is available (SDL_VIDEODRIVER=offscreen runs the game without one)";
    }
    throw std::runtime_error(why);
}

bool SdlWindow::DrawsNowhere(const char* driver)
{
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

SdlWindow::SdlWindow(int width, int height, DrawingPath path, bool waitForRetrace)
{
    StartVideo();
    try
    {
        path = RequestedPath(path);
        if (path != DrawingPath::Compositor)
        {
            std::string failure;
            // Untitled until it is kept, so that nobody takes a window
            // about to be dropped for the game's.
            auto openGl = [&](std::string* why)
            {
                return GlBackEnd::OpenWindow("", width, height,
                                             SDL_WINDOW_HIDDEN | ResizableByManager,
                                             RequestedGlApis(), waitForRetrace, &window, why);
            };
            GlBackEnd* gpu = openGl(&failure);
            // An X server without GLX may still give a context through EGL,
            // which SDL's X11 driver reaches only when its video starts so.
            const char* video = SDL_GetCurrentVideoDriver();
            if (!gpu && video && std::strcmp(video, "x11") == 0 &&
                !SDL_GetHintBoolean(SDL_HINT_VIDEO_X11_FORCE_EGL, SDL_FALSE))
            {
                SDL_QuitSubSystem(SDL_INIT_VIDEO);
                SDL_SetHint(SDL_HINT_VIDEO_X11_FORCE_EGL, "1");
                StartVideo();
                std::string throughEgl;
                gpu = openGl(&throughEgl);
                if (!gpu)
                    failure += "; through EGL: " + throughEgl;
            }
            if (gpu && path == DrawingPath::Automatic && !gpu->Accelerated())
            {
                // A software rasteriser: the compositor draws faster.
                delete gpu;
                gpu = nullptr;
                SDL_DestroyWindow(window);
                window = nullptr;
            }
            else if (!gpu) // never on the CPU in silence, asked for or not
                std::fprintf(stderr,
                             "Game: OpenGL cannot draw here (%s); the software "
                             "compositor draws instead\n",
                             failure.c_str());
            device = gpu;
        }
        if (!device)
        {
            window = SDL_CreateWindow("Game", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                      width, height, SDL_WINDOW_HIDDEN | ResizableByManager);
            if (!window)
                throw std::runtime_error(SdlFailure("cannot create the window"));
            device = new WindowCompositor(window, width, height);
        }
        SDL_SetWindowTitle(window, "Game");
        AskForFixedFrame(window);
        SDL_ShowWindow(window);
        // The outer size is the screen size: the client area shrinks by the frame.
        FitOuterSize(window, width, height);
        SDL_GetWindowSize(window, &restoredWidth, &restoredHeight);
        gamepads = new SdlGamepads();
    }
    catch (...)
    {
        delete device;
        if (window)
            SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw;
    }
}

SdlWindow::~SdlWindow()
{
    delete gamepads;
    delete device;
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlWindow::HandleMessages()
{
#ifdef GAME_TEST_TRACES
    // Test builds tell the frames of each second: one message step a frame.
    ++framesThisSecond;
    const uint64_t now = SDL_GetTicks64();
    if (now - secondStarted >= 1000)
    {
        if (secondStarted)
            std::fprintf(stderr, "frames a second: %d\n", framesThisSecond);
        secondStarted = now;
        framesThisSecond = 0;
    }
#endif
    bool quit = false;
    SDL_Event event;
    while (SDL_PollEvent(&event))
    {
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            settleFrames = SettleFrames;
        if (!gamepads->Handle(event))
            quit |= WindowProc(event);
    }
    // A size the window did not get by maximising is undone once the
    // window manager has had time to say whether it maximised it.
    if (settleFrames > 0 && --settleFrames == 0)
    {
        const uint32_t flags = SDL_GetWindowFlags(window);
        int clientWidth = 0;
        int clientHeight = 0;
        SDL_GetWindowSize(window, &clientWidth, &clientHeight);
        if (!(flags & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED | SDL_WINDOW_FULLSCREEN)) &&
            (clientWidth != restoredWidth || clientHeight != restoredHeight))
            SDL_SetWindowSize(window, restoredWidth, restoredHeight);
    }
    return quit;
}
