#pragma once

#include <cstdint>
#include <string>

// A gamepad's controls, in the order of the desktop's virtual-key codes for
// them (195 to 218). A control is carried wherever a key value is: its code
// is its position in the key state, above every Key value, so a pad is simply
// more keys to the input service.
// clang-format off
enum class GamepadControl : uint32_t
{
    A = 195, B, X, Y,
    RightShoulder, LeftShoulder,
    LeftTrigger, RightTrigger,
    DPadUp, DPadDown, DPadLeft, DPadRight,
    Menu, View,
    LeftThumbstickButton, RightThumbstickButton,
    LeftThumbstickUp, LeftThumbstickDown, LeftThumbstickRight, LeftThumbstickLeft,
    RightThumbstickUp, RightThumbstickDown, RightThumbstickRight, RightThumbstickLeft,
};
// clang-format on

constexpr uint32_t FirstGamepadControl = static_cast<uint32_t>(GamepadControl::A);
constexpr uint32_t GamepadControlCount = 24;

// The names the key mappings file gives the controls ("GamepadA" ...), by
// code minus FirstGamepadControl.
extern const char* const GamepadControlNames[GamepadControlCount];

// The code of the control whose name equals the text exactly (case and blanks
// count); 0 when no control has that name.
uint32_t GamepadControlFromName(const std::string& name);
