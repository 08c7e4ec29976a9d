#pragma once

#include "objects/Behavior.h"

struct Velocity2d
{
    float x = 0.0f; // pixels per second, to the right
    float y = 0.0f; // pixels per second, downwards
};

// Start: a random speed, place and size. HandleInput: the move actions turn
// the ball. Update: bounce off the field's edges, then move.
class BouncingBallBehavior : public Behavior
{
public:
    void Update() override;
    void HandleInput() override;
    void Start() override;

    Velocity2d velocity;
};
