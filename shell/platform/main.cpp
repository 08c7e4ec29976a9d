#define SDL_MAIN_HANDLED
#include "shell/Game.h"
#include "shell/platform/Platform.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace
{
// Shows the failure in a message box too, but only where a display exists:
// the fallback drivers that draw nowhere get none.
void ShowFailure(const std::string& message)
{
    bool started = SDL_WasInit(SDL_INIT_VIDEO) != 0;
    if (!started && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0)
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Game", message.c_str(), nullptr);
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
    return status;
}
