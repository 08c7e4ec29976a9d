#include "content/Texture.h"

#include "content/ContentFile.h"
#include "content/ImageDecoder.h"
#include "shell/DrawingBackEnd.h"
#include "shell/Game.h"
#include "shell/GameSettings.h"

#include <cassert>
#include <cstdint>
#include <cstring>
#include <string>

namespace
{
const std::size_t MaxImageFileBytes = 256u * 1024 * 1024;

uint32_t BigEndian32(const unsigned char* bytes)
{
    return (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) |
           uint32_t(bytes[3]);
}

// The size a PNG's header declares; false when the bytes are not a whole PNG:
// the signature, the IHDR chunk first, then chunks that each lie within the
// file, up to IEND. The decoder never meets a chunk that runs past the end.
bool ReadPngSize(const std::string& bytes, uint32_t* width, uint32_t* height)
{
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.size() < 33 || std::memcmp(data, signature, 8) != 0 ||
        std::memcmp(data + 12, "IHDR", 4) != 0 || BigEndian32(data + 8) != 13)
        return false;
    *width = BigEndian32(data + 16);
    *height = BigEndian32(data + 20);
    for (std::size_t at = 8; bytes.size() - at >= 12;)
    {
        // Length, type, data, CRC: the length is at most 2^31 - 1.
        const uint32_t length = BigEndian32(data + at);
        if (length > 0x7fffffffu || length > bytes.size() - at - 12)
            return false;
        if (std::memcmp(data + at + 4, "IEND", 4) == 0)
            return true;
        at += 12 + std::size_t(length);
    }
    return false;
}
} // namespace

uint64_t Texture::made = 0;

Texture::~Texture()
{
    delete deviceTexture;
}

Texture* CreateTexture(DrawingBackEnd* device, const char* path)
{
    assert(device && "textures are made once the drawing back end exists");

    // The size the header declares is checked before anything is decoded, so
    // a hostile header cannot ask for gigabytes.
    std::string bytes;
    std::string reason;
    uint32_t declaredWidth = 0;
    uint32_t declaredHeight = 0;
    if (!ReadRegularFile(path, MaxImageFileBytes, &bytes, &reason) ||
        !ReadPngSize(bytes, &declaredWidth, &declaredHeight))
        return nullptr;
    if (declaredWidth == 0 || declaredHeight == 0 || declaredWidth > MaxTextureSide ||
        declaredHeight > MaxTextureSide ||
        uint64_t(declaredWidth) * declaredHeight > MaxTexturePixels)
        return nullptr;

    DecodedImage image;
    if (!DecodePng(bytes, &image))
        return nullptr;
    DrawingTexture* deviceTexture = device->CreateTexture(image);
    if (!deviceTexture)
        return nullptr;
    Texture* texture = new Texture();
    texture->deviceTexture = deviceTexture;
    texture->width = static_cast<float>(image.width);
    texture->height = static_cast<float>(image.height);
    return texture;
}

Texture* CreateTexture(const char* path)
{
    assert(Game::Settings && "textures are made once the game's services exist");
    return CreateTexture(Game::Settings->device, path);
}
