#pragma once

#include "shell/GamepadReader.h"

#include <vector>

union SDL_Event;
struct _SDL_GameController;

// The pads through SDL's game controller API, standing in for the platform's
// gamepad input: every pad present at start and every pad plugged in later
// is opened, and its events go to a GamepadReader. Pads are read whether or
// not the window has focus, so no release is missed. Relies on SDL's
// controller subsystem and its mapping database (SDL_GAMECONTROLLERCONFIG
// adds mappings); without it, there are no pads.
class SdlGamepads
{
public:
    SdlGamepads();
    SdlGamepads(const SdlGamepads&) = delete;
    SdlGamepads& operator=(const SdlGamepads&) = delete;
    // Closes the pads and the subsystem.
    ~SdlGamepads();

    // Applies a pad's event; false for any other event.
    bool Handle(const SDL_Event& event);

private:
    struct OpenPad
    {
        int id; // SDL's joystick instance id
        _SDL_GameController* controller;
    };

    bool started = false;
    std::vector<OpenPad> open;
    GamepadReader reader;
};
