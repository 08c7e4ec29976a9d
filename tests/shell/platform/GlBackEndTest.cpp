#include "shell/platform/GlBackEnd.h"
#include "shell/platform/GlFunctions.h"
#include "shell/platform/Platform.h"

#include "shell/GameWindow.h"
#include "shell/SoftwareCompositor.h"
#include "support/DrawingCanvas.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A texture the GPU cannot hold is not made, so its loader names the file;
// a texture made may outlive the back end without touching the GL after it.
TEST(GlBackEnd, RefusesWhatTheGpuCannotHoldAndItsTexturesMayOutliveIt)
{
    std::unique_ptr<DrawingTexture> kept;
    {
        DrawingCanvas canvas;
        GlBackEnd* gpu = canvas.GpuBackEnd();
        const int side = gpu->MaxTextureSide();
        ASSERT_GE(side, 2048);
        EXPECT_EQ(gpu->CreateTexture({side + 1, 1, std::vector<uint32_t>(side + 1)}), nullptr);
        kept.reset(gpu->CreateTexture({4, 4, std::vector<uint32_t>(16, 0xffffffffu)}));
        ASSERT_NE(kept, nullptr);
    }
    kept.reset();
}

// Where the video driver has no OpenGL, the window still opens, drawn by the
// compositor, and one line on standard error says why, whether OpenGL was
// asked for or chosen by the machine.
TEST(GlBackEnd, WithoutOpenGlTheCompositorDrawsAndOneLineSaysWhy)
{
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "dummy", SDL_HINT_OVERRIDE);
    InstallPlatform();
    for (DrawingPath path : {DrawingPath::Gpu, DrawingPath::Automatic})
    {
        testing::internal::CaptureStderr();
        GameWindow* window = GameWindow::Open(800, 600, path, false);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(dynamic_cast<SoftwareCompositor*>(window->Device()), nullptr);
        EXPECT_NE(said.find("OpenGL cannot draw here"), std::string::npos) << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
        delete window;
    }
}

// A context lost with its GPU is made anew, with every live texture, and one
// line says so: the next frame is the same picture.
TEST(GlBackEnd, ALostContextIsMadeAnewWithItsTextures)
{
    DrawingCanvas paths;
    paths.AddSprite(paths.MakeTexture(64, 64, 0xffff0000u, 0x8000ff00u), 400, 300, 256, 128);
    auto row = [&paths](std::vector<uint32_t> pixels = {})
    {
        for (int x = 250; x < 550; x += 7)
            pixels.push_back(paths.Pixel(DrawingCanvas::Gpu, x, 300));
        return pixels;
    };
    paths.Draw();
    const std::vector<uint32_t> before = row();
    paths.GpuBackEnd()->Functions()->GetGraphicsResetStatus = []() -> GLenum
    { return GL_UNKNOWN_CONTEXT_RESET; };
    testing::internal::CaptureStderr();
    paths.Draw();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("lost its context; a new one draws"), std::string::npos) << said;
    EXPECT_EQ(row(), before);
    EXPECT_NE(before.front(), before[before.size() / 2]);
}
