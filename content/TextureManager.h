#pragma once

#include <map>
#include <string>

class Texture;
class TextureBank;

// The texture service: banks of PNG textures loaded from Content/Textures/<bank>.
class TextureManager
{
public:
    TextureManager() = default;
    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;
    // Unloads whatever bank is still loaded.
    virtual ~TextureManager();

    // Makes the textures on Game::Settings->device, which must exist.
    void LoadBank(std::string name);
    void UnloadBank(std::string name);

    // The first bank, in name order, that has the name decides; null if none.
    Texture* GetTexture(const std::string& name) const;

    std::map<std::string, TextureBank*> banks;
};
