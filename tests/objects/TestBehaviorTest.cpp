#include "audio/MusicManager.h"
#include "audio/SoundManager.h"
#include "audio/engine/AudioSystem.h"
#include "input/InputManager.h"
#include "objects/BouncingBall.h"
#include "objects/BouncingBallBehavior.h"
#include "objects/Position2dComponent.h"
#include "objects/SpriteComponent.h"
#include "objects/TestScreen.h"
#include "shell/FramePacer.h"
#include "shell/Game.h"
#include "shell/GameSettings.h"
#include "support/SceneServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace
{
// FNV-1a over the bytes of a value.
template <typename Value> void Hash(uint64_t* hash, Value value)
{
    unsigned char bytes[sizeof(Value)];
    std::memcpy(bytes, &value, sizeof(Value));
    for (unsigned char byte : bytes)
        *hash = (*hash ^ byte) * 1099511628211ull;
}

// The keys held from a frame of the script on, until the next row.
const std::pair<int, std::vector<Key>> Script[] = {
    {0, {}},
    {40, {Key::Space}},
    {60, {Key::W, Key::A}},
    {100, {Key::W, Key::S, Key::Left, Key::Right}}, // down and right win
    {120, {}},
    {150, {Key::Backspace}},
    {155, {Key::Space, Key::Backspace}},
    {160, {}},
    {200, {Key::Down, Key::D}},
    {240, {}},
};

class TestBehaviorTest : public ::testing::Test
{
protected:
    TestBehaviorTest()
    {
        screen = new TestScreen();
        Game::Root->AddChild(screen);
    }

    // The loudest sample of the next frame's worth of audio.
    float Loudest()
    {
        std::vector<float> out(2 * 800);
        Game::Sounds->system->RenderOffline(out.data(), 800);
        float peak = 0.0f;
        for (float sample : out)
            peak = std::max(peak, std::fabs(sample));
        return peak;
    }

    void Hold(Key key) { Game::Input->KeyDown(static_cast<uint32_t>(key)); }
    void Release(Key key) { Game::Input->KeyUp(static_cast<uint32_t>(key)); }

    SceneServices services;
    TestScreen* screen = nullptr;
};
} // namespace

TEST_F(TestBehaviorTest, FeedbackCuesPlayEveryFifthHeldStepWhicheverActionIsHeld)
{
    services.Frame();
    Loudest();
    // Four steps of adding stay under the interval: no cue, only the quiet music.
    Hold(Key::Space);
    for (int i = 0; i < 4; ++i)
    {
        services.Frame();
        EXPECT_LT(Loudest(), 0.1f) << "step " << i;
    }
    Release(Key::Space);
    services.Frame();
    EXPECT_LT(Loudest(), 0.1f);
    // The held time is kept: the first step of removing passes the interval.
    Hold(Key::Backspace);
    services.Frame();
    EXPECT_GT(Loudest(), 0.2f) << "no cue";
    services.Frame();
    EXPECT_LT(Loudest(), 0.1f) << "the cue should not repeat at once";
}

// The scene run for 400 frames of scripted keys on a scripted clock (frames a
// little late, some steps late, one stall), with the generator reset: every
// ship's position, velocity and size, the clear colour, the ship count and the
// music's volume hash to one value. Any change to the scene's arithmetic, the
// draws or the pacing changes it.
TEST_F(TestBehaviorTest, AScriptedRunOfTheSceneHashesToItsKnownState)
{
    const int64_t frequency = 1000000000;
    FramePacer pacer;
    pacer.Start(frequency, 60, 0);
    uint64_t hash = 14695981039346656037ull;
    const std::vector<Key>* held = &Script[0].second;
    for (int frame = 0; frame < 400; ++frame)
    {
        int64_t now = pacer.nextDeadline + (frame % 7) * 1000;
        if (frame % 50 == 25)
            now += 5 * pacer.step / 2; // credited three steps
        if (frame == 300)
            now += frequency; // credited six steps, the rest dropped
        pacer.BeginFrame(now, 60, 5, Game::Time);
        for (uint32_t key = 0; key < KeyCount; ++key)
            Game::Input->KeyUp(key);
        for (const auto& [from, keys] : Script)
            held = from == frame ? &keys : held;
        for (Key key : *held)
            Game::Input->KeyDown(static_cast<uint32_t>(key));
        Game::Step();

        const Rgba8& clear = Game::Settings->clearColor;
        float volume = -1.0f;
        Game::Music->channel.GetVolume(&volume);
        for (float value : {float(clear.red), float(clear.green), float(clear.blue),
                            float(screen->children.size()), volume})
            Hash(&hash, value);
    }
    for (GameObject* ship : screen->children)
    {
        const Velocity2d velocity =
            static_cast<BouncingBallBehavior*>(ship->behaviors[0])->velocity;
        for (float value : {ship->position->x, ship->position->y, velocity.x, velocity.y,
                            ship->sprite->width, ship->sprite->height})
            Hash(&hash, value);
    }
    EXPECT_EQ(screen->children.size(), 160u);
    EXPECT_EQ(hash, 18311099120415145776ull);
}
