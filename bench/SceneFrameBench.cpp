// The demo scene's whole frame, timed as the peers' sprite benchmark times
// theirs: from one frame start to the next, over the game's loop body (key
// copy, audio update, events, both passes, clear, draw and present: Game::Step
// and Game::Render), after a
// warm-up, without pacing. Usage:
//   SceneFrameBench N [auto|gpu|software]
// run from a folder holding Content/ (the repository's own is used
// otherwise). BM_SCALE=s draws every ship at s times the texture's size;
// BM_FRAMES, BM_WARMUP, BM_WARMUP_SECONDS and BM_MAX_SECONDS bound the run.
// Prints one RESULT line in the peers' format, a PASSES line with the
// medians of the step (keys, audio update, events and the passes) and of the
// drawing, and a SPLIT line with the frame's parts apart in ns a ship: the
// input and update passes, the walk that queues the sprites, the batch's
// submission to the back end, and the present. A FLOOR line gives, in ns a
// ship, the same walks over the same ships reduced to the memory they read and
// write, with no calls and no checks: what the scene's layout alone costs.
#include "audio/SoundManager.h"
#include "audio/engine/AudioSystem.h"
#include "content/Texture.h"
#include "content/TextureManager.h"
#include "input/InputManager.h"
#include "objects/BouncingBall.h"
#include "objects/BouncingBallBehavior.h"
#include "objects/GameObject.h"
#include "objects/Position2dComponent.h"
#include "objects/SceneArena.h"
#include "objects/SpriteComponent.h"
#include "objects/TestScreen.h"
#include "shell/Game.h"
#include "shell/GameSettings.h"
#include "shell/GameTime.h"
#include "shell/SpriteBatch.h"
#include "shell/platform/GlBackEnd.h"
#include "shell/platform/Platform.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

double EnvNumber(const char* name, double fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? std::atof(text) : fallback;
}

double Quantile(std::vector<double> values, double q)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1,
                           static_cast<std::size_t>(q * (values.size() - 1) + 0.5))];
}

double ProcessCpuSeconds()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

// One game frame as Game::Run has it, without the pacing wait.
void Frame(std::vector<double>* steps, std::vector<double>* draw)
{
    Game::Time->elapsedSeconds = 1.0f / 60.0f;
    Game::Time->totalSeconds += Game::Time->elapsedSeconds;
    Clock::time_point start = Clock::now();
    Game::Step();
    Clock::time_point afterStep = Clock::now();
    Game::Render();
    Clock::time_point end = Clock::now();
    if (steps)
    {
        steps->push_back(Seconds(start, afterStep) * 1e3);
        draw->push_back(Seconds(afterStep, end) * 1e3);
    }
}

// The input pass, the update pass, the drawing walk and the copy into the
// GPU's ring, reduced to the bytes each reads and writes for a ship, timed
// apart (medians of 20, ns a ship). The ships move as in an update.
void PrintFloor(GameObject* screen)
{
    const std::size_t ships = screen->children.size();
    std::vector<float> rects(4 * ships);
    std::vector<float> ring(4 * ships);
    std::vector<double> parts[4];
    unsigned sink = 0;
    for (int i = 0; i < 20 && ships > 0; ++i)
    {
        Clock::time_point times[5];
        times[0] = Clock::now();
        for (GameObject* ship : screen->children)
            sink += ship->children.empty() && ship->behaviors[0]->started;
        times[1] = Clock::now();
        for (GameObject* ship : screen->children)
        {
            auto* behavior = static_cast<BouncingBallBehavior*>(ship->behaviors[0]);
            sink += ship->children.empty() && behavior->started;
            behavior->position->x += behavior->velocity.x * (1.0f / 60.0f);
            behavior->position->y += behavior->velocity.y * (1.0f / 60.0f);
        }
        times[2] = Clock::now();
        float* rect = rects.data();
        for (GameObject* ship : screen->children)
        {
            const SpriteComponent* sprite = ship->sprite;
            const Position2dComponent* position = ship->position;
            sink += ship->children.empty() && sprite->texture;
            rect[0] = position->x - sprite->width * 0.5f;
            rect[1] = position->y - sprite->height * 0.5f;
            rect[2] = position->x + sprite->width * 0.5f;
            rect[3] = position->y + sprite->height * 0.5f;
            rect += 4;
        }
        times[3] = Clock::now();
        std::memcpy(ring.data(), rects.data(), rects.size() * sizeof(float));
        times[4] = Clock::now();
        for (int part = 0; part < 4; ++part)
            parts[part].push_back(Seconds(times[part], times[part + 1]) * 1e9 / ships);
    }
    std::printf("FLOOR ns_per_ship input=%.1f update=%.1f walk=%.1f copy=%.1f (%u)\n",
                Quantile(parts[0], 0.5), Quantile(parts[1], 0.5), Quantile(parts[2], 0.5),
                Quantile(parts[3], 0.5),
                sink % 2 + (ring.empty() ? 0.0f : ring[0]) > 0.0f ? 1u : 0u);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3)
    {
        std::fprintf(stderr, "usage: SceneFrameBench N [auto|gpu|software]\n");
        return 2;
    }
    const int ships = std::max(0, std::atoi(argv[1]));
    const std::string pathName = argc == 3 ? argv[2] : "auto";
    if (access("Content", F_OK) != 0 && chdir(GAME_SOURCE_DIR) != 0)
    {
        std::perror("SceneFrameBench: " GAME_SOURCE_DIR);
        return 1;
    }
    if (!SDL_getenv("SDL_VIDEODRIVER") && !SDL_getenv("DISPLAY"))
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (!SDL_getenv("SDL_AUDIODRIVER"))
        SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
    const double scale = EnvNumber("BM_SCALE", 0.0);
    const int frames = static_cast<int>(EnvNumber("BM_FRAMES", 300));
    const int warmupFrames = static_cast<int>(EnvNumber("BM_WARMUP", 60));
    const double warmupSeconds = EnvNumber("BM_WARMUP_SECONDS", 5.0);
    const double maxSeconds = EnvNumber("BM_MAX_SECONDS", 20.0);

    InstallPlatform(); // as the game's own run does
    Game game;
    game.waitForRetrace = false;
    game.drawingPath = pathName == "gpu"        ? DrawingPath::Gpu
                       : pathName == "software" ? DrawingPath::Compositor
                                                : DrawingPath::Automatic;
    game.Prepare();
    GameObject* screen = new TestScreen();
    Game::Root->AddChild(screen);

    // The screen makes its first ships when it starts; then the count is set
    // and the new ships start in the next frame.
    Frame(nullptr, nullptr);
    while (static_cast<int>(screen->children.size()) > ships)
    {
        delete screen->children.back();
        screen->children.pop_back();
    }
    while (static_cast<int>(screen->children.size()) < ships)
        screen->AddChild(new BouncingBall());
    Frame(nullptr, nullptr);
    if (scale > 0.0)
    {
        for (GameObject* ship : screen->children)
        {
            if (ship->sprite && ship->sprite->texture)
            {
                ship->sprite->width = ship->sprite->texture->width * static_cast<float>(scale);
                ship->sprite->height = ship->sprite->texture->height * static_cast<float>(scale);
            }
        }
    }

    GlBackEnd* gpu = dynamic_cast<GlBackEnd*>(Game::Settings->device);
    const std::string renderer = gpu ? "OpenGL " + gpu->Renderer() : "software compositor";
    const std::string contender = std::string("project-") + (gpu ? "gpu" : "software");
    if (pathName == "auto")
        std::fprintf(stderr, "auto chose %s\n", contender.c_str());

    // Frame starts, as the peers take them.
    std::vector<double> intervals, passes, draw;
    Clock::time_point begin = Clock::now();
    int warmup = warmupFrames;
    for (int i = 0; i < warmup; ++i)
    {
        Frame(nullptr, nullptr);
        if (i > 3 && Seconds(begin, Clock::now()) > warmupSeconds)
            break;
    }
    Clock::time_point measureStart = Clock::now();
    const double cpuStart = ProcessCpuSeconds();
    Clock::time_point last = measureStart;
    while (static_cast<int>(intervals.size()) < frames)
    {
        Frame(&passes, &draw);
        Clock::time_point now = Clock::now();
        intervals.push_back(Seconds(last, now) * 1e3);
        last = now;
        if (Seconds(measureStart, now) > maxSeconds)
            break;
    }
    const double wall = Seconds(measureStart, last);
    const double cpu = ProcessCpuSeconds() - cpuStart;

    // The frame's parts apart, in ns a ship (medians of 20): the input pass,
    // the update pass, the walk that queues the sprites, the batch's end (its
    // sort check and the back end's submission; the compositor rasterises
    // here too, a GPU only queues), and the present.
    std::vector<double> parts[5];
    for (int i = 0; i < 20 && ships > 0; ++i)
    {
        Clock::time_point times[6];
        times[0] = Clock::now();
        Game::HandleInputPass(Game::Root);
        times[1] = Clock::now();
        Game::UpdatePass(Game::Root);
        times[2] = Clock::now();
        Game::Settings->spriteBatch->Begin();
        Game::Settings->DrawObject(Game::Root);
        times[3] = Clock::now();
        Game::Settings->spriteBatch->End(0xff000000u);
        times[4] = Clock::now();
        Game::Settings->device->Present();
        times[5] = Clock::now();
        for (int part = 0; part < 5; ++part)
            parts[part].push_back(Seconds(times[part], times[part + 1]) * 1e9 / ships);
    }

    double mean = 0.0;
    for (double v : intervals)
        mean += v;
    mean /= std::max<std::size_t>(1, intervals.size());
    std::printf("RESULT contender=%s n=%d scale=%s frames=%zu median_ms=%.3f p10_ms=%.3f "
                "p90_ms=%.3f max_ms=%.3f mean_ms=%.3f app_cpu_pct=%.0f renderer=\"%s\"\n",
                contender.c_str(), ships,
                scale > 0 ? std::to_string(scale).substr(0, 5).c_str() : "rand", intervals.size(),
                Quantile(intervals, 0.5), Quantile(intervals, 0.1), Quantile(intervals, 0.9),
                Quantile(intervals, 1.0), mean, 100.0 * cpu / wall, renderer.c_str());
    std::printf("PASSES passes_ms=%.3f draw_ms=%.3f\n", Quantile(passes, 0.5), Quantile(draw, 0.5));
    // A frame the GPU had not finished before the next was due is dropped.
    if (gpu)
        std::printf("DROPPED frames=%llu\n", static_cast<unsigned long long>(gpu->FramesDropped()));
    std::printf("SPLIT ns_per_ship input=%.1f update=%.1f walk=%.1f submit=%.1f present=%.1f\n",
                Quantile(parts[0], 0.5), Quantile(parts[1], 0.5), Quantile(parts[2], 0.5),
                Quantile(parts[3], 0.5), Quantile(parts[4], 0.5));
    // What the harness reads is out before anything else runs.
    std::fflush(stdout);
    PrintFloor(screen);
    std::fflush(stdout);

    game.Unload();
    return 0;
}
