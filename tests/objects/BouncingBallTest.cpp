#include "objects/BouncingBall.h"
#include "objects/BouncingBallBehavior.h"
#include "objects/Position2dComponent.h"
#include "objects/SpriteComponent.h"
#include "shell/Game.h"
#include "shell/GameTime.h"
#include "support/SceneServices.h"

#include <gtest/gtest.h>

TEST(BouncingBallTest, BouncesOnStrictEdgeTestsBeforeMoving)
{
    SceneServices services;
    GameObject* ball = new BouncingBall();
    Game::Root->AddChild(ball);
    services.Frame();
    auto* behavior = static_cast<BouncingBallBehavior*>(ball->behaviors.at(0));

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
