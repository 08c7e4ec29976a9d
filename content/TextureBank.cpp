#include "content/TextureBank.h"

#include "content/Texture.h"

TextureBank::~TextureBank()
{
    for (auto& entry : textures)
        delete entry.second;
}
