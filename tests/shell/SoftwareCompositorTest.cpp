#include "content/Texture.h"
#include "objects/GameObject.h"
#include "objects/Position2dComponent.h"
#include "objects/SpriteComponent.h"
#include "shell/GameSettings.h"
#include "shell/SoftwareCompositor.h"
#include "shell/SoftwareImage.h"
#include "shell/SpriteBatch.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace
{
const uint32_t Clear = 0xff203040;

// One scene drawn by both back ends into 800 x 600 surfaces: SDL's renderer
// (a software renderer here, the same calls a GPU gets) and the compositor,
// split into three bands so that sprites cross band edges.
class TwoPaths
{
public:
    TwoPaths() : compositor(3)
    {
        for (SDL_Surface*& surface : surfaces)
            surface = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888);
        renderer = SDL_CreateSoftwareRenderer(surfaces[0]);
        rendererBatch = new SpriteBatch(renderer);
        compositorBatch = new SpriteBatch(&compositor);
        compositor.SetTarget(static_cast<uint32_t*>(surfaces[1]->pixels), 800, 600,
                             surfaces[1]->pitch, 1.0f, 1.0f);
    }
    ~TwoPaths()
    {
        delete root;
        for (Texture* texture : textures)
            delete texture;
        delete rendererBatch;
        delete compositorBatch;
        SDL_DestroyRenderer(renderer);
        for (SDL_Surface* surface : surfaces)
            SDL_FreeSurface(surface);
    }

    // A texture whose left half is one colour and right half another.
    const Texture* MakeTexture(int width, int height, uint32_t leftArgb, uint32_t rightArgb)
    {
        SDL_Surface* pixels =
            SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
        SDL_Rect left = {0, 0, width / 2, height};
        SDL_Rect right = {width / 2, 0, width - width / 2, height};
        SDL_FillRect(pixels, &left, leftArgb);
        SDL_FillRect(pixels, &right, rightArgb);
        Texture* texture = new Texture();
        texture->deviceTexture = SDL_CreateTextureFromSurface(renderer, pixels);
        SDL_SetTextureBlendMode(texture->deviceTexture, SDL_BLENDMODE_BLEND);
        texture->image = new SoftwareImage(pixels, compositor.BandCount());
        texture->width = static_cast<float>(width);
        texture->height = static_cast<float>(height);
        SDL_FreeSurface(pixels);
        textures.push_back(texture);
        return texture;
    }

    void AddSprite(const Texture* texture, float x, float y, float width, float height)
    {
        GameObject* object = new GameObject();
        object->AddComponent(new Position2dComponent());
        object->position->x = x;
        object->position->y = y;
        object->AddComponent(new SpriteComponent());
        object->sprite->texture = const_cast<Texture*>(texture);
        object->sprite->width = width;
        object->sprite->height = height;
        root->AddChild(object);
    }

    void Draw()
    {
        settings.spriteBatch = rendererBatch;
        SDL_SetRenderDrawColor(renderer, 0x20, 0x30, 0x40, 0xff);
        SDL_RenderClear(renderer);
        rendererBatch->Begin();
        settings.DrawObject(root);
        rendererBatch->End();
        settings.spriteBatch = compositorBatch;
        compositorBatch->Begin();
        settings.DrawObject(root);
        compositorBatch->End(Clear);
        settings.spriteBatch = nullptr;
    }

    uint32_t Pixel(int path, int x, int y) const
    {
        const SDL_Surface* surface = surfaces[path];
        const auto* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
        return reinterpret_cast<const uint32_t*>(row)[x] & 0x00ffffff;
    }

    // True when the 3 x 3 pixels around (x, y) are one colour.
    bool Flat(int path, int x, int y) const
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (Pixel(path, x + dx, y + dy) != Pixel(path, x, y))
                    return false;
        return true;
    }

    SoftwareCompositor compositor;
    SDL_Surface* surfaces[2] = {};
    SDL_Renderer* renderer = nullptr;
    SpriteBatch* rendererBatch = nullptr;
    SpriteBatch* compositorBatch = nullptr;
    GameSettings settings;
    GameObject* root = new GameObject();
    std::vector<Texture*> textures;
};

int ChannelDifference(uint32_t a, uint32_t b)
{
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8)
        worst = std::max(worst, std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff)));
    return worst;
}
} // namespace

TEST(SoftwareCompositor, CoversThePixelsWhoseCentresLieInTheSprite)
{
    TwoPaths paths;
    const Texture* white = paths.MakeTexture(64, 64, 0xffffffff, 0xffffffff);
    paths.AddSprite(white, 100, 50, 32, 16);
    paths.AddSprite(white, 200.3f, 300, 4, 4); // small sprites take their own path
    paths.Draw();
    for (int path = 0; path < 2; ++path)
    {
        // 4 x 4 centred on (200.3, 300): x 198..201, y 298..301.
        EXPECT_EQ(paths.Pixel(path, 198, 298), 0xffffffu) << path;
        EXPECT_EQ(paths.Pixel(path, 201, 301), 0xffffffu) << path;
        EXPECT_EQ(paths.Pixel(path, 197, 300), Clear & 0xffffff) << path;
        EXPECT_EQ(paths.Pixel(path, 202, 300), Clear & 0xffffff) << path;
        EXPECT_EQ(paths.Pixel(path, 200, 297), Clear & 0xffffff) << path;
        EXPECT_EQ(paths.Pixel(path, 200, 302), Clear & 0xffffff) << path;
        // 32 x 16 centred on (100, 50): x 84..115, y 42..57.
        EXPECT_EQ(paths.Pixel(path, 84, 42), 0xffffffu) << path;
        EXPECT_EQ(paths.Pixel(path, 115, 57), 0xffffffu) << path;
        EXPECT_EQ(paths.Pixel(path, 83, 50), Clear & 0xffffff) << path;
        EXPECT_EQ(paths.Pixel(path, 116, 50), Clear & 0xffffff) << path;
        EXPECT_EQ(paths.Pixel(path, 100, 41), Clear & 0xffffff) << path;
        EXPECT_EQ(paths.Pixel(path, 100, 58), Clear & 0xffffff) << path;
    }
}

// Edges of filtered sprites differ between back ends (the renderer here
// samples the nearest texel, the compositor and GPUs filter bilinearly), so
// pixels next to an edge on either picture are left out. Everywhere else the
// colours come from the same blend of the same colours and may differ by
// rounding alone: premultiplying in 8 bits, then blending, loses at most a
// level or two, so 3 levels is the bound. Positions, sizes, order and colours
// that differ would leave whole flat regions apart.
TEST(SoftwareCompositor, ShowsWhatTheRendererShows)
{
    TwoPaths paths;
    const Texture* ship = paths.MakeTexture(64, 64, 0xffd02020, 0x802040e0);
    const Texture* glass = paths.MakeTexture(16, 16, 0x6040ff40, 0xc0ffffff);
    paths.AddSprite(ship, 400, 300, 256, 256);  // magnified, crossing a band edge
    paths.AddSprite(glass, 420, 310, 200, 120); // over it, another texture
    paths.AddSprite(ship, 430, 200, 48, 24);    // back to the first: sorted under the glass
    paths.AddSprite(glass, 10, 590, 100, 60);   // partly outside the frame
    paths.AddSprite(ship, 700, 100, 32, 200);   // stretched
    for (int i = 0; i < 12; ++i)                // small, over and beside the others
        paths.AddSprite(i % 2 ? glass : ship, 300.0f + 37.0f * i, 450.0f - 11.0f * i, 8, 6);
    paths.Draw();

    int compared = 0;
    int worst = 0;
    for (int y = 1; y < 599; ++y)
    {
        for (int x = 1; x < 799; ++x)
        {
            if (!paths.Flat(0, x, y) || !paths.Flat(1, x, y))
                continue;
            ++compared;
            int difference = ChannelDifference(paths.Pixel(0, x, y), paths.Pixel(1, x, y));
            worst = std::max(worst, difference);
            if (difference > 3)
            {
                ADD_FAILURE() << "pixel " << x << "," << y << std::hex << ": renderer "
                              << paths.Pixel(0, x, y) << ", compositor " << paths.Pixel(1, x, y);
                return;
            }
        }
    }
    EXPECT_GT(compared, 798 * 598 * 9 / 10);
}
