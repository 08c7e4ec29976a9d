#pragma once

class DrawingBackEnd;

// Which back end draws the frames: chosen by the machine (a GPU draws through
// OpenGL; without one, the software compositor draws), or forced by
// benchmarks and tests.
enum class DrawingPath
{
    Automatic,
    Gpu,
    Compositor,
};

// The game's window and the drawing back end that presents into it, as the
// run uses them. The platform's layer makes it (shell/platform/); nothing
// else in the game knows what stands behind it.
class GameWindow
{
public:
    // Opens the window titled "Game", of outer size width x height, and the
    // back end of the path that draws the width x height drawing surface
    // onto its client area; its presents wait for the display's vertical
    // retrace when asked and the back end can. Throws with the reason when
    // the window cannot be had, or when no platform's layer named how to
    // open one.
    static GameWindow* Open(int width, int height, DrawingPath path, bool waitForRetrace);

    // How the platform's layer opens windows; it names it once, before
    // the first Open (InstallPlatform in shell/platform/ does).
    using Opener = GameWindow* (*)(int width, int height, DrawingPath path, bool waitForRetrace);
    static void SetOpener(Opener opener);

    // Closes the back end, then the window.
    virtual ~GameWindow() = default;

    // Handles every pending window message: key presses and releases go to
    // Game::Input. True when the quit message was among them.
    virtual bool HandleMessages() = 0;

    // The back end, owned by the window.
    virtual DrawingBackEnd* Device() = 0;
};
