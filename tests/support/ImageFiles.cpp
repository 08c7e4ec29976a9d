#include "support/ImageFiles.h"

#include <boost/filesystem/operations.hpp>

#include <SDL.h>
#include <SDL_image.h>

#include <zlib.h>

#include <stdexcept>
#include <vector>

void WritePng(const boost::filesystem::path& file, int width, int height, uint32_t rgba)
{
    boost::filesystem::create_directories(file.parent_path());
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA8888);
    if (!surface)
        throw std::runtime_error(SDL_GetError());
    SDL_FillRect(surface, nullptr, rgba);
    int result = IMG_SavePNG(surface, file.string().c_str());
    SDL_FreeSurface(surface);
    if (result != 0)
        throw std::runtime_error("cannot write " + file.string());
}

namespace
{
void AppendChunk(std::string* png, const char* type, const std::string& data)
{
    auto bigEndian = [png](uint32_t value)
    {
        for (int shift = 24; shift >= 0; shift -= 8)
            png->push_back(static_cast<char>(value >> shift));
    };
    const std::string body = type + data;
    bigEndian(static_cast<uint32_t>(data.size()));
    *png += body;
    bigEndian(static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}
} // namespace

std::string GreyPngBytes(uint32_t width, uint32_t height)
{
    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    for (uint32_t value : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            header.push_back(static_cast<char>(value >> shift));
    header += std::string("\x01\0\0\0\0", 5); // one bit, grey, no interlace
    AppendChunk(&png, "IHDR", header);
    // Each row: filter byte 0, then the bits.
    const std::vector<Bytef> rows((1 + (width + 7) / 8) * std::size_t(height), 0);
    uLongf size = compressBound(static_cast<uLong>(rows.size()));
    std::vector<Bytef> packed(size);
    compress2(packed.data(), &size, rows.data(), static_cast<uLong>(rows.size()), 9);
    AppendChunk(&png, "IDAT", std::string(packed.begin(), packed.begin() + size));
    AppendChunk(&png, "IEND", "");
    return png;
}
