#include "support/DrawingCanvas.h"

#include "content/Texture.h"
#include "objects/AddressSanitizer.h"
#include "objects/GameObject.h"
#include "objects/Position2dComponent.h"
#include "objects/SpriteComponent.h"
#include "shell/SpriteBatch.h"
#include "shell/platform/GlBackEnd.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace
{
// Mesa keeps memory of its own past the context's end, which the leak
// checker would report: what the canvas's OpenGL calls allocate is not
// checked for leaks.
struct UncheckedForLeaks
{
#if defined(GAME_ADDRESS_SANITIZER)
    UncheckedForLeaks()
    {
        __lsan_disable();
    }
    ~UncheckedForLeaks()
    {
        __lsan_enable();
    }
#endif
};
} // namespace

DrawingCanvas::DrawingCanvas() : root(new GameObject()), compositor(3)
{
    for (std::vector<uint32_t>& picture : pixels)
        picture.resize(800 * 600);
    [[maybe_unused]] UncheckedForLeaks unchecked;
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE);
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    // A debug context, so that the GL reports every error as it happens.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, SDL_GL_CONTEXT_DEBUG_FLAG);
    std::string failure;
    gpu = GlBackEnd::OpenWindow("", 800, 600, SDL_WINDOW_HIDDEN, {GlApi::Desktop, GlApi::Embedded},
                                false, &window, &failure);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, 0);
    if (!gpu)
        throw std::runtime_error("no OpenGL: " + failure);
    errorsCounted = gpu->CountErrors();
    batches[Gpu] = new SpriteBatch(gpu);
    batches[Compositor] = new SpriteBatch(&compositor);
    compositor.SetTarget(pixels[Compositor].data(), 800, 600, 800 * 4, 1.0f, 1.0f);
}

DrawingCanvas::~DrawingCanvas()
{
    [[maybe_unused]] UncheckedForLeaks unchecked;
    delete root;
    for (Made& made : textures)
    {
        made.texture->deviceTexture = nullptr;
        delete made.texture;
        for (DrawingTexture* copy : made.copies)
            delete copy;
    }
    for (SpriteBatch* batch : batches)
        delete batch;
    delete gpu;
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

Texture* DrawingCanvas::MakeTexture(int width, int height, uint32_t leftArgb, uint32_t rightArgb)
{
    DecodedImage image;
    image.width = width;
    image.height = height;
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
            image.pixels.push_back(x < width / 2 ? leftArgb : rightArgb);
    }
    return MakeTexture(image);
}

Texture* DrawingCanvas::MakeTexture(const DecodedImage& image)
{
    Texture* texture = new Texture();
    texture->width = static_cast<float>(image.width);
    texture->height = static_cast<float>(image.height);
    textures.push_back({texture, {gpu->CreateTexture(image), compositor.CreateTexture(image)}});
    texture->deviceTexture = textures.back().copies[Gpu];
    return texture;
}

void DrawingCanvas::AddSprite(const Texture* texture, float x, float y, float width, float height)
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

void DrawingCanvas::Draw()
{
    [[maybe_unused]] UncheckedForLeaks unchecked;
    for (int path : {Gpu, Compositor})
    {
        // Each back end draws its own copies.
        for (Made& made : textures)
            made.texture->deviceTexture = made.copies[path];
        settings.spriteBatch = batches[path];
        batches[path]->Begin();
        settings.DrawObject(root);
        const int calls = batches[path]->End(Clear);
        if (path == Gpu)
            gpuCalls = calls;
    }
    gpu->ReadPixels(800, 600, pixels[Gpu].data());
    settings.spriteBatch = nullptr;
    EXPECT_EQ(gpu->ErrorsCounted(), 0) << "the GL reported errors (" << gpu->Renderer() << ")";
}

std::string DrawingCanvas::Renderer() const
{
    return gpu->Renderer();
}

uint32_t DrawingCanvas::Pixel(int path, int x, int y) const
{
    return pixels[path][static_cast<std::size_t>(y) * 800 + x] & 0x00ffffff;
}
