#include "audio/MusicManager.h"
#include "input/InputManager.h"
#include "objects/BouncingBallBehavior.h"
#include "objects/GameObject.h"
#include "objects/Position2dComponent.h"
#include "objects/SpriteComponent.h"
#include "objects/TestScreen.h"
#include "shell/FramePacer.h"
#include "shell/Game.h"
#include "shell/GameSettings.h"
#include "shell/GameTime.h"
#include "support/SceneServices.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace
{
// FNV-1a over the bytes of the values given.
class StateHash
{
public:
    template <typename Value> void Add(Value value)
    {
        unsigned char bytes[sizeof(Value)];
        std::memcpy(bytes, &value, sizeof(Value));
        for (unsigned char byte : bytes)
            hash = (hash ^ byte) * 1099511628211ull;
    }
    uint64_t hash = 14695981039346656037ull;
};

// The keys held in a frame of the script.
std::vector<Key> KeysAt(int frame)
{
    if (frame >= 40 && frame < 60)
        return {Key::Space};
    if (frame >= 60 && frame < 100)
        return {Key::W, Key::A};
    if (frame >= 100 && frame < 120)
        return {Key::W, Key::S, Key::Left, Key::Right}; // down and right win
    if (frame >= 150 && frame < 155)
        return {Key::Backspace};
    if (frame >= 155 && frame < 160)
        return {Key::Space, Key::Backspace};
    if (frame >= 200 && frame < 240)
        return {Key::Down, Key::D};
    return {};
}
} // namespace

// The scene run for 400 frames of scripted keys on a scripted clock (frames a
// little late, some steps late, one stall), with the generator reset: every
// ship's position, velocity and size, the clear colour, the ship count and the
// music's volume hash to one value. Any change to the scene's arithmetic, the
// draws or the pacing changes it.
TEST(SceneDeterminismTest, AScriptedRunHashesToItsKnownState)
{
    SceneServices services;
    TestScreen* screen = new TestScreen();
    Game::Root->AddChild(screen);
    const int64_t frequency = 1000000000;
    FramePacer pacer;
    pacer.Start(frequency, 60, 0);
    int64_t now = 0;
    StateHash state;
    for (int frame = 0; frame < 400; ++frame)
    {
        now = pacer.nextDeadline + (frame % 7) * 1000;
        if (frame % 50 == 25)
            now += 5 * pacer.step / 2; // credited three steps
        if (frame == 300)
            now += frequency; // credited six steps, the rest dropped
        pacer.BeginFrame(now, 60, 5, Game::Time);
        Game::Input->CopyKeysToPrevious();
        for (uint32_t key = 0; key < KeyCount; ++key)
            Game::Input->KeyUp(key);
        for (Key key : KeysAt(frame))
            Game::Input->KeyDown(static_cast<uint32_t>(key));
        Game::HandleInputPass(Game::Root);
        Game::UpdatePass(Game::Root);

        const Rgba8& clear = Game::Settings->clearColor;
        state.Add(clear.red);
        state.Add(clear.green);
        state.Add(clear.blue);
        state.Add(screen->children.size());
        float volume = -1.0f;
        Game::Music->channel.GetVolume(&volume);
        state.Add(volume);
    }
    for (GameObject* ship : screen->children)
    {
        const Velocity2d velocity = static_cast<BouncingBallBehavior*>(ship->behaviors[0])->velocity;
        for (float value : {ship->position->x, ship->position->y, velocity.x, velocity.y,
                            ship->sprite->width, ship->sprite->height})
            state.Add(value);
    }
    EXPECT_EQ(screen->children.size(), 160u);
    EXPECT_EQ(state.hash, 13422129739286881439ull);
}
