#pragma once

#include "shell/GameWindow.h"

#include <cstdint>

struct SDL_Window;
class SdlGamepads;

// The game's window on SDL's video subsystem, standing in for the
// platform's window, message pump and device: it starts the subsystem, makes
// the window, chooses the drawing back end (OpenGL where a GPU draws, the
// compositor into the window's pixels where not, or where OpenGL cannot be
// had) and turns SDL's events
// into the window messages of WindowProc, and the pads' events into presses
// of their controls. The user may maximise and minimise
// the window, but not give it another size.
class SdlWindow : public GameWindow
{
public:
    SdlWindow(int width, int height, DrawingPath path, bool waitForRetrace);
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;
    ~SdlWindow() override;

    bool HandleMessages() override;
    DrawingBackEnd* Device() override { return device; }

    // Starts SDL's video on a driver that shows windows, or throws. An X
    // server now and then refuses a connection made just after another one
    // closed, so where one is named, a start that fails, or falls back to a
    // driver that shows nothing (where none was asked for), is tried again
    // VideoAttempts() times, VideoRetryMs apart.
    static void StartVideo();
    static int VideoAttempts();
    static constexpr int VideoRetryMs = 50;
    // The fallback drivers that show nothing: "offscreen" and "dummy".
    static bool DrawsNowhere(const char* driver);

private:
    // Frames a size change waits before it is judged (about 250 ms).
    static constexpr int SettleFrames = 15;

    SDL_Window* window = nullptr;
    DrawingBackEnd* device = nullptr; // owned
    SdlGamepads* gamepads = nullptr;  // owned
    int restoredWidth = 0;            // the client size the window keeps unless maximised
    int restoredHeight = 0;
    int settleFrames = 0;
    uint64_t secondStarted = 0; // test builds: the frames counted in it
    int framesThisSecond = 0;
};
