#pragma once

struct SDL_Window;

// X11's window manager's frame, read and asked for through the EWMH and
// Motif properties: SDL has no call that says whether a window manager runs
// or whether it has framed a window yet; and whether a compositing manager
// runs. For windows of SDL's X11 driver.

// The frame's extents around the client area; false when no window manager
// runs, or it framed the window not within about a second.
bool X11FrameExtents(SDL_Window* window, int* left, int* right, int* top, int* bottom);

// Asks the window manager for a frame with minimise and maximise boxes but
// no resize handles, before the window is shown.
void AskX11ForFixedFrame(SDL_Window* window);

// True when a compositing manager runs on the window's screen (it owns the
// screen's _NET_WM_CM_S<n> selection), and so shows whole frames.
bool X11DesktopComposites(SDL_Window* window);
