#pragma once

#include "objects/GameObject.h"

// A ship that moves at a random constant speed and bounces off the edges of
// the play field: a position, a sprite showing "Ship" and its behaviour.
class BouncingBall : public GameObject
{
public:
    BouncingBall();
};
