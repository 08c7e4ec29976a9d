#include "shell/platform/WindowProc.h"

#include "input/InputManager.h"
#include "shell/Game.h"
#include "shell/platform/SdlKeyboard.h"
#include "shell/TranslateVirtualKey.h"

#include <SDL.h>

bool WindowProc(const SDL_Event& event)
{
    uint32_t virtualKey = 0;
    switch (event.type)
    {
    case SDL_KEYDOWN:
        // Auto-repeated presses set the flag again, which changes nothing.
        if (VirtualKeyFromSdl(event.key.keysym, &virtualKey))
            Game::Input->KeyDown(TranslateVirtualKey(virtualKey));
        return false;
    case SDL_KEYUP:
        if (VirtualKeyFromSdl(event.key.keysym, &virtualKey))
            Game::Input->KeyUp(TranslateVirtualKey(virtualKey));
        return false;
    case SDL_QUIT:
        return true;
    default:
        return false;
    }
}
