#pragma once

#include <cstdint>
#include <vector>

// A 64 x 64 ship seen from above, pointing up, anti-aliased on a transparent
// background: straight RGBA bytes, row by row.
std::vector<uint8_t> DrawShipImage(int size);
