// The frame's message step with nothing to handle: the game window's
// HandleMessages (key events, the pads' subsystem up with no pad plugged in)
// beside a bare SDL_PollEvent loop on a window without the pads' subsystem.
// Prints ns a step, the median of 9 runs of 20 000 steps each.
//   MessageStepBench
#include "shell/GameWindow.h"
#include "shell/platform/Platform.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
constexpr int Steps = 20000;

template <typename Step> double MedianNsPerStep(Step step)
{
    std::vector<double> runs;
    for (int run = 0; run < 9; ++run)
    {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < Steps; ++i)
            step();
        const std::chrono::duration<double, std::nano> spent =
            std::chrono::steady_clock::now() - start;
        runs.push_back(spent.count() / Steps);
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}
} // namespace

int main()
{
    // Without a display, SDL's offscreen driver stands in.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    InstallPlatform();

    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        std::fprintf(stderr, "MessageStepBench: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* bare = SDL_CreateWindow("Bare", 0, 0, 800, 600, 0);
    const double bareNs = MedianNsPerStep(
        []
        {
            SDL_Event event;
            while (SDL_PollEvent(&event))
            {
            }
        });
    SDL_DestroyWindow(bare);

    const std::string video = SDL_GetCurrentVideoDriver();
    GameWindow* window = GameWindow::Open(800, 600, DrawingPath::Compositor, false);
    const double gameNs = MedianNsPerStep([window] { window->HandleMessages(); });
    delete window;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);

    std::printf("MESSAGE_STEP bare_poll_ns=%.0f game_with_pads_subsystem_ns=%.0f (video %s)\n",
                bareNs, gameNs, video.c_str());
    return 0;
}
