#include "shell/platform/WindowFrame.h"

#include "shell/platform/WaylandFrame.h"
#include "shell/platform/X11Frame.h"

#include <SDL.h>
#include <SDL_syswm.h>

void FitOuterSize(SDL_Window* window, int outerWidth, int outerHeight)
{
    int left = 0, right = 0, top = 0, bottom = 0;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    const bool known = SDL_GetWindowWMInfo(window, &info);
    if (known && info.subsystem == SDL_SYSWM_X11)
    {
        if (!X11FrameExtents(window, &left, &right, &top, &bottom))
            return;
    }
    else if (known && info.subsystem == SDL_SYSWM_WAYLAND &&
             SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0)
    {
        top = WaylandClientTitleBarHeight(window);
        left = right = bottom = 0;
    }
    else if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0)
        return;

    const int width = outerWidth - left - right;
    const int height = outerHeight - top - bottom;
    if ((left | right | top | bottom) != 0 && width > 0 && height > 0)
        SDL_SetWindowSize(window, width, height);
}

void AskForFixedFrame(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11)
        AskX11ForFixedFrame(window);
}
