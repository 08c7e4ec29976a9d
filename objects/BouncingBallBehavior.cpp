#include "objects/BouncingBallBehavior.h"

#include "input/ActionNames.h"
#include "input/InputManager.h"
#include "objects/LcgRandom.h"
#include "objects/Position2dComponent.h"
#include "objects/SpriteComponent.h"
#include "shell/Game.h"
#include "shell/GameSettings.h"
#include "shell/GameTime.h"

#include <cmath>

void BouncingBallBehavior::Start()
{
    const int32_t r1 = LcgRandom::Next();
    const int32_t r2 = LcgRandom::Next();
    const int32_t r3 = LcgRandom::Next();
    const int32_t r4 = LcgRandom::Next();
    const int32_t r5 = LcgRandom::Next();
    velocity.x = static_cast<float>(r1 % 512 - 256);
    velocity.y = static_cast<float>(r2 % 512 - 256);
    position->x = static_cast<float>(r3 % Game::Settings->screenWidth);
    position->y = static_cast<float>(r4 % Game::Settings->screenHeight);
    const float factor = static_cast<float>(r5 % 100 + 25) / 200.0f;
    sprite->width *= factor;
    sprite->height *= factor;
}

void BouncingBallBehavior::Update()
{
    const float width = static_cast<float>(Game::Settings->screenWidth);
    const float height = static_cast<float>(Game::Settings->screenHeight);
    const float t = Game::Time->elapsedSeconds;

    // The centre is tested, strictly, before the move.
    if (position->x > width)
        velocity.x = -std::fabs(velocity.x);
    else if (position->x < 0.0f)
        velocity.x = std::fabs(velocity.x);
    if (position->y > height)
        velocity.y = -std::fabs(velocity.y);
    else if (position->y < 0.0f)
        velocity.y = std::fabs(velocity.y);

    position->x += velocity.x * t;
    position->y += velocity.y * t;
}

void BouncingBallBehavior::HandleInput()
{
    const InputManager* input = Game::Input;
    const char** actions = Game::ActionNames;
    // Later tests win: down over up, right over left.
    if (input->IsActionDown(actions[MoveUp], input->currentKeys))
        velocity.y = -std::fabs(velocity.y);
    if (input->IsActionDown(actions[MoveDown], input->currentKeys))
        velocity.y = std::fabs(velocity.y);
    if (input->IsActionDown(actions[MoveLeft], input->currentKeys))
        velocity.x = -std::fabs(velocity.x);
    if (input->IsActionDown(actions[MoveRight], input->currentKeys))
        velocity.x = std::fabs(velocity.x);
}
