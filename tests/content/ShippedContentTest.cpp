#include "content/ContentJson.h"
#include "input/ActionNames.h"
#include "input/InputManager.h"
#include "shell/Game.h"
#include "tools/KlezmerScore.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_image.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace
{
const std::string Root = std::string(GAME_SOURCE_DIR) + "/Content/";
}

TEST(ShippedContent, KeyMappingsMapEveryActionToTwoKeys)
{
    Game::ActionNames = CreateActionNames();
    InputManager input;
    input.LoadKeyMappings(Root + "Config/KeyMappings.json");
    for (int action = 0; action < ActionCount; ++action)
    {
        auto range = input.keyMappings.equal_range(Game::ActionNames[action]);
        ASSERT_EQ(std::distance(range.first, range.second), 2) << Game::ActionNames[action];
        for (auto it = range.first; it != range.second; ++it)
            EXPECT_NE(it->second, Key::None);
    }
    EXPECT_EQ(input.keyMappings.count(nullptr), 0u);
    delete[] Game::ActionNames;
    Game::ActionNames = nullptr;
}

TEST(ShippedContent, ShipIsASixtyFourPixelImageOnATransparentBackground)
{
    SDL_Surface* loaded = IMG_Load((Root + "Textures/Main/Ship.png").c_str());
    ASSERT_NE(loaded, nullptr) << IMG_GetError();
    SDL_Surface* ship = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    ASSERT_EQ(ship->w, 64);
    ASSERT_EQ(ship->h, 64);
    auto alpha = [&](int x, int y)
    { return static_cast<uint8_t*>(ship->pixels)[y * ship->pitch + x * 4 + 3]; };
    EXPECT_EQ(alpha(0, 0), 0);
    EXPECT_EQ(alpha(63, 0), 0);
    EXPECT_EQ(alpha(0, 63), 0);
    EXPECT_EQ(alpha(63, 63), 0);
    EXPECT_EQ(alpha(32, 30), 255);
    int partial = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            partial += alpha(x, y) > 0 && alpha(x, y) < 255;
    EXPECT_GT(partial, 50); // anti-aliased edges
    SDL_FreeSurface(ship);
}

TEST(ShippedContent, CueFilesNameSoundsOfTheirBank)
{
    for (const char* cue : {"Tap", "Click"})
    {
        boost::property_tree::ptree tree = ReadContentJson(Root + "Sound/Main/" + cue + ".json");
        int layers = 0;
        for (const auto& layer : ReadChild(tree, "Layers"))
        {
            std::string file = Root + "Sound/Main/" + ReadText(layer.second, "Sound") + ".wav";
            SF_INFO info = {};
            SNDFILE* sound = sf_open(file.c_str(), SFM_READ, &info);
            EXPECT_NE(sound, nullptr) << file;
            if (sound)
                sf_close(sound);
            ++layers;
        }
        EXPECT_GE(layers, 2) << cue;
    }
}

TEST(ShippedContent, MusicLoopsOnBarBoundariesWithoutASeam)
{
    boost::property_tree::ptree tree = ReadContentJson(Root + "Music/Klezmer.json");
    const int start = ReadInt(ReadChild(tree, "LoopStartSample"));
    const int end = ReadInt(ReadChild(tree, "LoopEndSample"));
    EXPECT_EQ(start, KlezmerScore::LoopStartFrame);
    EXPECT_EQ(end, KlezmerScore::LoopEndFrame);
    EXPECT_EQ(start % KlezmerScore::FramesPerBar, 0);
    EXPECT_EQ((end + 1) % KlezmerScore::FramesPerBar, 0);

    SF_INFO info = {};
    SNDFILE* music = sf_open((Root + "Music/Klezmer.ogg").c_str(), SFM_READ, &info);
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(info.samplerate, KlezmerScore::SampleRate);
    EXPECT_EQ(info.channels, 2);
    std::vector<float> samples(static_cast<std::size_t>(end + 1 + 1000) * 2);
    const sf_count_t frames = sf_readf_float(music, samples.data(), end + 1 + 1000);
    sf_close(music);
    ASSERT_GE(frames, end + 1);
    const double seconds = double(frames) / info.samplerate;
    EXPECT_GE(seconds, 20.0);
    EXPECT_LE(seconds, 40.0);

    // The step across the seam (end, then start) is like the steps around it.
    auto at = [&](int frame, int channel)
    { return samples[static_cast<std::size_t>(frame) * 2 + channel]; };
    for (int channel = 0; channel < 2; ++channel)
    {
        float largestStep = 0.0f;
        for (int i = end - 2000; i < end; ++i)
            largestStep = std::max(largestStep, std::fabs(at(i + 1, channel) - at(i, channel)));
        for (int i = start; i < start + 2000; ++i)
            largestStep = std::max(largestStep, std::fabs(at(i + 1, channel) - at(i, channel)));
        EXPECT_LE(std::fabs(at(start, channel) - at(end, channel)), 1.5f * largestStep + 0.01f);
    }
    float peak = 0.0f;
    for (sf_count_t i = 0; i < frames * 2; ++i)
        peak = std::max(peak, std::fabs(samples[i]));
    EXPECT_LT(peak, 1.0f);
}
