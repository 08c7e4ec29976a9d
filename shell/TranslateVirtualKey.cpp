#include "shell/TranslateVirtualKey.h"

#include "input/Key.h"
#include "shell/VirtualKey.h"

#include <array>

namespace
{
struct VirtualKeyEntry
{
    uint32_t virtualKey;
    Key key;
};

// Both Shift keys arrive as one code, and so do both Enter keys. Delete has an
// entry of its own: without one its code, 46, would read as the value of A.
constexpr VirtualKeyEntry Entries[] = {
    {VirtualKey::Backspace, Key::Backspace},
    {VirtualKey::Tab, Key::Tab},
    {VirtualKey::Enter, Key::OemEnter},
    {VirtualKey::Shift, Key::Shift},
    {VirtualKey::Control, Key::Ctrl},
    {VirtualKey::Alt, Key::Alt},
    {VirtualKey::Pause, Key::Pause},
    {VirtualKey::CapsLock, Key::CapsLock},
    {VirtualKey::Escape, Key::Esc},
    {VirtualKey::Space, Key::Space},
    {VirtualKey::PageUp, Key::PageUp},
    {VirtualKey::PageDown, Key::PageDown},
    {VirtualKey::End, Key::End},
    {VirtualKey::Home, Key::Home},
    {VirtualKey::Left, Key::Left},
    {VirtualKey::Up, Key::Up},
    {VirtualKey::Right, Key::Right},
    {VirtualKey::Down, Key::Down},
    {VirtualKey::PrintScreen, Key::PrintScreen},
    {VirtualKey::Insert, Key::Insert},
    {VirtualKey::Delete, Key::Delete},
    {VirtualKey::Digit0, Key::Digit0},
    {VirtualKey::Digit0 + 1, Key::Digit1},
    {VirtualKey::Digit0 + 2, Key::Digit2},
    {VirtualKey::Digit0 + 3, Key::Digit3},
    {VirtualKey::Digit0 + 4, Key::Digit4},
    {VirtualKey::Digit0 + 5, Key::Digit5},
    {VirtualKey::Digit0 + 6, Key::Digit6},
    {VirtualKey::Digit0 + 7, Key::Digit7},
    {VirtualKey::Digit0 + 8, Key::Digit8},
    {VirtualKey::Digit0 + 9, Key::Digit9},
    {VirtualKey::LetterA, Key::A},
    {VirtualKey::LetterA + 1, Key::B},
    {VirtualKey::LetterA + 2, Key::C},
    {VirtualKey::LetterA + 3, Key::D},
    {VirtualKey::LetterA + 4, Key::E},
    {VirtualKey::LetterA + 5, Key::F},
    {VirtualKey::LetterA + 6, Key::G},
    {VirtualKey::LetterA + 7, Key::H},
    {VirtualKey::LetterA + 8, Key::I},
    {VirtualKey::LetterA + 9, Key::J},
    {VirtualKey::LetterA + 10, Key::K},
    {VirtualKey::LetterA + 11, Key::L},
    {VirtualKey::LetterA + 12, Key::M},
    {VirtualKey::LetterA + 13, Key::N},
    {VirtualKey::LetterA + 14, Key::O},
    {VirtualKey::LetterA + 15, Key::P},
    {VirtualKey::LetterA + 16, Key::Q},
    {VirtualKey::LetterA + 17, Key::R},
    {VirtualKey::LetterA + 18, Key::S},
    {VirtualKey::LetterA + 19, Key::T},
    {VirtualKey::LetterA + 20, Key::U},
    {VirtualKey::LetterA + 21, Key::V},
    {VirtualKey::LetterA + 22, Key::W},
    {VirtualKey::LetterA + 23, Key::X},
    {VirtualKey::LetterA + 24, Key::Y},
    {VirtualKey::LetterA + 25, Key::Z},
    {VirtualKey::LeftSystem, Key::LeftWindows},
    {VirtualKey::RightSystem, Key::RightWindows},
    {VirtualKey::Application, Key::Application},
    {VirtualKey::Keypad0, Key::Keypad0},
    {VirtualKey::Keypad0 + 1, Key::Keypad1},
    {VirtualKey::Keypad0 + 2, Key::Keypad2},
    {VirtualKey::Keypad0 + 3, Key::Keypad3},
    {VirtualKey::Keypad0 + 4, Key::Keypad4},
    {VirtualKey::Keypad0 + 5, Key::Keypad5},
    {VirtualKey::Keypad0 + 6, Key::Keypad6},
    {VirtualKey::Keypad0 + 7, Key::Keypad7},
    {VirtualKey::Keypad0 + 8, Key::Keypad8},
    {VirtualKey::Keypad0 + 9, Key::Keypad9},
    {VirtualKey::KeypadMultiply, Key::KeypadAsterisk},
    {VirtualKey::KeypadAdd, Key::KeypadPlus},
    {VirtualKey::KeypadSubtract, Key::KeypadMinus},
    {VirtualKey::KeypadDecimal, Key::KeypadPeriod},
    {VirtualKey::KeypadDivide, Key::KeypadSlash},
    {VirtualKey::F1, Key::F1},
    {VirtualKey::F1 + 1, Key::F2},
    {VirtualKey::F1 + 2, Key::F3},
    {VirtualKey::F1 + 3, Key::F4},
    {VirtualKey::F1 + 4, Key::F5},
    {VirtualKey::F1 + 5, Key::F6},
    {VirtualKey::F1 + 6, Key::F7},
    {VirtualKey::F1 + 7, Key::F8},
    {VirtualKey::F1 + 8, Key::F9},
    {VirtualKey::F1 + 9, Key::F10},
    {VirtualKey::F1 + 10, Key::F11},
    {VirtualKey::F1 + 11, Key::F12},
    {VirtualKey::NumLock, Key::NumLock},
    {VirtualKey::ScrollLock, Key::ScrollLock},
    {VirtualKey::Semicolon, Key::Semicolon},
    {VirtualKey::Equals, Key::Equals},
    {VirtualKey::Comma, Key::Comma},
    {VirtualKey::Minus, Key::OemMinus},
    {VirtualKey::Period, Key::OemPeriod},
    {VirtualKey::Slash, Key::OemSlash},
    {VirtualKey::Grave, Key::Tilde},
    {VirtualKey::LeftBracket, Key::LeftBracket},
    {VirtualKey::Backslash, Key::Backslash},
    {VirtualKey::RightBracket, Key::RightBracket},
    {VirtualKey::Apostrophe, Key::Apostrophe},
};

std::array<uint32_t, 256> BuildTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t code = 0; code < table.size(); ++code)
        table[code] = code;
    for (const VirtualKeyEntry& entry : Entries)
        table[entry.virtualKey] = static_cast<uint32_t>(entry.key);
    return table;
}

const std::array<uint32_t, 256> Table = BuildTable();
} // namespace

uint32_t TranslateVirtualKey(uint32_t virtualKey)
{
    return virtualKey < Table.size() ? Table[virtualKey] : virtualKey;
}
