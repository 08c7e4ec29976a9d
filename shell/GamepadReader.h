#pragma once

#include "input/GamepadControl.h"

#include <cstdint>
#include <vector>

// Turns what pads report (buttons, sticks and triggers) into presses and
// releases of their controls' positions on Game::Input. A position is down
// while any pad holds it; a stick direction or a trigger presses beyond half
// its travel and releases below 40 %, so a stick resting near the edge does
// not chatter. Pads are named by any number the platform gives them.
class GamepadReader
{
public:
    enum Axis
    {
        LeftStickX, // -1 left to 1 right
        LeftStickY, // -1 up to 1 down
        RightStickX,
        RightStickY,
        LeftTriggerAxis, // 0 released to 1 fully pressed
        RightTriggerAxis,
    };

    static constexpr float PressBeyond = 0.5f;
    static constexpr float ReleaseBelow = 0.4f;

    void Add(int pad);
    void Button(int pad, GamepadControl control, bool down);
    void Move(int pad, Axis axis, float value);
    // An unplugged pad releases every control it held.
    void Remove(int pad);

private:
    struct Pad
    {
        int id;
        uint32_t held; // bit i: the control FirstGamepadControl + i
    };

    Pad& Find(int pad);
    void Report();

    std::vector<Pad> pads;
    uint32_t reported = 0; // the union of the pads' controls, as Game::Input has it
};
