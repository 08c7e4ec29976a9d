#include "input/Key.h"

// clang-format off
const char* const KeyNames[KeyCount] = {
    "None",
    "Esc",
    "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12",
    "PrintScreen",
    "ScrollLock",
    "Pause",
    "Tilde",
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "0",
    "OemMinus",
    "Equals",
    "Backspace",
    "Tab",
    "Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P",
    "LeftBracket",
    "RightBracket",
    "Backslash",
    "CapsLock",
    "A", "S", "D", "F", "G", "H", "J", "K", "L",
    "Semicolon",
    "Apostrophe",
    "OemEnter",
    "Shift",
    "Z", "X", "C", "V", "B", "N", "M",
    "Comma",
    "OemPeriod",
    "OemSlash",
    "RightShift",
    "Ctrl",
    "LeftWindows",
    "Alt",
    "Space",
    "RightWindows",
    "Application",
    "Left",
    "Up",
    "Right",
    "Down",
    "NumLock",
    "KeypadSlash",
    "KeypadAsterisk",
    "KeypadMinus",
    "KeypadPlus",
    "Keypad1", "Keypad2", "Keypad3", "Keypad4", "Keypad5", "Keypad6", "Keypad7", "Keypad8", "Keypad9",
    "Keypad0",
    "KeypadPeriod",
    "KeypadEnter",
    "Insert",
    "Delete",
    "Home",
    "End",
    "PageUp",
    "PageDown",
    "EnumLast",
};
// clang-format on

Key KeyFromName(const std::string& name)
{
    for (uint32_t value = 0; value < KeyCount; ++value)
    {
        if (name == KeyNames[value])
            return static_cast<Key>(value);
    }
    return Key::None;
}
