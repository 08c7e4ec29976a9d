// The demo scene with N bouncing ships on the game's own services, window and
// renderer: prints the median milliseconds of the input pass, the update pass
// and the drawing per frame, and the largest N that fits in one 1/60 s step.
#include "audio/SoundManager.h"
#include "content/TextureManager.h"
#include "input/InputManager.h"
#include "objects/BouncingBall.h"
#include "objects/GameObject.h"
#include "objects/TestScreen.h"
#include "shell/Game.h"
#include "shell/GameSettings.h"
#include "shell/GameTime.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct FrameCost
{
    double input, update, draw;
};

FrameCost MeasureScene(int ships, int frames, const char** rendererName)
{
    Game game;
    game.CreateWindowAndDevice();
    Game::Textures->LoadBank("Main");
    Game::Sounds->LoadBank("Main");
    TestScreen* screen = new TestScreen();
    Game::Root->AddChild(screen);
    for (int i = static_cast<int>(screen->children.size()); i < ships; ++i)
        screen->AddChild(new BouncingBall());

    static SDL_RendererInfo info;
    SDL_GetRendererInfo(Game::Settings->device, &info);
    *rendererName = info.name;

    std::vector<double> input, update, draw;
    for (int frame = 0; frame < frames; ++frame)
    {
        Game::Time->elapsedSeconds = 1.0f / 60.0f;
        Game::Time->totalSeconds += Game::Time->elapsedSeconds;
        Game::Input->CopyKeysToPrevious();
        Clock::time_point start = Clock::now();
        Game::HandleInputPass(Game::Root);
        Clock::time_point afterInput = Clock::now();
        Game::UpdatePass(Game::Root);
        Clock::time_point afterUpdate = Clock::now();
        game.Render();
        // Reading a pixel back waits until the frame is really drawn.
        uint32_t pixel = 0;
        SDL_Rect one = {0, 0, 1, 1};
        SDL_RenderReadPixels(Game::Settings->device, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
        Clock::time_point end = Clock::now();
        if (frame == 0)
            continue; // warms the buffers
        input.push_back(Milliseconds(start, afterInput));
        update.push_back(Milliseconds(afterInput, afterUpdate));
        draw.push_back(Milliseconds(afterUpdate, end));
    }

    Game::Sounds->UnloadBank("Main");
    Game::Textures->UnloadBank("Main");
    game.ReleaseWindowAndDevice();
    return {Median(input), Median(update), Median(draw)};
}
} // namespace

int main()
{
    // The content comes from Content/ in the working folder, as for the game;
    // run elsewhere, the repository's own is used.
    if (access("Content", F_OK) != 0 && chdir(GAME_SOURCE_DIR) != 0)
    {
        std::perror("SceneBench: " GAME_SOURCE_DIR);
        return 1;
    }
    // No display is needed: the offscreen video driver and the silent audio
    // output are asked for unless the caller chose others.
    if (!SDL_getenv("SDL_VIDEODRIVER"))
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (!SDL_getenv("SDL_AUDIODRIVER"))
        SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");

    const int counts[] = {1000, 2000, 3000, 5000, 10000, 20000, 50000, 100000};
    int largestFitting = 0;
    for (int ships : counts)
    {
        const char* renderer = "";
        FrameCost cost = MeasureScene(ships, ships <= 10000 ? 31 : 11, &renderer);
        double total = cost.input + cost.update + cost.draw;
        std::printf("renderer %-10s ships %6d  input %7.3f ms  update %7.3f ms  draw %8.2f ms  "
                    "total %8.2f ms\n",
                    renderer, ships, cost.input, cost.update, cost.draw, total);
        std::fflush(stdout);
        if (total <= 1000.0 / 60.0)
            largestFitting = ships;
    }
    std::printf("largest count measured that fits in one 1/60 s step: %d\n", largestFitting);
    SDL_Quit();
    return 0;
}
