#include "objects/TestBehavior.h"

#include "audio/MusicManager.h"
#include "audio/SoundManager.h"
#include "input/ActionNames.h"
#include "input/InputManager.h"
#include "objects/BouncingBall.h"
#include "shell/Game.h"
#include "shell/GameSettings.h"
#include "shell/GameTime.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace
{
const float CueInterval = 0.07f;
const float StartVolume = 0.05f;

// 0 to 255 from a sine value, in single precision as the drift has always been.
uint8_t WaveByte(double sine)
{
    const float s = static_cast<float>(sine);
    return static_cast<uint8_t>(std::trunc(255.0f * (0.5f * s + 0.5f)));
}
} // namespace

void TestBehavior::Start()
{
    Game::Music->Play("Klezmer");
    if (Game::Music->channel.IsSet())
        Game::Music->channel.SetVolume(StartVolume);
}

void TestBehavior::HandleInput()
{
    const InputManager* input = Game::Input;
    const char** actions = Game::ActionNames;
    bool acted = false;

    if (input->IsActionDown(actions[AddObjects], input->currentKeys))
    {
        for (int i = 0; i < BallsPerFrame; ++i)
            owner->AddChild(new BouncingBall());
        acted = true;
        cueTimer += Game::Time->elapsedSeconds;
        if (cueTimer > CueInterval)
        {
            cueTimer = 0.0f;
            Game::Sounds->PlayCue("Tap");
        }
    }

    if (input->IsActionDown(actions[RemoveObjects], input->currentKeys))
    {
        // The oldest balls go first; the pass has not reached them yet. One
        // erase of the whole run keeps the others' order at a single shift.
        GameObject::List<GameObject*>& children = owner->children;
        const std::size_t count = std::min<std::size_t>(BallsPerFrame, children.size());
        for (std::size_t i = 0; i < count; ++i)
        {
            children[i]->parent = nullptr;
            delete children[i];
        }
        children.erase(children.begin(), children.begin() + static_cast<std::ptrdiff_t>(count));
        acted = true;
        cueTimer += Game::Time->elapsedSeconds;
        if (cueTimer > CueInterval)
        {
            cueTimer = 0.0f;
            Game::Sounds->PlayCue("Click");
        }
    }

    if (acted)
    {
        float volume = static_cast<float>(owner->children.size()) / 1000.0f;
        if (!(volume < 1.0f))
            volume = 1.0f;
        if (Game::Music->channel.IsSet())
            Game::Music->channel.SetVolume(volume);
    }
}

void TestBehavior::Update()
{
    const double t = Game::Time->totalSeconds;
    Rgba8& color = Game::Settings->clearColor;
    color.red = WaveByte(std::sin(t));
    color.green = WaveByte(std::sin(t * 0.77));
    color.blue = WaveByte(std::sin(t * 0.55));
}
