#include "content/Texture.h"
#include "objects/GameObject.h"
#include "objects/Position2dComponent.h"
#include "objects/SpriteComponent.h"
#include "shell/GameSettings.h"
#include "shell/SpriteBatch.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>

namespace
{
// A software renderer drawing into an 800 x 600 surface cleared to black,
// with the game's drawing objects in a settings record of its own.
class Canvas
{
public:
    Canvas()
    {
        surface = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888);
        settings.device = SDL_CreateSoftwareRenderer(surface);
        settings.spriteBatch = new SpriteBatch(settings.device);
        SDL_SetRenderDrawColor(settings.device, 0, 0, 0, 255);
        SDL_RenderClear(settings.device);
    }
    ~Canvas()
    {
        for (Texture* texture : textures)
            delete texture;
        delete settings.spriteBatch;
        SDL_DestroyRenderer(settings.device);
        SDL_FreeSurface(surface);
    }

    // A texture of one colour, or of two side by side, blended as the game's
    // textures are.
    Texture* MakeTexture(int width, int height, uint32_t argb, uint32_t rightArgb = 0)
    {
        SDL_Surface* pixels =
            SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
        SDL_FillRect(pixels, nullptr, argb);
        SDL_Rect right = {width / 2, 0, width - width / 2, height};
        if (rightArgb)
            SDL_FillRect(pixels, &right, rightArgb);
        Texture* texture = new Texture();
        texture->deviceTexture = SDL_CreateTextureFromSurface(settings.device, pixels);
        SDL_SetTextureBlendMode(texture->deviceTexture, SDL_BLENDMODE_BLEND);
        texture->width = static_cast<float>(width);
        texture->height = static_cast<float>(height);
        SDL_FreeSurface(pixels);
        textures.push_back(texture);
        return texture;
    }

    void DrawTree(GameObject* root)
    {
        settings.spriteBatch->Begin();
        settings.DrawObject(root);
        calls = settings.spriteBatch->End();
    }

    uint32_t Pixel(int x, int y) const
    {
        const auto* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
        return reinterpret_cast<const uint32_t*>(row)[x] & 0x00FFFFFF;
    }

    GameSettings settings;
    SDL_Surface* surface = nullptr;
    std::vector<Texture*> textures;
    int calls = 0;
};

GameObject* MakeSprite(Texture* texture, float width, float height, bool positioned, float x,
                       float y)
{
    GameObject* object = new GameObject();
    if (positioned)
    {
        Position2dComponent* position = new Position2dComponent();
        position->x = x;
        position->y = y;
        object->AddComponent(position);
    }
    SpriteComponent* sprite = new SpriteComponent();
    sprite->width = width;
    sprite->height = height;
    sprite->texture = texture;
    object->AddComponent(sprite);
    return object;
}
} // namespace

TEST(DrawObjectTest, UnplacedSpriteIsCentredOnTheCornerAndEmptyOrUntexturedOnesDrawNothing)
{
    Canvas canvas;
    Texture* white = canvas.MakeTexture(8, 8, 0xFFFFFFFF);
    GameObject root;
    root.AddChild(MakeSprite(white, 40, 20, false, 0, 0));
    root.AddChild(MakeSprite(white, 0, 50, true, 400, 300));
    root.AddChild(MakeSprite(white, 50, 0, true, 400, 300));
    // An undrawn object's children are still drawn.
    GameObject* holder = MakeSprite(nullptr, 10, 10, true, 600, 300);
    holder->AddChild(MakeSprite(white, 10, 10, true, 700, 500));
    root.AddChild(holder);
    canvas.DrawTree(&root);

    EXPECT_EQ(canvas.Pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(canvas.Pixel(19, 9), 0xFFFFFFu);
    EXPECT_EQ(canvas.Pixel(20, 0), 0u);
    EXPECT_EQ(canvas.Pixel(0, 10), 0u);
    EXPECT_EQ(canvas.Pixel(400, 300), 0u);
    EXPECT_EQ(canvas.Pixel(600, 300), 0u);
    EXPECT_EQ(canvas.Pixel(700, 500), 0xFFFFFFu);
}

TEST(DrawObjectTest, BatchDrawsOneRunPerTextureKeepingOrderWithinATexture)
{
    Canvas canvas;
    Texture* red = canvas.MakeTexture(4, 4, 0xFFFF0000);
    Texture* redGreen = canvas.MakeTexture(4, 4, 0xFFFF0000, 0xFF00FF00);
    Texture* halfBlue = canvas.MakeTexture(4, 4, 0x800000FF);
    GameObject root;
    // Three textures, three runs, whatever order the textures come in.
    root.AddChild(MakeSprite(redGreen, 20, 20, true, 100, 100));
    root.AddChild(MakeSprite(red, 20, 20, true, 300, 100));
    root.AddChild(MakeSprite(redGreen, 20, 20, true, 110, 100));
    root.AddChild(MakeSprite(halfBlue, 20, 20, true, 300, 300));
    canvas.DrawTree(&root);
    EXPECT_EQ(canvas.calls, 3);
    // Within a texture the later sprite covers the earlier: where the first
    // one's green half and the second one's red half overlap, red shows.
    EXPECT_EQ(canvas.Pixel(95, 100), 0xFF0000u);
    EXPECT_EQ(canvas.Pixel(105, 100), 0xFF0000u);
    EXPECT_EQ(canvas.Pixel(115, 100), 0x00FF00u);
    // Alpha blending with the texture's alpha over black.
    uint32_t blended = canvas.Pixel(300, 300);
    EXPECT_NEAR(static_cast<int>(blended & 0xFF), 128, 2);
    EXPECT_EQ(blended & 0xFFFF00, 0u);

    // A warm batch reuses its buffers and draws the same again.
    canvas.DrawTree(&root);
    EXPECT_EQ(canvas.calls, 3);
    canvas.settings.spriteBatch->Begin();
    EXPECT_EQ(canvas.settings.spriteBatch->End(), 0);
}
