#pragma once

#include <cstdint>
#include <string>

// The keyboard keys, in the row order of a PC keyboard, then the arrows, the
// keypad and the navigation block. Carried as a 32-bit unsigned value.
// clang-format off
enum class Key : uint32_t
{
    None = 0,
    Esc,
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
    PrintScreen,
    ScrollLock,
    Pause,
    Tilde,
    Digit1, Digit2, Digit3, Digit4, Digit5, Digit6, Digit7, Digit8, Digit9, Digit0,
    OemMinus,
    Equals,
    Backspace,
    Tab,
    Q, W, E, R, T, Y, U, I, O, P,
    LeftBracket,
    RightBracket,
    Backslash,
    CapsLock,
    A, S, D, F, G, H, J, K, L,
    Semicolon,
    Apostrophe,
    OemEnter,
    Shift,
    Z, X, C, V, B, N, M,
    Comma,
    OemPeriod,
    OemSlash,
    RightShift,
    Ctrl,
    LeftWindows,
    Alt,
    Space,
    RightWindows,
    Application,
    Left,
    Up,
    Right,
    Down,
    NumLock,
    KeypadSlash,
    KeypadAsterisk,
    KeypadMinus,
    KeypadPlus,
    Keypad1, Keypad2, Keypad3, Keypad4, Keypad5, Keypad6, Keypad7, Keypad8, Keypad9,
    Keypad0,
    KeypadPeriod,
    KeypadEnter,
    Insert,
    Delete,
    Home,
    End,
    PageUp,
    PageDown,
    EnumLast,
};
// clang-format on

constexpr uint32_t KeyCount = static_cast<uint32_t>(Key::EnumLast) + 1;

// The name of every key as the key mappings file writes it, by value.
extern const char* const KeyNames[KeyCount];

// The key whose name equals the text exactly (case and blanks count); None
// when no name matches.
Key KeyFromName(const std::string& name);
