#include "shell/platform/GlBackEnd.h"

#include "shell/platform/GlFunctions.h"
#include "shell/platform/GlSpriteRuns.h"
#include "shell/platform/GlStreamRing.h"
#include "shell/platform/GlTextureRegistry.h"
#include "shell/platform/GlxSwapCounter.h"
#include "shell/platform/X11Frame.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

namespace
{
#ifdef GAME_TEST_TRACES
constexpr bool TestTraces = true;
#else
constexpr bool TestTraces = false;
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
                // Wayland always composites; on X11 a compositing manager may.
                const char* video = SDL_GetCurrentVideoDriver();
                const bool composited = (video && SDL_strcmp(video, "wayland") == 0) ||
                                        X11DesktopComposites(context->Window());
                backEnd->swapInterval = PresentGate::SwapInterval(waitForRetrace, composited);
                backEnd->SetSwapInterval();
                SDL_DisplayMode mode{};
                SDL_GetWindowDisplayMode(context->Window(), &mode);
                if (TestTraces)
                    std::fprintf(stderr, "GL presents: interval %d asked, %d kept; %d Hz; %s; %s\n",
                                 backEnd->swapInterval, SDL_GL_GetSwapInterval(), mode.refresh_rate,
                                 composited ? "composited" : "not composited",
                                 backEnd->swapCounter ? "swaps counted" : "fenced");
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
#ifdef GAME_TEST_TRACES
    // Test builds: every error the GL reports is printed.
    CountErrors();
#endif
    if (!textures)
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
    DeleteContextObjects();
    delete swapCounter;
    delete textures;
    delete context;
}

void GlBackEnd::DeleteContextObjects()
{
    if (presentFence)
        context->gl->DeleteSync(presentFence);
    presentFence = nullptr;
    delete runs;
    runs = nullptr;
    delete ring;
    ring = nullptr;
}

bool GlBackEnd::ContextUsable()
{
    GlFunctions* gl = context->gl;
    if (!lost)
    {
        const GLenum reset = gl->GetGraphicsResetStatus ? gl->GetGraphicsResetStatus() : 0;
        if (reset == GL_NO_ERROR && gl->GetError() != GL_CONTEXT_LOST)
            return true;
        // What the context held went with it; the textures' pixels did not.
        DeleteContextObjects();
        textures->ForgetNames();
        gate = PresentGate();
        lost = true;
        lossTold = false;
        framesUntilRemake = 0;
    }
    if (framesUntilRemake-- > 0)
        return false;
    std::string failure;
    const bool remade = context->Remake(&failure) && Start(&failure);
    if (!remade)
    {
        // Told once; tried again every second, the window black meanwhile.
        if (!lossTold)
            std::fprintf(stderr,
                         "OpenGL: the GPU lost its context, and no new one can be made "
                         "yet (%s)\n",
                         failure.c_str());
        lossTold = true;
        DeleteContextObjects();
        framesUntilRemake = 60;
        return false;
    }
    SetSwapInterval();
    const bool all = textures->MakeAgain();
    std::fprintf(stderr, "OpenGL: the GPU lost its context; a new one draws, with %s\n",
                 all ? "every texture" : "the textures it has memory for");
    lost = false;
    return true;
}

void GlBackEnd::SetSwapInterval()
{
    // The retrace is waited for only where the frames shown can be counted:
    // elsewhere the gate could not see a queue build up behind the display,
    // and a present would wait for it.
    delete swapCounter;
    swapCounter = nullptr;
    if (swapInterval > 0 && SDL_GL_SetSwapInterval(swapInterval) == 0 &&
        SDL_GL_GetSwapInterval() > 0)
        swapCounter = GlxSwapCounter::ForCurrentContext();
    if (!swapCounter)
        SDL_GL_SetSwapInterval(0);
}

uint64_t GlBackEnd::FramesDone()
{
    uint64_t shown = 0;
    if (swapCounter && swapCounter->Read(&shown))
        return shown;
    if (presentFence)
    {
        if (context->gl->ClientWaitSync(presentFence, GL_SYNC_FLUSH_COMMANDS_BIT, 0) ==
            GL_TIMEOUT_EXPIRED)
            return gate.presented - 1;
        context->gl->DeleteSync(presentFence);
        presentFence = nullptr;
    }
    return gate.presented;
}

DrawingTexture* GlBackEnd::CreateTexture(const DecodedImage& image)
{
    return textures->Create(image, maxTextureSide, !lost);
}

int GlBackEnd::DrawFrame(uint32_t clearArgb, const SpriteRect* rects, std::size_t count,
                         const TextureRun* textureRuns, std::size_t runCount)
{
    dropping = !ContextUsable() || !gate.Admits(FramesDone());
    if (dropping)
        return 0;
    GlFunctions* gl = context->gl;
    int clientWidth = 0;
    int clientHeight = 0;
    SDL_GL_GetDrawableSize(context->Window(), &clientWidth, &clientHeight);
    // Test builds tell the size drawn into, in pixels, whenever it changes.
    if (TestTraces && (clientWidth != drawnWidth || clientHeight != drawnHeight))
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
    if (dropping ||
        (SDL_GetWindowFlags(context->Window()) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)))
        return;
    SDL_GL_SwapWindow(context->Window());
    gate.Presented();
    presentFence = context->gl->FenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
}

void GlBackEnd::ReadPixels(int width, int height, uint32_t* argb)
{
    if (lost)
    {
        std::fill(argb, argb + static_cast<std::size_t>(width) * height, 0xff000000u);
        return;
    }
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
