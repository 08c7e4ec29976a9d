#include "input/Key.h"
#include "shell/SdlKeyboard.h"
#include "shell/TranslateVirtualKey.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

namespace
{
uint32_t Value(Key key)
{
    return static_cast<uint32_t>(key);
}

std::string NameOf(uint32_t virtualKey)
{
    uint32_t key = TranslateVirtualKey(virtualKey);
    return key < KeyCount ? KeyNames[key] : "(" + std::to_string(key) + ")";
}

// The virtual-key code that an SDL key event produces, or 0 for none.
uint32_t FromSdl(SDL_Scancode scancode, SDL_Keycode keycode)
{
    SDL_Keysym keysym{};
    keysym.scancode = scancode;
    keysym.sym = keycode;
    uint32_t virtualKey = 0;
    return VirtualKeyFromSdl(keysym, &virtualKey) ? virtualKey : 0;
}
} // namespace

TEST(KeyTranslationTest, TableTranslatesEveryEntry)
{
    EXPECT_EQ(VirtualKeyTableSize, 100); // the 99 keys and Delete

    const std::pair<uint32_t, const char*> named[] = {
        {8, "Backspace"},
        {9, "Tab"},
        {13, "OemEnter"},
        {16, "Shift"},
        {17, "Ctrl"},
        {18, "Alt"},
        {19, "Pause"},
        {20, "CapsLock"},
        {27, "Esc"},
        {32, "Space"},
        {33, "PageUp"},
        {34, "PageDown"},
        {35, "End"},
        {36, "Home"},
        {37, "Left"},
        {38, "Up"},
        {39, "Right"},
        {40, "Down"},
        {44, "PrintScreen"},
        {45, "Insert"},
        {46, "Delete"},
        {91, "LeftWindows"},
        {92, "RightWindows"},
        {93, "Application"},
        {106, "KeypadAsterisk"},
        {107, "KeypadPlus"},
        {109, "KeypadMinus"},
        {110, "KeypadPeriod"},
        {111, "KeypadSlash"},
        {144, "NumLock"},
        {145, "ScrollLock"},
        {186, "Semicolon"},
        {187, "Equals"},
        {188, "Comma"},
        {189, "OemMinus"},
        {190, "OemPeriod"},
        {191, "OemSlash"},
        {192, "Tilde"},
        {219, "LeftBracket"},
        {220, "Backslash"},
        {221, "RightBracket"},
        {222, "Apostrophe"},
    };
    std::set<uint32_t> translated;
    for (const auto& [code, name] : named)
    {
        EXPECT_EQ(NameOf(code), name) << "code " << code;
        translated.insert(code);
    }
    for (uint32_t digit = 0; digit < 10; ++digit)
    {
        EXPECT_EQ(NameOf(48 + digit), std::to_string(digit));
        EXPECT_EQ(NameOf(96 + digit), "Keypad" + std::to_string(digit));
        translated.insert(48 + digit);
        translated.insert(96 + digit);
    }
    for (uint32_t letter = 0; letter < 26; ++letter)
    {
        EXPECT_EQ(NameOf(65 + letter), std::string(1, static_cast<char>('A' + letter)));
        translated.insert(65 + letter);
    }
    for (uint32_t f = 0; f < 12; ++f)
    {
        EXPECT_EQ(NameOf(112 + f), "F" + std::to_string(f + 1));
        translated.insert(112 + f);
    }
    EXPECT_EQ(translated.size(), 100u);

    // Every other code passes through unchanged, F13 (124) among them.
    for (uint32_t code = 0; code < 256; ++code)
    {
        if (translated.count(code) == 0)
        {
            EXPECT_EQ(TranslateVirtualKey(code), code) << "code " << code;
        }
    }
    EXPECT_EQ(TranslateVirtualKey(124), 124u);
}

TEST(KeyTranslationTest, NoCodeYieldsTheKeysWithoutAnEntry)
{
    std::set<uint32_t> produced;
    for (uint32_t code = 1; code < 256; ++code)
        produced.insert(TranslateVirtualKey(code));
    for (Key key : {Key::None, Key::RightShift, Key::KeypadEnter, Key::EnumLast})
        EXPECT_FALSE(produced.count(Value(key))) << KeyNames[Value(key)];
    // Delete's code reaches Delete, not the value of A that 46 would be.
    EXPECT_EQ(TranslateVirtualKey(46), Value(Key::Delete));
    EXPECT_NE(TranslateVirtualKey(46), Value(Key::A));
}

TEST(KeyTranslationTest, SdlKeysBecomeVirtualKeys)
{
    // Both Shift, Ctrl and Alt keys share one code each; both Enter keys too.
    EXPECT_EQ(NameOf(FromSdl(SDL_SCANCODE_LSHIFT, SDLK_LSHIFT)), "Shift");
    EXPECT_EQ(NameOf(FromSdl(SDL_SCANCODE_RSHIFT, SDLK_RSHIFT)), "Shift");
    EXPECT_EQ(NameOf(FromSdl(SDL_SCANCODE_RCTRL, SDLK_RCTRL)), "Ctrl");
    EXPECT_EQ(NameOf(FromSdl(SDL_SCANCODE_RALT, SDLK_RALT)), "Alt");
    EXPECT_EQ(NameOf(FromSdl(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER)), "OemEnter");
    EXPECT_EQ(NameOf(FromSdl(SDL_SCANCODE_RETURN, SDLK_RETURN)), "OemEnter");

    EXPECT_EQ(NameOf(FromSdl(SDL_SCANCODE_DELETE, SDLK_DELETE)), "Delete");
    EXPECT_EQ(NameOf(FromSdl(SDL_SCANCODE_UP, SDLK_UP)), "Up");
    EXPECT_EQ(NameOf(FromSdl(SDL_SCANCODE_SPACE, SDLK_SPACE)), "Space");
    EXPECT_EQ(NameOf(FromSdl(SDL_SCANCODE_KP_7, SDLK_KP_7)), "Keypad7");
    EXPECT_EQ(NameOf(FromSdl(SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS)), "KeypadPlus");
    EXPECT_EQ(NameOf(FromSdl(SDL_SCANCODE_F12, SDLK_F12)), "F12");
    EXPECT_EQ(FromSdl(SDL_SCANCODE_F13, SDLK_F13), 124u);
    EXPECT_EQ(NameOf(FromSdl(SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE)), "Tilde");

    // Letters and digits follow the layout's key code, not the key's place:
    // on a French layout the key in the place of Q types A.
    EXPECT_EQ(NameOf(FromSdl(SDL_SCANCODE_Q, SDLK_a)), "A");
    EXPECT_EQ(NameOf(FromSdl(SDL_SCANCODE_SEMICOLON, SDLK_m)), "M");
    EXPECT_EQ(NameOf(FromSdl(SDL_SCANCODE_0, SDLK_0)), "0");
    // A digit-row key whose layout types a symbol still reads as its digit.
    EXPECT_EQ(NameOf(FromSdl(SDL_SCANCODE_1, SDLK_AMPERSAND)), "1");

    // Keys with no equivalent produce nothing.
    EXPECT_EQ(FromSdl(SDL_SCANCODE_MUTE, SDLK_MUTE), 0u);
    EXPECT_EQ(FromSdl(SDL_SCANCODE_KP_EQUALS, SDLK_KP_EQUALS), 0u);
}
