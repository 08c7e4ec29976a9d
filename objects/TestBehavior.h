#pragma once

#include "objects/Behavior.h"

// Start: the music "Klezmer" at volume 0.05. HandleInput: ten balls added
// per frame on "AddObjects", up to ten removed from the front on
// "RemoveObjects", a "Tap" or "Click" cue after more than 0.07 s of held
// time, and the music volume following the ball count. Update: the clear
// colour from three slow sine waves of the total time.
class TestBehavior : public Behavior
{
public:
    void Update() override;
    void HandleInput() override;
    void Start() override;

    static constexpr int InitialBalls = 10;
    static constexpr int BallsPerFrame = 10;

    float cueTimer = 0.0f; // seconds held since the last feedback cue
};
