#include "shell/GamepadReader.h"

#include "input/InputManager.h"
#include "shell/Game.h"
#include "shell/TranslateVirtualKey.h"

#include <algorithm>

namespace
{
uint32_t Bit(GamepadControl control)
{
    return 1u << (static_cast<uint32_t>(control) - FirstGamepadControl);
}

// Holds the control's bit while the value stays at or above the release
// point, presses it beyond the press point.
void Hysteresis(uint32_t* held, GamepadControl control, float value)
{
    const uint32_t bit = Bit(control);
    const bool wasDown = (*held & bit) != 0;
    const bool down =
        wasDown ? value >= GamepadReader::ReleaseBelow : value > GamepadReader::PressBeyond;
    *held = down ? *held | bit : *held & ~bit;
}
} // namespace

void GamepadReader::Add(int pad)
{
    Find(pad);
}

GamepadReader::Pad& GamepadReader::Find(int pad)
{
    auto found =
        std::find_if(pads.begin(), pads.end(), [pad](const Pad& p) { return p.id == pad; });
    if (found != pads.end())
        return *found;
    pads.push_back({pad, 0});
    return pads.back();
}

void GamepadReader::Button(int pad, GamepadControl control, bool down)
{
    uint32_t& held = Find(pad).held;
    held = down ? held | Bit(control) : held & ~Bit(control);
    Report();
}

void GamepadReader::Move(int pad, Axis axis, float value)
{
    // The controls an axis presses, by Axis: towards its positive end and
    // its negative one (a trigger has no negative end).
    using C = GamepadControl;
    struct Ends
    {
        C positive;
        C negative;
        bool twoEnded;
    };
    static constexpr Ends ByAxis[] = {
        {C::LeftThumbstickRight, C::LeftThumbstickLeft, true},
        {C::LeftThumbstickDown, C::LeftThumbstickUp, true},
        {C::RightThumbstickRight, C::RightThumbstickLeft, true},
        {C::RightThumbstickDown, C::RightThumbstickUp, true},
        {C::LeftTrigger, C::LeftTrigger, false},
        {C::RightTrigger, C::RightTrigger, false},
    };
    const Ends& ends = ByAxis[axis];
    uint32_t& held = Find(pad).held;
    Hysteresis(&held, ends.positive, value);
    if (ends.twoEnded)
        Hysteresis(&held, ends.negative, -value);
    Report();
}

void GamepadReader::Remove(int pad)
{
    std::erase_if(pads, [pad](const Pad& p) { return p.id == pad; });
    Report();
}

void GamepadReader::Report()
{
    uint32_t held = 0;
    for (const Pad& pad : pads)
        held |= pad.held;
    const uint32_t changed = held ^ reported;
    reported = held;
    for (uint32_t i = 0; i < GamepadControlCount; ++i)
    {
        if (!(changed & (1u << i)))
            continue;
        // A control's code is its virtual-key code, which translates to itself.
        const uint32_t position = TranslateVirtualKey(FirstGamepadControl + i);
        if (held & (1u << i))
            Game::Input->KeyDown(position);
        else
            Game::Input->KeyUp(position);
    }
}
