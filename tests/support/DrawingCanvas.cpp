#include "support/DrawingCanvas.h"

#include "content/Texture.h"
#include "objects/GameObject.h"
#include "objects/Position2dComponent.h"
#include "objects/SpriteComponent.h"
#include "shell/SpriteBatch.h"
#include "shell/platform/RendererBackEnd.h"

#include <SDL.h>

DrawingCanvas::DrawingCanvas() : root(new GameObject()), compositor(3)
{
    for (SDL_Surface*& surface : surfaces)
        surface = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888);
    renderer = new RendererBackEnd(SDL_CreateSoftwareRenderer(surfaces[Renderer]), 800, 600);
    batches[Renderer] = new SpriteBatch(renderer);
    batches[Compositor] = new SpriteBatch(&compositor);
    compositor.SetTarget(static_cast<uint32_t*>(surfaces[Compositor]->pixels), 800, 600,
                         surfaces[Compositor]->pitch, 1.0f, 1.0f);
}

DrawingCanvas::~DrawingCanvas()
{
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
    delete renderer;
    for (SDL_Surface* surface : surfaces)
        SDL_FreeSurface(surface);
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
    Texture* texture = new Texture();
    texture->width = static_cast<float>(width);
    texture->height = static_cast<float>(height);
    textures.push_back(
        {texture, {renderer->CreateTexture(image), compositor.CreateTexture(image)}});
    texture->deviceTexture = textures.back().copies[Renderer];
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
    for (int path : {Renderer, Compositor})
    {
        // Each back end draws its own copies.
        for (Made& made : textures)
            made.texture->deviceTexture = made.copies[path];
        settings.spriteBatch = batches[path];
        batches[path]->Begin();
        settings.DrawObject(root);
        const int calls = batches[path]->End(Clear);
        if (path == Renderer)
            rendererCalls = calls;
    }
    settings.spriteBatch = nullptr;
}

uint32_t DrawingCanvas::Pixel(int path, int x, int y) const
{
    const SDL_Surface* surface = surfaces[path];
    const auto* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
    return reinterpret_cast<const uint32_t*>(row)[x] & 0x00ffffff;
}
