#include "content/Texture.h"
#include "shell/DrawingBackEnd.h"
#include "support/DrawingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace
{
const uint32_t Background = DrawingCanvas::Clear & 0xffffff;

// True when the 3 x 3 pixels around (x, y) are one colour.
bool Flat(const DrawingCanvas& canvas, int path, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (canvas.Pixel(path, x + dx, y + dy) != canvas.Pixel(path, x, y))
                return false;
    return true;
}

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
    DrawingCanvas paths;
    const Texture* white = paths.MakeTexture(64, 64, 0xffffffff, 0xffffffff);
    paths.AddSprite(white, 100, 50, 32, 16);
    paths.AddSprite(white, 200.3f, 300, 4, 4); // small sprites take their own path
    // Edges far from the origin, a tenth of a pixel past a centre: a GPU
    // placing them with less than full precision moves them a pixel.
    paths.AddSprite(white, 730.6f, 520.6f, 60, 40);
    paths.Draw();
    // 4 x 4 centred on (200.3, 300): x 198..201, y 298..301; 32 x 16 centred
    // on (100, 50): x 84..115, y 42..57; 60 x 40 from (700.6, 500.6): x
    // 701..760, y 501..540. Inside corners, then just outside.
    const int inside[][2] = {{198, 298}, {201, 301}, {84, 42}, {115, 57}, {701, 501}, {760, 540}};
    const int outside[][2] = {{197, 300}, {202, 300}, {200, 297}, {200, 302},
                              {83, 50},   {116, 50},  {100, 41},  {100, 58},
                              {700, 520}, {761, 520}, {730, 500}, {730, 541}};
    for (int path = 0; path < 2; ++path)
    {
        for (const auto& [x, y] : inside)
            EXPECT_EQ(paths.Pixel(path, x, y), 0xffffffu) << path << ": " << x << "," << y;
        for (const auto& [x, y] : outside)
            EXPECT_EQ(paths.Pixel(path, x, y), Background) << path << ": " << x << "," << y;
    }
}

// Drawn one to one, every pixel centre samples a texel's centre: the texel's
// own colour, never a blend of two, even where the texture coordinate is
// near 1 and a GPU computing it with less than full precision lands between.
TEST(SoftwareCompositor, DrawsATextureOneToOneTexelForPixel)
{
    DrawingCanvas paths;
    DecodedImage stripes{800, 2, std::vector<uint32_t>(1600)};
    for (std::size_t i = 0; i < stripes.pixels.size(); ++i)
        stripes.pixels[i] = i % 2 ? 0xffffffffu : 0xff000000u;
    paths.AddSprite(paths.MakeTexture(stripes), 400, 301, 800, 2);
    paths.Draw();
    for (int path = 0; path < 2; ++path)
        for (int x = 0; x < 800; ++x)
            ASSERT_EQ(paths.Pixel(path, x, 300), x % 2 ? 0xffffffu : 0u) << path << ": " << x;
}

// Edges of sprites differ between back ends by a level or so of coverage and
// filtering precision, so pixels next to an edge on either picture are left
// out. Everywhere else the
// colours come from the same blend of the same colours and may differ by
// rounding alone: premultiplying in 8 bits, then blending, loses at most a
// level or two, so 3 levels is the bound. Positions, sizes, order and colours
// that differ would leave whole flat regions apart.
TEST(SoftwareCompositor, ShowsWhatTheGpuShows)
{
    DrawingCanvas paths;
    const Texture* ship = paths.MakeTexture(64, 64, 0xffd02020, 0x802040e0);
    const Texture* glass = paths.MakeTexture(16, 16, 0x6040ff40, 0xc0ffffff);
    paths.AddSprite(ship, 400, 300, 256, 256);  // magnified, crossing a band edge
    paths.AddSprite(glass, 420, 310, 200, 120); // over it, another texture
    paths.AddSprite(ship, 430, 200, 48, 24);    // back to the first: sorted under the glass
    paths.AddSprite(glass, 10, 590, 100, 60);   // partly outside the frame
    paths.AddSprite(ship, 700, 100, 32, 200);   // stretched
    for (int i = 0; i < 12; ++i)                // small, over and beside the others
        paths.AddSprite(i % 2 ? glass : ship, 300.0f + 37.0f * i, 450.0f - 11.0f * i, 8, 6);
    // Hostile sizes: wider and taller than a GPU rasterises, and no area.
    paths.AddSprite(ship, 0, 530, 1e30f, 20);
    paths.AddSprite(glass, 750, 0, 30, 3e29f);
    paths.AddSprite(glass, 600, 480, -40, 20);
    paths.Draw();

    int compared = 0;
    int worst = 0;
    for (int y = 1; y < 599; ++y)
    {
        for (int x = 1; x < 799; ++x)
        {
            if (!Flat(paths, 0, x, y) || !Flat(paths, 1, x, y))
                continue;
            ++compared;
            int difference = ChannelDifference(paths.Pixel(0, x, y), paths.Pixel(1, x, y));
            worst = std::max(worst, difference);
            if (difference > 3)
            {
                ADD_FAILURE() << "pixel " << x << "," << y << std::hex << ": GPU "
                              << paths.Pixel(0, x, y) << ", compositor " << paths.Pixel(1, x, y);
                return;
            }
        }
    }
    EXPECT_GT(compared, 798 * 598 * 9 / 10);
}

// Bands split the frame between threads, never the picture: a scene of
// sprites from far below a pixel to larger than a band, at fractional
// places, comes out the same to the bit with 1, 2, 3 or 8 bands. A sprite
// much thinner than a pixel still covers the centre it crosses.
TEST(SoftwareCompositor, DrawsTheSamePictureWithAnyNumberOfBands)
{
    DecodedImage image{16, 16, std::vector<uint32_t>(256)};
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = 0x40000000u * uint32_t(1 + i % 3) + uint32_t(i * 0x010307);
    std::vector<uint32_t> first;
    for (int bands : {1, 2, 3, 8})
    {
        SoftwareCompositor compositor(bands);
        std::vector<uint32_t> pixels(800 * 600);
        compositor.SetTarget(pixels.data(), 800, 600, 800 * 4, 1.0f, 1.0f);
        Texture texture;
        texture.deviceTexture = compositor.CreateTexture(image);
        std::vector<SpriteRect> sprites;
        uint32_t seed = 12345;
        auto next = [&seed](float range)
        {
            seed = seed * 1664525u + 1013904223u;
            return range * float(seed >> 8) / float(1 << 24);
        };
        for (uint32_t i = 0; i < 400; ++i)
        {
            const float size = i % 4 == 0 ? next(300.0f) : next(12.0f);
            const float x = 200.0f + next(600.0f); // clear of the thin sprite
            const float y = next(600.0f);
            sprites.push_back({x, y, x + size, y + size * next(2.0f)});
        }
        sprites.push_back({100.4999f, 10.0f, 100.5001f, 590.0f});
        const TextureRun run = {texture.deviceTexture, 0, sprites.size()};
        compositor.DrawFrame(0xff000000u, sprites.data(), sprites.size(), &run, 1);
        EXPECT_NE(pixels[300 * 800 + 100] & 0xffffff, 0u) << bands << " bands: the thin sprite";
        if (first.empty())
            first = pixels;
        EXPECT_TRUE(pixels == first) << bands << " bands";
    }
}
