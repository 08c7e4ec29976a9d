#pragma once

#include <map>
#include <string>

class Texture;

// One bank's textures by name; a null value is an image that failed to load.
class TextureBank
{
public:
    TextureBank() = default;
    TextureBank(const TextureBank&) = delete;
    TextureBank& operator=(const TextureBank&) = delete;
    virtual ~TextureBank();

    std::map<std::string, Texture*> textures; // owning
};
