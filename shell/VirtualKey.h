#pragma once

#include <cstdint>

// The desktop's virtual-key codes: the layout-independent numbers by which the
// window layer reports keys, below 256. Letters and digits are their
// upper-case character codes, 'A' to 'Z' and '0' to '9'.
namespace VirtualKey
{
constexpr uint32_t Backspace = 8;
constexpr uint32_t Tab = 9;
constexpr uint32_t Enter = 13;
constexpr uint32_t Shift = 16;
constexpr uint32_t Control = 17;
constexpr uint32_t Alt = 18;
constexpr uint32_t Pause = 19;
constexpr uint32_t CapsLock = 20;
constexpr uint32_t Escape = 27;
constexpr uint32_t Space = 32;
constexpr uint32_t PageUp = 33;
constexpr uint32_t PageDown = 34;
constexpr uint32_t End = 35;
constexpr uint32_t Home = 36;
constexpr uint32_t Left = 37;
constexpr uint32_t Up = 38;
constexpr uint32_t Right = 39;
constexpr uint32_t Down = 40;
constexpr uint32_t PrintScreen = 44;
constexpr uint32_t Insert = 45;
constexpr uint32_t Delete = 46;
constexpr uint32_t Digit0 = 48;  // to Digit0 + 9
constexpr uint32_t LetterA = 65; // to LetterA + 25
constexpr uint32_t LeftSystem = 91;
constexpr uint32_t RightSystem = 92;
constexpr uint32_t Application = 93;
constexpr uint32_t Keypad0 = 96; // to Keypad0 + 9
constexpr uint32_t KeypadMultiply = 106;
constexpr uint32_t KeypadAdd = 107;
constexpr uint32_t KeypadSubtract = 109;
constexpr uint32_t KeypadDecimal = 110;
constexpr uint32_t KeypadDivide = 111;
constexpr uint32_t F1 = 112; // to F1 + 23, F24
constexpr uint32_t NumLock = 144;
constexpr uint32_t ScrollLock = 145;
constexpr uint32_t Semicolon = 186;
constexpr uint32_t Equals = 187;
constexpr uint32_t Comma = 188;
constexpr uint32_t Minus = 189;
constexpr uint32_t Period = 190;
constexpr uint32_t Slash = 191;
constexpr uint32_t Grave = 192;
constexpr uint32_t LeftBracket = 219;
constexpr uint32_t Backslash = 220;
constexpr uint32_t RightBracket = 221;
constexpr uint32_t Apostrophe = 222;
} // namespace VirtualKey
