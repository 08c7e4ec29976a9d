#include "objects/GameObject.h"
#include "objects/Position2dComponent.h"
#include "objects/SpriteComponent.h"
#include "support/DrawingCanvas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

namespace
{
const uint32_t Background = DrawingCanvas::Clear & 0xffffff;

GameObject* SpriteObject(Texture* texture, float width, float height)
{
    GameObject* object = new GameObject();
    object->AddComponent(new SpriteComponent());
    object->sprite->texture = texture;
    object->sprite->width = width;
    object->sprite->height = height;
    return object;
}
} // namespace

TEST(SpriteBatchTest, DrawsTheTreeSortedByTextureKeepingOrderWithinOne)
{
    DrawingCanvas canvas;
    Texture* white = canvas.MakeTexture(8, 8, 0xffffffff, 0xffffffff);
    Texture* redGreen = canvas.MakeTexture(4, 4, 0xffff0000, 0xff00ff00);
    Texture* halfBlue = canvas.MakeTexture(4, 4, 0x800000ff, 0x800000ff);
    // Without a position a sprite is centred on the corner; empty ones draw
    // nothing; an undrawn object's children are drawn.
    canvas.root->AddChild(SpriteObject(white, 40, 20));
    canvas.AddSprite(white, 400, 300, 0, 50);
    canvas.AddSprite(white, 400, 300, 50, 0);
    GameObject* holder = SpriteObject(nullptr, 10, 10);
    holder->AddChild(SpriteObject(white, 10, 10));
    holder->children[0]->AddComponent(new Position2dComponent());
    holder->children[0]->position->x = 700;
    holder->children[0]->position->y = 500;
    canvas.root->AddChild(holder);
    // Three textures, three runs, in the order the textures were made
    // whatever order their sprites come in and wherever they are in memory
    // (the later texture lies on top); within a texture the later sprite
    // covers the earlier: where the first one's green half and the second
    // one's red half overlap, red shows.
    canvas.AddSprite(redGreen, 100, 100, 20, 20);
    canvas.AddSprite(white, 300, 100, 20, 20);
    canvas.AddSprite(redGreen, 110, 100, 20, 20);
    canvas.AddSprite(halfBlue, 300, 300, 20, 20);
    canvas.AddSprite(halfBlue, 500, 100, 20, 20);
    canvas.AddSprite(white, 500, 100, 20, 20); // under the half blue
    for (int frame = 0; frame < 2; ++frame)    // the second time from a warm batch
    {
        canvas.Draw();
        EXPECT_EQ(canvas.gpuCalls, 3);
        for (int path : {DrawingCanvas::Gpu, DrawingCanvas::Compositor})
        {
            EXPECT_EQ(canvas.Pixel(path, 0, 0), 0xffffffu) << path;
            EXPECT_EQ(canvas.Pixel(path, 19, 9), 0xffffffu) << path;
            EXPECT_EQ(canvas.Pixel(path, 20, 0), Background) << path;
            EXPECT_EQ(canvas.Pixel(path, 0, 10), Background) << path;
            EXPECT_EQ(canvas.Pixel(path, 400, 300), Background) << path;
            EXPECT_EQ(canvas.Pixel(path, 700, 500), 0xffffffu) << path;
            EXPECT_EQ(canvas.Pixel(path, 95, 100), 0xff0000u) << path;
            EXPECT_EQ(canvas.Pixel(path, 105, 100), 0xff0000u) << path;
            EXPECT_EQ(canvas.Pixel(path, 115, 100), 0x00ff00u) << path;
            EXPECT_EQ(canvas.Pixel(path, 500, 100), 0x7f7fffu) << path;
            // Half blue over the background: each channel half of each.
            const uint32_t blended = canvas.Pixel(path, 300, 300);
            EXPECT_NEAR(static_cast<int>(blended >> 16), 0x10, 2) << path;
            EXPECT_NEAR(static_cast<int>((blended >> 8) & 0xff), 0x18, 2) << path;
            EXPECT_NEAR(static_cast<int>(blended & 0xff), 0xa0, 2) << path;
        }
    }

    // A frame that outgrows the GPU's buffer while it is queued, then one
    // drawn in the grown buffer: the sprites queued before the overflow and
    // after it all show.
    for (int i = 0; i < 2500; ++i)
        canvas.AddSprite(white, 600.5f + float(i % 50), 300.5f + float(i / 50), 1, 1);
    for (int frame = 0; frame < 2; ++frame)
    {
        canvas.Draw();
        EXPECT_EQ(canvas.gpuCalls, 3);
        for (int path : {DrawingCanvas::Gpu, DrawingCanvas::Compositor})
        {
            EXPECT_EQ(canvas.Pixel(path, 0, 0), 0xffffffu) << path;
            EXPECT_EQ(canvas.Pixel(path, 105, 100), 0xff0000u) << path;
            EXPECT_EQ(canvas.Pixel(path, 600, 300), 0xffffffu) << path;
            EXPECT_EQ(canvas.Pixel(path, 649, 349), 0xffffffu) << path;
            EXPECT_EQ(canvas.Pixel(path, 650, 349), Background) << path;
        }
    }
}
