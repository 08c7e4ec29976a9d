#include "shell/platform/SdlWindow.h"

#include "shell/platform/GlBackEnd.h"
#include "shell/platform/RendererProbe.h"
#include "shell/platform/WindowCompositor.h"
#include "shell/platform/WindowFrame.h"
#include "shell/platform/WindowProc.h"

#include <SDL.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace
{
std::string SdlFailure(const char* what)
{
    return std::string(what) + ": " + SDL_GetError();
}
} // namespace

GameWindow* GameWindow::Open(int width, int height, DrawingPath path, bool waitForRetrace)
{
    return new SdlWindow(width, height, path, waitForRetrace);
}

SdlWindow::SdlWindow(int width, int height, DrawingPath path, bool waitForRetrace)
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        throw std::runtime_error(SdlFailure("cannot start the video system"));
    try
    {
        // Without a display SDL falls back to a driver that shows nothing;
        // unless that driver was asked for, the game would run invisibly.
        const char* driver = SDL_GetCurrentVideoDriver();
        bool invisible =
            driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
        if (invisible && !SDL_GetHint(SDL_HINT_VIDEODRIVER))
            throw std::runtime_error("no display is available (SDL_VIDEODRIVER=offscreen runs "
                                     "the game without one)");

        bool gpu = path == DrawingPath::Gpu ||
                   (path == DrawingPath::Automatic && HardwareRendererAvailable());
        for (;;)
        {
            // Resizable for the window manager, so that the user can maximise
            // it; the frame has no resize handles, and any other size is undone.
            window = SDL_CreateWindow(
                "Game", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | (gpu ? SDL_WINDOW_OPENGL : 0));
            if (!window)
                throw std::runtime_error(SdlFailure("cannot create the window"));
            if (gpu && !(device = GlBackEnd::Create(window, width, height, waitForRetrace)))
            {
                // No OpenGL after all: the compositor draws, into a window
                // made for it.
                SDL_DestroyWindow(window);
                window = nullptr;
                gpu = false;
                continue;
            }
            break;
        }
        if (!gpu)
            device = new WindowCompositor(window, width, height);
        AskForFixedFrame(window);
        SDL_ShowWindow(window);
        // The outer size is the screen size: the client area shrinks by the frame.
        FitOuterSize(window, width, height);
        SDL_GetWindowSize(window, &restoredWidth, &restoredHeight);
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
    delete device;
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlWindow::HandleMessages()
{
    bool quit = false;
    SDL_Event event;
    while (SDL_PollEvent(&event))
    {
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            settleFrames = SettleFrames;
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
