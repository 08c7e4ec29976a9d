#pragma once

#include <cstdint>

struct SDL_Keysym;

// The virtual-key code of an SDL key event. Letters and digits come from the
// key code, so that they follow the keyboard layout; the other keys come from
// the scan code. Left and right variants share one code. Returns false for a
// key with no virtual-key equivalent.
bool VirtualKeyFromSdl(const SDL_Keysym& keysym, uint32_t* virtualKey);
