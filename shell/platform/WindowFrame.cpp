#include "shell/platform/WindowFrame.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <wayland-client.h>

#include <cstring>

// Thin X11 and Wayland layer. On X11, SDL has no call that says whether a
// window manager runs or whether it has framed a window yet, so these two
// facts are read from the EWMH properties directly. On Wayland, SDL cannot
// say how large the frame is that the game draws itself where the
// compositor draws none.
namespace
{
const Uint32 FrameWaitMilliseconds = 1000;

// The title bar that SDL's client-side frame (libdecor's) draws above the
// client area; it has no side or bottom border.
const int ClientTitleBarHeight = 24;

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
// Whether the compositor offers to draw windows' frames itself; where it
// does, SDL leaves the frame to it. The globals are listed on a queue of
// this call's own, so SDL's events are left alone.
bool CompositorDrawsFrames(wl_display* display)
{
    wl_event_queue* queue = wl_display_create_queue(display);
    if (!queue)
        return false;
    auto* wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    bool offered = false;
    if (wrapper)
    {
        wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), queue);
        if (wl_registry* registry = wl_display_get_registry(wrapper))
        {
            static const wl_registry_listener listener = {
                [](void* data, wl_registry*, uint32_t, const char* name, uint32_t)
                {
                    if (std::strcmp(name, "zxdg_decoration_manager_v1") == 0)
                        *static_cast<bool*>(data) = true;
                },
                [](void*, wl_registry*, uint32_t) {},
            };
            wl_registry_add_listener(registry, &listener, &offered);
            wl_display_roundtrip_queue(display, queue);
            wl_registry_destroy(registry);
        }
        wl_proxy_wrapper_destroy(wrapper);
    }
    wl_event_queue_destroy(queue);
    return offered;
}
} // namespace

void FitOuterSize(SDL_Window* window, int outerWidth, int outerHeight)
{
    int left = 0, right = 0, top = 0, bottom = 0;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    const bool known = SDL_GetWindowWMInfo(window, &info);
    if (known && info.subsystem == SDL_SYSWM_X11)
    {
        Display* display = info.info.x11.display;
        long extents[4] = {0, 0, 0, 0};
        if (!WindowManagerRuns(display) ||
            !WaitForFrameExtents(display, info.info.x11.window, extents))
            return;
        left = static_cast<int>(extents[0]);
        right = static_cast<int>(extents[1]);
        top = static_cast<int>(extents[2]);
        bottom = static_cast<int>(extents[3]);
    }
    else if (known && info.subsystem == SDL_SYSWM_WAYLAND &&
             SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0)
    {
        if (CompositorDrawsFrames(info.info.wl.display))
            return;
        top = ClientTitleBarHeight;
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
