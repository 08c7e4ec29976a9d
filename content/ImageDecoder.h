#pragma once

#include "content/DecodedImage.h"

#include <string>

// Decodes a PNG file's bytes into straight-alpha ARGB pixels. Stands in for
// the platform's image codec; relies on SDL_image alone. False for bytes it
// cannot decode.
bool DecodePng(const std::string& bytes, DecodedImage* image);
