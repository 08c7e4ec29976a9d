#include "support/ImageFiles.h"

#include <boost/filesystem/operations.hpp>

#include <SDL.h>
#include <SDL_image.h>

#include <stdexcept>

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
