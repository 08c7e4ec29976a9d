#define SDL_MAIN_HANDLED
#include "shell/Game.h"
#include "shell/platform/Platform.h"
#include "shell/platform/SdlWindow.h"

#include <SDL.h>

#include <cstdio>
#include <exception>
#include <string>

namespace
{
// Shows the failure in a message box too, but only where a display exists:
// the fallback drivers that draw nowhere get none. The box opens a connection
// of its own to the display, which may be refused as the video's may.
void ShowFailure(const std::string& message)
{
    const bool started = SDL_WasInit(SDL_INIT_VIDEO) != 0;
    if (!started)
    {
        try
        {
            SdlWindow::StartVideo();
        }
        catch (const std::exception&)
        {
            return;
        }
    }
    if (!SdlWindow::DrawsNowhere(SDL_GetCurrentVideoDriver()))
    {
        for (int attempt = 0; attempt < SdlWindow::VideoAttempts(); ++attempt)
        {
            if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Game", message.c_str(), nullptr) ==
                0)
                break;
            SDL_Delay(SdlWindow::VideoRetryMs);
        }
    }
    if (!started)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
} // namespace

// Entry point. The command line is ignored. Errors from start-up, the run or
// the content end the process with status 1, after the game has released what
// it created; a closed window ends it with status 0.
int main()
{
    SDL_SetMainReady();
    InstallPlatform();
    int status = 0;
    std::string failure;
    try
    {
        Game game;
        game.Run();
    }
    catch (const std::exception& error)
    {
        failure = error.what();
        status = 1;
    }
    if (status != 0)
    {
        std::fprintf(stderr, "Game: %s\n", failure.c_str());
        ShowFailure(failure);
    }
    SDL_Quit();
#ifdef GAME_TEST_TRACES
    // The sanitizers' checks at exit come after this line: the scripts time
    // the game's own end by it.
    std::fprintf(stderr, "game ended: status %d\n", status);
#endif
    return status;
}
