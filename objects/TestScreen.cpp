#include "objects/TestScreen.h"

#include "objects/BouncingBall.h"
#include "objects/TestBehavior.h"

TestScreen::TestScreen()
{
    AddComponent(new TestBehavior());
    for (int i = 0; i < TestBehavior::InitialBalls; ++i)
        AddChild(new BouncingBall());
}
