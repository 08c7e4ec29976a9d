#include "shell/TranslateVirtualKey.h"

#include "input/Key.h"

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
    {8, Key::Backspace},
    {9, Key::Tab},
    {13, Key::OemEnter},
    {16, Key::Shift},
    {17, Key::Ctrl},
    {18, Key::Alt},
    {19, Key::Pause},
    {20, Key::CapsLock},
    {27, Key::Esc},
    {32, Key::Space},
    {33, Key::PageUp},
    {34, Key::PageDown},
    {35, Key::End},
    {36, Key::Home},
    {37, Key::Left},
    {38, Key::Up},
    {39, Key::Right},
    {40, Key::Down},
    {44, Key::PrintScreen},
    {45, Key::Insert},
    {46, Key::Delete},
    {48, Key::Digit0},
    {49, Key::Digit1},
    {50, Key::Digit2},
    {51, Key::Digit3},
    {52, Key::Digit4},
    {53, Key::Digit5},
    {54, Key::Digit6},
    {55, Key::Digit7},
    {56, Key::Digit8},
    {57, Key::Digit9},
    {65, Key::A},
    {66, Key::B},
    {67, Key::C},
    {68, Key::D},
    {69, Key::E},
    {70, Key::F},
    {71, Key::G},
    {72, Key::H},
    {73, Key::I},
    {74, Key::J},
    {75, Key::K},
    {76, Key::L},
    {77, Key::M},
    {78, Key::N},
    {79, Key::O},
    {80, Key::P},
    {81, Key::Q},
    {82, Key::R},
    {83, Key::S},
    {84, Key::T},
    {85, Key::U},
    {86, Key::V},
    {87, Key::W},
    {88, Key::X},
    {89, Key::Y},
    {90, Key::Z},
    {91, Key::LeftWindows},
    {92, Key::RightWindows},
    {93, Key::Application},
    {96, Key::Keypad0},
    {97, Key::Keypad1},
    {98, Key::Keypad2},
    {99, Key::Keypad3},
    {100, Key::Keypad4},
    {101, Key::Keypad5},
    {102, Key::Keypad6},
    {103, Key::Keypad7},
    {104, Key::Keypad8},
    {105, Key::Keypad9},
    {106, Key::KeypadAsterisk},
    {107, Key::KeypadPlus},
    {109, Key::KeypadMinus},
    {110, Key::KeypadPeriod},
    {111, Key::KeypadSlash},
    {112, Key::F1},
    {113, Key::F2},
    {114, Key::F3},
    {115, Key::F4},
    {116, Key::F5},
    {117, Key::F6},
    {118, Key::F7},
    {119, Key::F8},
    {120, Key::F9},
    {121, Key::F10},
    {122, Key::F11},
    {123, Key::F12},
    {144, Key::NumLock},
    {145, Key::ScrollLock},
    {186, Key::Semicolon},
    {187, Key::Equals},
    {188, Key::Comma},
    {189, Key::OemMinus},
    {190, Key::OemPeriod},
    {191, Key::OemSlash},
    {192, Key::Tilde},
    {219, Key::LeftBracket},
    {220, Key::Backslash},
    {221, Key::RightBracket},
    {222, Key::Apostrophe},
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
