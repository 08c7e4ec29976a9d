#pragma once

#include "objects/GameObject.h"

// The demo scene: ten bouncing balls and the behaviour that adds and removes
// them, plays the feedback cues and the music, and drifts the background.
class TestScreen : public GameObject
{
public:
    TestScreen();
};
