#include "shell/platform/X11Frame.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <string>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace
{
const Uint32 FrameWaitMilliseconds = 1000;

// Reads a property of 32-bit items; false when the window does not have it.
bool ReadCardinals(Display* display, Window window, const char* name, long* items, int count)
{
    Atom atom = XInternAtom(display, name, True);
    if (atom == None)
        return false;
    Atom type = None;
    int format = 0;
    unsigned long length = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, atom, 0, count, False, AnyPropertyType, &type, &format,
                           &length, &after, &data) != Success)
        return false;
    bool found = type != None && format == 32 && length >= static_cast<unsigned long>(count);
    if (found)
    {
        const long* values = reinterpret_cast<const long*>(data);
        for (int i = 0; i < count; ++i)
            items[i] = values[i];
    }
    if (data)
        XFree(data);
    return found;
}

bool WindowManagerRuns(Display* display)
{
    long supporting = 0;
    return ReadCardinals(display, DefaultRootWindow(display), "_NET_SUPPORTING_WM_CHECK",
                         &supporting, 1) &&
           supporting != 0;
}

// Waits for _NET_FRAME_EXTENTS (left, right, top, bottom); false on time-out.
bool WaitForFrameExtents(Display* display, Window window, long* extents)
{
    const Uint32 start = SDL_GetTicks();
    for (;;)
    {
        if (ReadCardinals(display, window, "_NET_FRAME_EXTENTS", extents, 4))
            return true;
        if (SDL_GetTicks() - start >= FrameWaitMilliseconds)
            return false;
        SDL_PumpEvents();
        SDL_Delay(5);
    }
}
} // namespace

bool X11FrameExtents(SDL_Window* window, int* left, int* right, int* top, int* bottom)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return false;
    Display* display = info.info.x11.display;
    long extents[4] = {0, 0, 0, 0};
    if (!WindowManagerRuns(display) || !WaitForFrameExtents(display, info.info.x11.window, extents))
        return false;
    *left = static_cast<int>(extents[0]);
    *right = static_cast<int>(extents[1]);
    *top = static_cast<int>(extents[2]);
    *bottom = static_cast<int>(extents[3]);
    return true;
}

void AskX11ForFixedFrame(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return;
    // Motif hints: flags, functions, decorations, input mode, status. The
    // functions keep resizing, which window managers need to maximise; the
    // decorations leave out the resize handles.
    enum : long
    {
        Functions = 1 << 0,
        Decorations = 1 << 1,
        FunctionResize = 1 << 1,
        FunctionMove = 1 << 2,
        FunctionMinimise = 1 << 3,
        FunctionMaximise = 1 << 4,
        FunctionClose = 1 << 5,
        DecorationBorder = 1 << 1,
        DecorationTitle = 1 << 3,
        DecorationMenu = 1 << 4,
        DecorationMinimise = 1 << 5,
        DecorationMaximise = 1 << 6,
    };
    const long hints[5] = {Functions | Decorations,
                           FunctionResize | FunctionMove | FunctionMinimise | FunctionMaximise |
                               FunctionClose,
                           DecorationBorder | DecorationTitle | DecorationMenu |
                               DecorationMinimise | DecorationMaximise,
                           0, 0};
    Display* display = info.info.x11.display;
    const Atom atom = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, info.info.x11.window, atom, atom, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(hints), 5);
    XFlush(display);
}

bool X11DesktopComposites(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return false;
    Display* display = info.info.x11.display;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, info.info.x11.window, &attributes))
        return false;
    const std::string name =
        "_NET_WM_CM_S" + std::to_string(XScreenNumberOfScreen(attributes.screen));
    const Atom selection = XInternAtom(display, name.c_str(), False);
    return XGetSelectionOwner(display, selection) != None;
}
