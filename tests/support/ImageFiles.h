#pragma once

#include <boost/filesystem/path.hpp>

#include <cstdint>
#include <string>

// Writes a real PNG of the given size filled with one RGBA colour, with SDL2_image.
void WritePng(const boost::filesystem::path& file, int width, int height, uint32_t rgba);

// The bytes of a real one-bit grey PNG, all black, written chunk by chunk:
// small on disk whatever its size.
std::string GreyPngBytes(uint32_t width, uint32_t height);
