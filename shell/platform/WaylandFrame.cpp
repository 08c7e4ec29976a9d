#include "shell/platform/WaylandFrame.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <wayland-client.h>

#include <cstring>

namespace
{
// The title bar that SDL's client-side frame (libdecor's) draws above the
// client area; it has no side or bottom border.
const int ClientTitleBarHeight = 24;

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

int WaylandClientTitleBarHeight(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND)
        return 0;
    return CompositorDrawsFrames(info.info.wl.display) ? 0 : ClientTitleBarHeight;
}
