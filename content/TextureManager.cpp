#include "content/TextureManager.h"

#include "content/ContentFolder.h"
#include "content/Texture.h"
#include "content/TextureBank.h"

TextureManager::~TextureManager()
{
    for (auto& entry : banks)
        delete entry.second;
}

void TextureManager::LoadBank(std::string name)
{
    auto found = banks.find(name);
    if (found != banks.end() && found->second)
        return;

    // The bank is registered only once complete; a failed listing leaves nothing.
    TextureBank* bank = new TextureBank();
    try
    {
        ScanContentFolder(BankFolder(ContentFolders::Textures, name),
                          [bank](const ContentEntry& entry)
                          {
                              if (entry.extension != ".png")
                                  return;
                              Texture*& slot = bank->textures[entry.name];
                              delete slot; // a file of the same stem listed earlier
                              slot = CreateTexture(entry.path.string().c_str());
                          });
    }
    catch (...)
    {
        delete bank;
        throw;
    }
    banks[name] = bank;
}

void TextureManager::UnloadBank(std::string name)
{
    auto found = banks.find(name);
    if (found == banks.end() || !found->second)
        return;
    delete found->second;
    banks.erase(found);
}

Texture* TextureManager::GetTexture(const std::string& name) const
{
    for (const auto& bank : banks)
    {
        if (!bank.second)
            continue;
        auto found = bank.second->textures.find(name);
        if (found != bank.second->textures.end())
            return found->second;
    }
    return nullptr;
}
