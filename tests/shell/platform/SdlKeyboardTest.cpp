#include "input/Key.h"
#include "shell/TranslateVirtualKey.h"
#include "shell/platform/SdlKeyboard.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

namespace
{
// The key name an SDL key event comes to, or "" when it gives no key.
std::string FromSdl(SDL_Scancode scancode, SDL_Keycode keycode)
{
    SDL_Keysym keysym{};
    keysym.scancode = scancode;
    keysym.sym = keycode;
    uint32_t virtualKey = 0;
    if (!VirtualKeyFromSdl(keysym, &virtualKey))
        return "";
    const uint32_t key = TranslateVirtualKey(virtualKey);
    return key < KeyCount ? KeyNames[key] : "(" + std::to_string(key) + ")";
}
} // namespace

TEST(SdlKeyboard, SdlKeysBecomeVirtualKeys)
{
    // Both Shift, Ctrl and Alt keys share one code each; both Enter keys too.
    EXPECT_EQ(FromSdl(SDL_SCANCODE_LSHIFT, SDLK_LSHIFT), "Shift");
    EXPECT_EQ(FromSdl(SDL_SCANCODE_RSHIFT, SDLK_RSHIFT), "Shift");
    EXPECT_EQ(FromSdl(SDL_SCANCODE_RCTRL, SDLK_RCTRL), "Ctrl");
    EXPECT_EQ(FromSdl(SDL_SCANCODE_RALT, SDLK_RALT), "Alt");
    EXPECT_EQ(FromSdl(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER), "OemEnter");
    EXPECT_EQ(FromSdl(SDL_SCANCODE_DELETE, SDLK_DELETE), "Delete");
    EXPECT_EQ(FromSdl(SDL_SCANCODE_KP_7, SDLK_KP_7), "Keypad7");
    EXPECT_EQ(FromSdl(SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE), "Tilde");
    EXPECT_EQ(FromSdl(SDL_SCANCODE_F13, SDLK_F13), "(124)");

    // Letters and digits follow the layout's key code, not the key's place:
    // on a French layout the key in the place of Q types A.
    EXPECT_EQ(FromSdl(SDL_SCANCODE_Q, SDLK_a), "A");
    EXPECT_EQ(FromSdl(SDL_SCANCODE_SEMICOLON, SDLK_m), "M");
    // A digit-row key whose layout types a symbol still reads as its digit.
    EXPECT_EQ(FromSdl(SDL_SCANCODE_1, SDLK_AMPERSAND), "1");

    // Keys with no equivalent produce nothing.
    EXPECT_EQ(FromSdl(SDL_SCANCODE_MUTE, SDLK_MUTE), "");
    EXPECT_EQ(FromSdl(SDL_SCANCODE_KP_EQUALS, SDLK_KP_EQUALS), "");
}
