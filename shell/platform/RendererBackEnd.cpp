#include "shell/platform/RendererBackEnd.h"

#include "content/Texture.h"

namespace
{
class RendererTexture : public DrawingTexture
{
public:
    explicit RendererTexture(SDL_Texture* texture) : texture(texture) {}
    ~RendererTexture() override { SDL_DestroyTexture(texture); }

    SDL_Texture* const texture;
};
} // namespace

RendererBackEnd::RendererBackEnd(SDL_Renderer* renderer, int surfaceWidth, int surfaceHeight)
    : renderer(renderer), surfaceWidth(static_cast<float>(surfaceWidth)),
      surfaceHeight(static_cast<float>(surfaceHeight))
{
}

RendererBackEnd::~RendererBackEnd()
{
    SDL_DestroyRenderer(renderer);
}

DrawingTexture* RendererBackEnd::CreateTexture(const DecodedImage& image)
{
    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                             SDL_TEXTUREACCESS_STATIC, image.width, image.height);
    if (!texture)
        return nullptr;
    SDL_UpdateTexture(texture, nullptr, image.pixels.data(), image.width * 4);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
    return new RendererTexture(texture);
}

void RendererBackEnd::Present()
{
    SDL_RenderPresent(renderer);
}

void RendererBackEnd::EnsureIndices(std::size_t spriteCount)
{
    // Two triangles a quad, over vertices 0-1-2 and 2-3-0 of each sprite.
    std::size_t built = indices.size() / 6;
    if (built >= spriteCount)
        return;
    indices.resize(spriteCount * 6);
    for (std::size_t i = built; i < spriteCount; ++i)
    {
        int first = static_cast<int>(i * 4);
        int* quad = &indices[i * 6];
        quad[0] = first;
        quad[1] = first + 1;
        quad[2] = first + 2;
        quad[3] = first + 2;
        quad[4] = first + 3;
        quad[5] = first;
    }
}

int RendererBackEnd::DrawFrame(uint32_t clearArgb, const QueuedSprite* sprites, std::size_t count)
{
    // The drawing surface is scaled onto the output.
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight);
    SDL_RenderSetScale(renderer, outputWidth / surfaceWidth, outputHeight / surfaceHeight);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(renderer, (clearArgb >> 16) & 0xff, (clearArgb >> 8) & 0xff,
                           clearArgb & 0xff, 255);
    SDL_RenderClear(renderer);
    if (count == 0)
        return 0;
    vertices.resize(count * 4);
    EnsureIndices(count);
    const SDL_Color white = {255, 255, 255, 255};
    for (std::size_t i = 0; i < count; ++i)
    {
        const QueuedSprite& sprite = sprites[i];
        SDL_Vertex* quad = &vertices[i * 4];
        quad[0] = {{sprite.left, sprite.top}, white, {0.0f, 0.0f}};
        quad[1] = {{sprite.right, sprite.top}, white, {1.0f, 0.0f}};
        quad[2] = {{sprite.right, sprite.bottom}, white, {1.0f, 1.0f}};
        quad[3] = {{sprite.left, sprite.bottom}, white, {0.0f, 1.0f}};
    }

    // Each texture's run is one call; the indices of a run start at its first
    // vertex, so every call uses the same prebuilt index pattern.
    int calls = 0;
    std::size_t runStart = 0;
    while (runStart < count)
    {
        std::size_t runEnd = runStart + 1;
        while (runEnd < count && sprites[runEnd].texture == sprites[runStart].texture)
            ++runEnd;
        // Every texture drawn here was made by this back end.
        const Texture* texture = sprites[runStart].texture;
        SDL_Texture* source =
            texture ? static_cast<const RendererTexture*>(texture->deviceTexture)->texture
                    : nullptr;
        if (source)
        {
            int quads = static_cast<int>(runEnd - runStart);
            SDL_RenderGeometry(renderer, source, &vertices[runStart * 4], quads * 4, indices.data(),
                               quads * 6);
            ++calls;
        }
        runStart = runEnd;
    }
    return calls;
}
