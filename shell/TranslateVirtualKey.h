#pragma once

#include <cstdint>

// The key value of a virtual-key code: the table's entry, or the code itself
// when it has none.
uint32_t TranslateVirtualKey(uint32_t virtualKey);
