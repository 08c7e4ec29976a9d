#include "shell/platform/GlBackEnd.h"

#include "shell/platform/GlFunctions.h"
#include "shell/platform/GlSpriteRuns.h"
#include "shell/platform/GlStreamRing.h"
#include "shell/platform/GlTextureRegistry.h"

#include <SDL.h>

#include <cstdio>

namespace
{
#ifdef GAME_GL_DEBUG
constexpr bool PrintsDrawableSize = true;
#else
constexpr bool PrintsDrawableSize = false;
#endif
} // namespace

GlBackEnd* GlBackEnd::OpenWindow(const char* title, int width, int height, uint32_t windowFlags,
                                 const std::vector<GlApi>& apis, bool waitForRetrace,
                                 SDL_Window** window, std::string* failure)
{
    failure->clear();
    for (GlApi api : apis)
    {
        std::string reason;
        if (GlContext* context = GlContext::Open(title, width, height, windowFlags, api, &reason))
        {
            GlBackEnd* backEnd = new GlBackEnd(context, width, height);
            if (backEnd->Start(&reason))
            {
#ifdef GAME_GL_DEBUG
                // Test builds: every error the GL reports is printed.
                backEnd->CountErrors();
#endif
                // A Wayland compositor shows whole frames whatever the
                // interval, and a swap that waits for it holds the loop
                // (for ever while the window is hidden): there, presents
                // never wait.
                const char* video = SDL_GetCurrentVideoDriver();
                const bool composited = video && SDL_strcmp(video, "wayland") == 0;
                SDL_GL_SetSwapInterval(waitForRetrace && !composited ? 1 : 0);
                *window = context->Window();
                return backEnd;
            }
            SDL_Window* made = context->Window();
            delete backEnd;
            SDL_DestroyWindow(made);
        }
        if (!failure->empty())
            failure->append("; ");
        failure->append(GlContext::ApiName(api)).append(": ").append(reason);
    }
    *window = nullptr;
    return nullptr;
}

GlBackEnd::GlBackEnd(GlContext* context, int surfaceWidth, int surfaceHeight)
    : context(context), surfaceWidth(static_cast<float>(surfaceWidth)),
      surfaceHeight(static_cast<float>(surfaceHeight))
{
}

bool GlBackEnd::Start(std::string* failure)
{
    GlFunctions* gl = context->gl;
    textures = new GlTextureRegistry(this, gl);
    ring = new GlStreamRing(gl);
    runs = new GlSpriteRuns(gl);
    if (!runs->Build(context->Api(), surfaceWidth, surfaceHeight, failure))
        return false;
    gl->GetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSide);
    gl->PixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl->PixelStorei(GL_PACK_ALIGNMENT, 4);
    if (const GLenum error = TakeGlErrors(gl))
    {
        *failure = "error " + std::to_string(error) + " while setting up";
        return false;
    }
    return true;
}

GlBackEnd::~GlBackEnd()
{
    context->MakeCurrent();
    delete runs;
    delete ring;
    delete textures;
    delete context;
}

DrawingTexture* GlBackEnd::CreateTexture(const DecodedImage& image)
{
    return textures->Create(image, maxTextureSide);
}

int GlBackEnd::DrawFrame(uint32_t clearArgb, const SpriteRect* rects, std::size_t count,
                         const TextureRun* textureRuns, std::size_t runCount)
{
    GlFunctions* gl = context->gl;
    int clientWidth = 0;
    int clientHeight = 0;
    SDL_GL_GetDrawableSize(context->Window(), &clientWidth, &clientHeight);
    // Test builds tell the size drawn into, in pixels, whenever it changes.
    if (PrintsDrawableSize && (clientWidth != drawnWidth || clientHeight != drawnHeight))
        std::fprintf(stderr, "GL drawable: %dx%d\n", clientWidth, clientHeight);
    drawnWidth = clientWidth;
    drawnHeight = clientHeight;
    gl->Viewport(0, 0, clientWidth, clientHeight);
    gl->ClearColor(((clearArgb >> 16) & 0xff) / 255.0f, ((clearArgb >> 8) & 0xff) / 255.0f,
                   (clearArgb & 0xff) / 255.0f, 1.0f);
    gl->Clear(GL_COLOR_BUFFER_BIT);
    if (count == 0)
        return 0;
    // A frame the GL cannot take is skipped: the clear colour alone.
    SpriteRect* mapped = ring->Map(count);
    if (!mapped)
        return 0;
    CopyClippingFarSprites(mapped, rects, count, surfaceWidth, surfaceHeight, &clipped);
    if (!ring->Unmap(count))
        return 0;
    const int calls = runs->Draw(textureRuns, runCount, clipped, ring->RegionOffset(), this);
    ring->Fence();
    return calls;
}

void GlBackEnd::Present()
{
    // A window nobody can see shows nothing, and a swap there may wait for a
    // retrace that never comes: the frame is dropped.
    if (SDL_GetWindowFlags(context->Window()) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN))
        return;
    SDL_GL_SwapWindow(context->Window());
}

void GlBackEnd::ReadPixels(int width, int height, uint32_t* argb)
{
    // Rows come bottom first, in RGBA bytes.
    std::vector<uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    context->gl->ReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    for (int y = 0; y < height; ++y)
    {
        const uint8_t* row = &rgba[static_cast<std::size_t>(height - 1 - y) * width * 4];
        for (int x = 0; x < width; ++x)
            argb[static_cast<std::size_t>(y) * width + x] =
                (uint32_t(row[4 * x + 3]) << 24) | (uint32_t(row[4 * x]) << 16) |
                (uint32_t(row[4 * x + 1]) << 8) | row[4 * x + 2];
    }
}
