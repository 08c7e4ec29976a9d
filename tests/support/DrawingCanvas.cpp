#include "support/DrawingCanvas.h"

#include "content/Texture.h"
#include "objects/GameObject.h"
#include "objects/Position2dComponent.h"
#include "objects/SpriteComponent.h"
#include "shell/SoftwareImage.h"
#include "shell/SpriteBatch.h"

#include <SDL.h>

DrawingCanvas::DrawingCanvas() : root(new GameObject()), compositor(3)
{
    for (SDL_Surface*& surface : surfaces)
        surface = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888);
    renderer = SDL_CreateSoftwareRenderer(surfaces[Renderer]);
    batches[Renderer] = new SpriteBatch(renderer);
    batches[Compositor] = new SpriteBatch(&compositor);
    compositor.SetTarget(static_cast<uint32_t*>(surfaces[Compositor]->pixels), 800, 600,
                         surfaces[Compositor]->pitch, 1.0f, 1.0f);
}

DrawingCanvas::~DrawingCanvas()
{
    delete root;
    for (Texture* texture : textures)
        delete texture;
    for (SpriteBatch* batch : batches)
        delete batch;
    SDL_DestroyRenderer(renderer);
    for (SDL_Surface* surface : surfaces)
        SDL_FreeSurface(surface);
}

Texture* DrawingCanvas::MakeTexture(int width, int height, uint32_t leftArgb, uint32_t rightArgb)
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
    SDL_SetRenderDrawColor(renderer, 0x20, 0x30, 0x40, 0xff);
    SDL_RenderClear(renderer);
    for (int path : {Renderer, Compositor})
    {
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
