#include "content/TextureManager.h"
#include "input/InputManager.h"
#include "objects/BouncingBall.h"
#include "objects/BouncingBallBehavior.h"
#include "objects/LcgRandom.h"
#include "objects/Position2dComponent.h"
#include "objects/SpriteComponent.h"
#include "shell/Game.h"
#include "shell/GameTime.h"
#include "support/SceneServices.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
class BouncingBallTest : public ::testing::Test
{
protected:
    BouncingBallBehavior* BehaviorOf(GameObject* ball)
    {
        return static_cast<BouncingBallBehavior*>(ball->behaviors.at(0));
    }

    SceneServices services;
};
} // namespace

TEST_F(BouncingBallTest, StartsFromTheFirstFiveDraws)
{
    GameObject* ball = new BouncingBall();
    Game::Root->AddChild(ball);
    EXPECT_EQ(ball->sprite->texture, Game::Textures->GetTexture("Ship"));
    EXPECT_EQ(ball->sprite->width, 64.0f);
    EXPECT_EQ(ball->position->x, 0.0f);

    services.Frame();
    BouncingBallBehavior* behavior = BehaviorOf(ball);
    // Draws 41, 18467, 6334, 26500, 19169; then one step of motion.
    EXPECT_EQ(behavior->velocity.x, -215.0f);
    EXPECT_EQ(behavior->velocity.y, -221.0f);
    EXPECT_FLOAT_EQ(ball->position->x, 734.0f - 215.0f / 60.0f);
    EXPECT_FLOAT_EQ(ball->position->y, 100.0f - 221.0f / 60.0f);
    EXPECT_FLOAT_EQ(ball->sprite->width, 64.0f * 0.47f);
    EXPECT_FLOAT_EQ(ball->sprite->height, 64.0f * 0.47f);
}

TEST_F(BouncingBallTest, StartDrawsStayInTheirRanges)
{
    for (int i = 0; i < 500; ++i)
        Game::Root->AddChild(new BouncingBall());
    Game::Time->elapsedSeconds = 0.0f;
    Game::UpdatePass(Game::Root); // start without moving
    for (GameObject* ball : Game::Root->children)
    {
        BouncingBallBehavior* behavior = BehaviorOf(ball);
        ASSERT_GE(behavior->velocity.x, -256.0f);
        ASSERT_LE(behavior->velocity.x, 255.0f);
        ASSERT_GE(ball->position->x, 0.0f);
        ASSERT_LE(ball->position->x, 799.0f);
        ASSERT_EQ(ball->position->y, std::floor(ball->position->y));
        ASSERT_LE(ball->position->y, 599.0f);
        ASSERT_GE(ball->sprite->width, 64.0f * 0.125f);
        ASSERT_LE(ball->sprite->width, 64.0f * 0.62f);
    }
}

TEST_F(BouncingBallTest, BouncesOnStrictEdgeTestsBeforeMoving)
{
    GameObject* ball = new BouncingBall();
    Game::Root->AddChild(ball);
    services.Frame();
    BouncingBallBehavior* behavior = BehaviorOf(ball);

    Game::Time->elapsedSeconds = 0.01f;
    ball->position->x = 800.5f;
    ball->position->y = 600.0f; // exactly on the edge: no turn
    behavior->velocity = {100.0f, 50.0f};
    behavior->Update();
    EXPECT_EQ(behavior->velocity.x, -100.0f);
    EXPECT_EQ(behavior->velocity.y, 50.0f);
    EXPECT_FLOAT_EQ(ball->position->x, 799.5f);

    ball->position->x = -0.5f;
    ball->position->y = -1.0f;
    behavior->velocity = {-30.0f, -40.0f};
    behavior->Update();
    EXPECT_EQ(behavior->velocity.x, 30.0f);
    EXPECT_EQ(behavior->velocity.y, 40.0f);
}

TEST_F(BouncingBallTest, MoveActionsTurnDownOverUpAndRightOverLeft)
{
    GameObject* ball = new BouncingBall();
    Game::Root->AddChild(ball);
    services.Frame();
    BouncingBallBehavior* behavior = BehaviorOf(ball);
    behavior->velocity = {-20.0f, -30.0f};

    Game::Input->KeyDown(static_cast<uint32_t>(Key::W));
    Game::Input->KeyDown(static_cast<uint32_t>(Key::S));
    Game::Input->KeyDown(static_cast<uint32_t>(Key::Left));
    Game::Input->KeyDown(static_cast<uint32_t>(Key::Right));
    behavior->HandleInput();
    EXPECT_EQ(behavior->velocity.x, 20.0f);
    EXPECT_EQ(behavior->velocity.y, 30.0f);

    Game::Input->KeyUp(static_cast<uint32_t>(Key::S));
    Game::Input->KeyUp(static_cast<uint32_t>(Key::Right));
    behavior->HandleInput();
    EXPECT_EQ(behavior->velocity.x, -20.0f);
    EXPECT_EQ(behavior->velocity.y, -30.0f);
}

TEST_F(BouncingBallTest, WithoutAShipTextureTheBallKeepsItsSizeAndIsNotDrawn)
{
    Game::Textures->UnloadBank("Main");
    GameObject* ball = new BouncingBall();
    Game::Root->AddChild(ball);
    EXPECT_EQ(ball->sprite->texture, nullptr);
    EXPECT_EQ(ball->sprite->width, 1.0f);
    services.Frame();
    EXPECT_LE(ball->sprite->width, 0.62f);
}
