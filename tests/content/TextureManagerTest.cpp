#include "content/Texture.h"
#include "content/TextureBank.h"
#include "content/TextureManager.h"
#include "shell/GameSettings.h"
#include "shell/HeadlessGame.h"
#include "support/ImageFiles.h"
#include "support/TempFolder.h"

#include <boost/filesystem/operations.hpp>
#include <gtest/gtest.h>

#include <SDL.h>

#include <string>

#include <sys/stat.h>

namespace
{
// Textures are created on a headless game's back end, in a fresh Content tree.
class TextureManagerTest : public ::testing::Test
{
protected:
    TextureManagerTest() : workingDirectory(folder.Path())
    {
        folder.MakeFolder("Content/Music");
        headless = new HeadlessGame();
        textures = Game::Textures;
    }
    ~TextureManagerTest() override { delete headless; }

    TempFolder folder;
    WorkingDirectory workingDirectory;
    HeadlessGame* headless = nullptr;
    TextureManager* textures = nullptr;
};
} // namespace

TEST_F(TextureManagerTest, LoadsEveryPngOfTheBankFolderByStem)
{
    WritePng("Content/Textures/Main/Ship.png", 64, 32, 0xff0000ff);
    WritePng("Content/Textures/Main/a.b.png", 3, 5, 0x00ff00ff);
    WritePng("Content/Textures/Main/Upper.PNG", 2, 2, 0x0000ffff);
    WritePng("Content/Textures/Main/ship.png", 4, 4, 0x0000ffff);
    WritePng("Content/Textures/Main/Extra/Hidden.png", 4, 4, 0x0000ffff);
    folder.WriteText("Content/Textures/Main/Ship.txt", "not an image");
    folder.WriteText("Content/Textures/Main/Broken.png", "not an image either");

    textures->LoadBank("Main");
    TextureBank* bank = textures->banks.at("Main");
    EXPECT_EQ(bank->textures.size(), 5u);

    Texture* ship = textures->GetTexture("Ship");
    ASSERT_NE(ship, nullptr);
    EXPECT_NE(ship->deviceTexture, nullptr);
    EXPECT_EQ(ship->width, 64.0f);
    EXPECT_EQ(ship->height, 32.0f);
    ASSERT_NE(textures->GetTexture("a.b"), nullptr);
    EXPECT_EQ(textures->GetTexture("a.b")->height, 5.0f);
    EXPECT_NE(textures->GetTexture("Upper"), nullptr);
    EXPECT_NE(textures->GetTexture("ship"), ship);
    EXPECT_EQ(textures->GetTexture("Hidden"), nullptr);
    EXPECT_EQ(bank->textures.count("Broken"), 1u); // a failed image is kept as null
    EXPECT_EQ(textures->GetTexture("Broken"), nullptr);

    // A loaded bank is not loaded again.
    textures->LoadBank("Main");
    EXPECT_EQ(textures->GetTexture("Ship"), ship);

    textures->UnloadBank("Main");
    EXPECT_TRUE(textures->banks.empty());
    EXPECT_EQ(textures->GetTexture("Ship"), nullptr);
    textures->UnloadBank("Main");
    textures->UnloadBank("Other");
    // A missing bank folder throws and registers nothing.
    EXPECT_THROW(textures->LoadBank("Gone"), boost::filesystem::filesystem_error);
    EXPECT_TRUE(textures->banks.empty());
}

TEST_F(TextureManagerTest, LookupsVisitBanksInNameOrderAndAFailedImageHidesLaterOnes)
{
    WritePng("Content/Textures/B/Ship.png", 8, 8, 0xffffffff);
    WritePng("Content/Textures/B/Only.png", 8, 8, 0xffffffff);
    WritePng("Content/Textures/A/Ship.png", 16, 16, 0xffffffff);
    folder.WriteText("Content/Textures/A/Only.png", "broken");
    textures->LoadBank("B");
    textures->LoadBank("A");
    EXPECT_EQ(textures->GetTexture("Ship")->width, 16.0f);
    EXPECT_EQ(textures->GetTexture("Only"), nullptr);
    textures->UnloadBank("A");
    EXPECT_NE(textures->GetTexture("Only"), nullptr);
}

TEST_F(TextureManagerTest, OversizedOrMislabelledImagesAreNullTexturesWithoutDecoding)
{
    // A valid signature and IHDR claiming 100 000 x 100 000, then nothing:
    // decoding it would ask for 40 GB.
    std::string huge("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    huge += std::string("\0\x01\x86\xa0\0\x01\x86\xa0\x08\x06\0\0\0", 13) + "crc!";
    folder.WriteText("Huge.png", huge);
    // A BMP named .png, and a FIFO where an image should be.
    SDL_Surface* bitmap = SDL_CreateRGBSurfaceWithFormat(0, 4, 4, 32, SDL_PIXELFORMAT_RGBA8888);
    SDL_SaveBMP(bitmap, (folder.Path() / "Bitmap.png").c_str());
    SDL_FreeSurface(bitmap);
    ASSERT_EQ(mkfifo((folder.Path() / "Fifo.png").c_str(), 0600), 0);
    // A whole PNG of more pixels than a texture may have, 2 KB on disk; and
    // 41 bytes whose second chunk declares more bytes than the file holds.
    folder.WriteText("Vast.png", GreyPngBytes(4097, 4097));
    folder.WriteText("Cut.png",
                     GreyPngBytes(8, 8).substr(0, 33) + std::string("\0\0\x03\xe8tEXt", 8));
    folder.WriteText("Whole.png", GreyPngBytes(8, 8));
    Texture* whole = CreateTexture(Game::Settings->device, (folder.Path() / "Whole.png").c_str());
    EXPECT_NE(whole, nullptr) << "the same image uncut loads";
    delete whole;
    for (const char* name : {"Huge.png", "Bitmap.png", "Fifo.png", "Vast.png", "Cut.png"})
        EXPECT_EQ(CreateTexture(Game::Settings->device, (folder.Path() / name).c_str()), nullptr)
            << name;
}
