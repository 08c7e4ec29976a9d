#include "content/Texture.h"

#include "content/ContentFile.h"
#include "content/ImageDecoder.h"
#include "shell/DrawingBackEnd.h"

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

// The size a PNG's header declares; false when the bytes do not start as a PNG.
bool ReadPngSize(const std::string& bytes, uint32_t* width, uint32_t* height)
{
    // The signature, then the IHDR chunk, which a PNG must have first.
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (bytes.size() < 24 || std::memcmp(bytes.data(), signature, 8) != 0 ||
        std::memcmp(bytes.data() + 12, "IHDR", 4) != 0)
        return false;
    const unsigned char* ihdr = reinterpret_cast<const unsigned char*>(bytes.data()) + 16;
    *width = BigEndian32(ihdr);
    *height = BigEndian32(ihdr + 4);
    return true;
}
} // namespace

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
        declaredHeight > MaxTextureSide)
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
