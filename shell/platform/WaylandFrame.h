#pragma once

struct SDL_Window;

// Wayland's window frame: SDL cannot say how large the frame is that the
// game's side draws (libdecor's title bar) where the compositor draws none.
// For windows of SDL's Wayland driver.

// The height of the title bar drawn above the client area by the game's
// side; 0 where the compositor draws windows' frames itself.
int WaylandClientTitleBarHeight(SDL_Window* window);
