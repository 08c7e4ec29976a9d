#pragma once

struct SDL_Window;

// Gives the window the outer size asked for, frame included, by shrinking its
// client area by the window manager's frame. On X11 the frame is known only
// once the window manager has framed the window; this waits for it, at most
// about a second, and not at all when no window manager runs. On Wayland the
// frame is the title bar that the game's side draws, unless the compositor
// draws frames itself. Elsewhere it uses what SDL reports at once.
void FitOuterSize(SDL_Window* window, int outerWidth, int outerHeight);

// Asks the window manager for a frame with minimise and maximise boxes but
// no resize handles, before the window is shown. The window stays resizable
// for the manager, which needs that to maximise it; SdlWindow puts back the
// size of a window resized any other way. On X11 only.
void AskForFixedFrame(SDL_Window* window);
