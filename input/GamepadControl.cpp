#include "input/GamepadControl.h"

const char* const GamepadControlNames[GamepadControlCount] = {
    "GamepadA",
    "GamepadB",
    "GamepadX",
    "GamepadY",
    "GamepadRightShoulder",
    "GamepadLeftShoulder",
    "GamepadLeftTrigger",
    "GamepadRightTrigger",
    "GamepadDPadUp",
    "GamepadDPadDown",
    "GamepadDPadLeft",
    "GamepadDPadRight",
    "GamepadMenu",
    "GamepadView",
    "GamepadLeftThumbstickButton",
    "GamepadRightThumbstickButton",
    "GamepadLeftThumbstickUp",
    "GamepadLeftThumbstickDown",
    "GamepadLeftThumbstickRight",
    "GamepadLeftThumbstickLeft",
    "GamepadRightThumbstickUp",
    "GamepadRightThumbstickDown",
    "GamepadRightThumbstickRight",
    "GamepadRightThumbstickLeft",
};

uint32_t GamepadControlFromName(const std::string& name)
{
    for (uint32_t i = 0; i < GamepadControlCount; ++i)
    {
        if (name == GamepadControlNames[i])
            return FirstGamepadControl + i;
    }
    return 0;
}
