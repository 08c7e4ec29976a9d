#pragma once

#include "objects/Component.h"

// Where an object is: the centre of its sprite, in drawing-surface pixels,
// x to the right and y downwards.
class Position2dComponent : public Component
{
public:
    float x = 0.0f;
    float y = 0.0f;
};
