#pragma once

#include <boost/filesystem/path.hpp>

#include <cstdint>

// Writes a real PNG of the given size filled with one RGBA colour, with SDL2_image.
void WritePng(const boost::filesystem::path& file, int width, int height, uint32_t rgba);
