#include "shell/platform/SdlGamepads.h"

#include <SDL.h>

#include <algorithm>

namespace
{
// SDL's buttons as the controls they are; the others press nothing.
struct ButtonControl
{
    uint8_t button;
    GamepadControl control;
};
constexpr ButtonControl ButtonControls[] = {
    {SDL_CONTROLLER_BUTTON_A, GamepadControl::A},
    {SDL_CONTROLLER_BUTTON_B, GamepadControl::B},
    {SDL_CONTROLLER_BUTTON_X, GamepadControl::X},
    {SDL_CONTROLLER_BUTTON_Y, GamepadControl::Y},
    {SDL_CONTROLLER_BUTTON_BACK, GamepadControl::View},
    {SDL_CONTROLLER_BUTTON_START, GamepadControl::Menu},
    {SDL_CONTROLLER_BUTTON_LEFTSTICK, GamepadControl::LeftThumbstickButton},
    {SDL_CONTROLLER_BUTTON_RIGHTSTICK, GamepadControl::RightThumbstickButton},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, GamepadControl::LeftShoulder},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, GamepadControl::RightShoulder},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, GamepadControl::DPadUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, GamepadControl::DPadDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, GamepadControl::DPadLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, GamepadControl::DPadRight},
};

// SDL's axes come in the reader's order; values span -32768 to 32767.
float Travel(int16_t value)
{
    return value < 0 ? value / 32768.0f : value / 32767.0f;
}
} // namespace

SdlGamepads::SdlGamepads()
{
    // A release while another window has the focus must still arrive.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // The pads present now arrive as added events on the first pump.
    started = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

SdlGamepads::~SdlGamepads()
{
    for (const OpenPad& pad : open)
        SDL_GameControllerClose(pad.controller);
    if (started)
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool SdlGamepads::Handle(const SDL_Event& event)
{
    switch (event.type)
    {
    case SDL_CONTROLLERDEVICEADDED:
    {
        const int id = SDL_JoystickGetDeviceInstanceID(event.cdevice.which);
        const bool known =
            std::any_of(open.begin(), open.end(), [id](const OpenPad& p) { return p.id == id; });
        if (!known)
        {
            if (SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which))
            {
                open.push_back({id, controller});
                reader.Add(id);
            }
        }
        return true;
    }
    case SDL_CONTROLLERDEVICEREMOVED:
    {
        const int id = event.cdevice.which;
        auto found =
            std::find_if(open.begin(), open.end(), [id](const OpenPad& p) { return p.id == id; });
        if (found != open.end())
        {
            SDL_GameControllerClose(found->controller);
            open.erase(found);
        }
        reader.Remove(id);
        return true;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    {
        for (const ButtonControl& entry : ButtonControls)
        {
            if (entry.button == event.cbutton.button)
                reader.Button(event.cbutton.which, entry.control,
                              event.cbutton.state == SDL_PRESSED);
        }
        return true;
    }
    case SDL_CONTROLLERAXISMOTION:
        if (event.caxis.axis < SDL_CONTROLLER_AXIS_MAX)
            reader.Move(event.caxis.which, static_cast<GamepadReader::Axis>(event.caxis.axis),
                        Travel(event.caxis.value));
        return true;
    default:
        return false;
    }
}
