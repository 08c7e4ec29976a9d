#include "shell/platform/SdlKeyboard.h"

#include "shell/VirtualKey.h"

#include <SDL.h>

namespace
{
uint32_t FromScanCode(SDL_Scancode scancode)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return VirtualKey::LetterA + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return VirtualKey::Digit0 + 1 + (scancode - SDL_SCANCODE_1);
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return VirtualKey::F1 + (scancode - SDL_SCANCODE_F1);
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24)
        return VirtualKey::F1 + 12 + (scancode - SDL_SCANCODE_F13);
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9)
        return VirtualKey::Keypad0 + 1 + (scancode - SDL_SCANCODE_KP_1);

    switch (scancode)
    {
    case SDL_SCANCODE_0:
        return VirtualKey::Digit0;
    case SDL_SCANCODE_RETURN:
        return VirtualKey::Enter;
    case SDL_SCANCODE_KP_ENTER:
        return VirtualKey::Enter;
    case SDL_SCANCODE_ESCAPE:
        return VirtualKey::Escape;
    case SDL_SCANCODE_BACKSPACE:
        return VirtualKey::Backspace;
    case SDL_SCANCODE_TAB:
        return VirtualKey::Tab;
    case SDL_SCANCODE_SPACE:
        return VirtualKey::Space;
    case SDL_SCANCODE_MINUS:
        return VirtualKey::Minus;
    case SDL_SCANCODE_EQUALS:
        return VirtualKey::Equals;
    case SDL_SCANCODE_LEFTBRACKET:
        return VirtualKey::LeftBracket;
    case SDL_SCANCODE_RIGHTBRACKET:
        return VirtualKey::RightBracket;
    case SDL_SCANCODE_BACKSLASH:
        return VirtualKey::Backslash;
    case SDL_SCANCODE_NONUSHASH:
        return VirtualKey::Backslash;
    case SDL_SCANCODE_SEMICOLON:
        return VirtualKey::Semicolon;
    case SDL_SCANCODE_APOSTROPHE:
        return VirtualKey::Apostrophe;
    case SDL_SCANCODE_GRAVE:
        return VirtualKey::Grave;
    case SDL_SCANCODE_COMMA:
        return VirtualKey::Comma;
    case SDL_SCANCODE_PERIOD:
        return VirtualKey::Period;
    case SDL_SCANCODE_SLASH:
        return VirtualKey::Slash;
    case SDL_SCANCODE_CAPSLOCK:
        return VirtualKey::CapsLock;
    case SDL_SCANCODE_PRINTSCREEN:
        return VirtualKey::PrintScreen;
    case SDL_SCANCODE_SCROLLLOCK:
        return VirtualKey::ScrollLock;
    case SDL_SCANCODE_PAUSE:
        return VirtualKey::Pause;
    case SDL_SCANCODE_INSERT:
        return VirtualKey::Insert;
    case SDL_SCANCODE_HOME:
        return VirtualKey::Home;
    case SDL_SCANCODE_PAGEUP:
        return VirtualKey::PageUp;
    case SDL_SCANCODE_DELETE:
        return VirtualKey::Delete;
    case SDL_SCANCODE_END:
        return VirtualKey::End;
    case SDL_SCANCODE_PAGEDOWN:
        return VirtualKey::PageDown;
    case SDL_SCANCODE_RIGHT:
        return VirtualKey::Right;
    case SDL_SCANCODE_LEFT:
        return VirtualKey::Left;
    case SDL_SCANCODE_DOWN:
        return VirtualKey::Down;
    case SDL_SCANCODE_UP:
        return VirtualKey::Up;
    case SDL_SCANCODE_NUMLOCKCLEAR:
        return VirtualKey::NumLock;
    case SDL_SCANCODE_KP_DIVIDE:
        return VirtualKey::KeypadDivide;
    case SDL_SCANCODE_KP_MULTIPLY:
        return VirtualKey::KeypadMultiply;
    case SDL_SCANCODE_KP_MINUS:
        return VirtualKey::KeypadSubtract;
    case SDL_SCANCODE_KP_PLUS:
        return VirtualKey::KeypadAdd;
    case SDL_SCANCODE_KP_0:
        return VirtualKey::Keypad0;
    case SDL_SCANCODE_KP_PERIOD:
        return VirtualKey::KeypadDecimal;
    case SDL_SCANCODE_APPLICATION:
        return VirtualKey::Application;
    case SDL_SCANCODE_MENU:
        return VirtualKey::Application;
    case SDL_SCANCODE_LCTRL:
        return VirtualKey::Control;
    case SDL_SCANCODE_RCTRL:
        return VirtualKey::Control;
    case SDL_SCANCODE_LSHIFT:
        return VirtualKey::Shift;
    case SDL_SCANCODE_RSHIFT:
        return VirtualKey::Shift;
    case SDL_SCANCODE_LALT:
        return VirtualKey::Alt;
    case SDL_SCANCODE_RALT:
        return VirtualKey::Alt;
    case SDL_SCANCODE_LGUI:
        return VirtualKey::LeftSystem;
    case SDL_SCANCODE_RGUI:
        return VirtualKey::RightSystem;
    default:
        return 0;
    }
}
} // namespace

bool VirtualKeyFromSdl(const SDL_Keysym& keysym, uint32_t* virtualKey)
{
    SDL_Keycode code = keysym.sym;
    if (code >= SDLK_a && code <= SDLK_z)
        *virtualKey = VirtualKey::LetterA + static_cast<uint32_t>(code - SDLK_a);
    else if (code >= SDLK_0 && code <= SDLK_9)
        *virtualKey = VirtualKey::Digit0 + static_cast<uint32_t>(code - SDLK_0);
    else
        *virtualKey = FromScanCode(keysym.scancode);
    return *virtualKey != 0;
}
