#include "audio/engine/AudioSystem.h"
#include "input/ActionNames.h"
#include "input/InputManager.h"
#include "shell/Game.h"
#include "shell/platform/Platform.h"
#include "support/TempFolder.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace
{
// A pad of SDL's virtual joystick driver, of the game-controller type: SDL
// gives it a controller mapping, and its buttons and axes reach the game as
// a real pad's would.
class VirtualPad
{
public:
    VirtualPad()
    {
        SDL_VirtualJoystickDesc desc = {};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Virtual pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        joystick = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
        EXPECT_NE(joystick, nullptr) << SDL_GetError();
    }
    ~VirtualPad() { Unplug(); }

    void Press(SDL_GameControllerButton button, bool down)
    {
        SDL_JoystickSetVirtualButton(joystick, button, down ? SDL_PRESSED : SDL_RELEASED);
    }
    // A fraction of the axis's travel. A trigger's joystick axis spans the
    // whole range, which the controller's mapping halves.
    void Move(SDL_GameControllerAxis axis, float travel)
    {
        const bool trigger =
            axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
        const float value = trigger ? -32768.0f + travel * 65535.0f : travel * 32767.0f;
        SDL_JoystickSetVirtualAxis(joystick, axis, static_cast<int16_t>(value));
    }
    void Unplug()
    {
        if (!joystick)
            return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
        SDL_JoystickClose(joystick);
        joystick = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id)
                SDL_JoystickDetachVirtual(i);
    }

private:
    SDL_Joystick* joystick = nullptr;
};

// The game's services and its real window on SDL's dummy video driver, with
// every action mapped to a pad control and AddObjects to Space as well.
class SdlGamepadsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InstallPlatform();
        game = new Game(AudioInitOffline);
        Game::Input->LoadKeyMappings(folder.WriteText("Keys.json", R"({
            "MoveUp": "GamepadDPadUp", "MoveDown": "GamepadLeftThumbstickDown",
            "MoveLeft": "GamepadLeftThumbstickLeft", "MoveRight": "GamepadRightTrigger",
            "AddObjects": "GamepadA", "AddObjects": "Space", "RemoveObjects": "GamepadB"})"));
        window = GameWindow::Open(800, 600, DrawingPath::Compositor, false);
    }
    void TearDown() override
    {
        delete window;
        delete game;
    }

    // The frame's message step; then the actions down, a bit each.
    unsigned Step()
    {
        EXPECT_FALSE(window->HandleMessages());
        unsigned down = 0;
        for (int action = 0; action < ActionCount; ++action)
            if (Game::Input->IsActionDown(Game::ActionNames[action], Game::Input->currentKeys))
                down |= 1u << action;
        return down;
    }

    WorkingDirectory workingDirectory{GAME_SOURCE_DIR}; // the music folder the game scans
    TempFolder folder;
    Game* game = nullptr;
    GameWindow* window = nullptr;
};

constexpr unsigned Bit(int action)
{
    return 1u << action;
}
} // namespace

// Each action is down exactly while its control is held: buttons, a stick
// crossing its dead zone both ways with hysteresis, a diagonal, a trigger.
TEST_F(SdlGamepadsTest, EachActionIsDownExactlyWhileItsControlIsHeld)
{
    VirtualPad pad;
    EXPECT_EQ(Step(), 0u);
    pad.Press(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(Step(), Bit(AddObjects));
    pad.Press(SDL_CONTROLLER_BUTTON_B, true);
    pad.Press(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_EQ(Step(), Bit(RemoveObjects));
    pad.Press(SDL_CONTROLLER_BUTTON_B, false);
    pad.Press(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    EXPECT_EQ(Step(), Bit(MoveUp));
    pad.Press(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    EXPECT_EQ(Step(), 0u);

    const std::pair<float, unsigned> stick[] = {
        {0.45f, 0u}, {0.55f, Bit(MoveDown)}, {0.42f, Bit(MoveDown)}, {0.35f, 0u}, {-0.9f, 0u}};
    for (auto [travel, down] : stick)
    {
        pad.Move(SDL_CONTROLLER_AXIS_LEFTY, travel);
        EXPECT_EQ(Step(), down) << travel;
    }
    pad.Move(SDL_CONTROLLER_AXIS_LEFTY, 0.7f);
    pad.Move(SDL_CONTROLLER_AXIS_LEFTX, -0.7f);
    EXPECT_EQ(Step(), Bit(MoveDown) | Bit(MoveLeft));
    pad.Move(SDL_CONTROLLER_AXIS_LEFTY, 0.0f);
    pad.Move(SDL_CONTROLLER_AXIS_LEFTX, 0.0f);

    const std::pair<float, unsigned> trigger[] = {
        {0.5f, 0u}, {0.6f, Bit(MoveRight)}, {0.42f, Bit(MoveRight)}, {0.38f, 0u}};
    for (auto [travel, down] : trigger)
    {
        pad.Move(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, travel);
        EXPECT_EQ(Step(), down) << travel;
    }
}

// A control held on two pads stays down until both let go; a pad unplugged
// releases what it held, a pad plugged in during the run is read, and a key
// held meanwhile is independent of the pads.
TEST_F(SdlGamepadsTest, PadsHoldTogetherAndUnpluggingReleases)
{
    VirtualPad first;
    VirtualPad second;
    Step();
    first.Press(SDL_CONTROLLER_BUTTON_A, true);
    second.Press(SDL_CONTROLLER_BUTTON_A, true);
    second.Press(SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_EQ(Step(), Bit(AddObjects) | Bit(RemoveObjects));
    first.Press(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_EQ(Step(), Bit(AddObjects) | Bit(RemoveObjects));
    second.Unplug();
    EXPECT_EQ(Step(), 0u);

    Game::Input->KeyDown(static_cast<uint32_t>(Key::Space));
    VirtualPad third;
    Step();
    third.Press(SDL_CONTROLLER_BUTTON_A, true);
    third.Press(SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_EQ(Step(), Bit(AddObjects) | Bit(RemoveObjects));
    third.Unplug();
    EXPECT_EQ(Step(), Bit(AddObjects));
}
