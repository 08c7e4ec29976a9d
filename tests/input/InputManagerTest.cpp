#include "input/ActionNames.h"
#include "input/InputManager.h"
#include "shell/Game.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
class InputManagerTest : public ::testing::Test
{
protected:
    void SetUp() override { Game::ActionNames = CreateActionNames(); }
    void TearDown() override
    {
        delete[] Game::ActionNames;
        Game::ActionNames = nullptr;
    }

    void Load(const std::string& json)
    {
        input.LoadKeyMappings(folder.WriteText("Keys.json", json));
    }
    bool Down(int action) const
    {
        return input.IsActionDown(Game::ActionNames[action], input.currentKeys);
    }
    void Press(Key key) { input.KeyDown(static_cast<uint32_t>(key)); }
    void Release(Key key) { input.KeyUp(static_cast<uint32_t>(key)); }

    TempFolder folder;
    InputManager input;
};
} // namespace

TEST_F(InputManagerTest, RepeatedMembersAndLaterFilesGiveAnActionSeveralKeys)
{
    Load(R"({"MoveUp": "W", "MoveUp": "Up", "AddObjects": "Space", "MoveDown": "Space"})");
    Press(Key::Keypad8);
    Load(R"({"MoveUp": "Keypad8"})"); // adds to what is loaded, and answers at once
    EXPECT_TRUE(Down(MoveUp));
    // A pointer inside a name's text is no entry.
    EXPECT_FALSE(input.IsActionDown(Game::ActionNames[MoveUp] + 1, input.currentKeys));
    Release(Key::Keypad8);
    for (Key key : {Key::W, Key::Up, Key::Keypad8})
    {
        EXPECT_FALSE(Down(MoveUp));
        Press(key);
        EXPECT_TRUE(Down(MoveUp)) << KeyNames[static_cast<int>(key)];
        Release(key);
    }
    // One key may serve several actions.
    Press(Key::Space);
    EXPECT_TRUE(Down(AddObjects));
    EXPECT_TRUE(Down(MoveDown));
    EXPECT_FALSE(Down(RemoveObjects)); // named by no member
}

TEST_F(InputManagerTest, OddValuesNamesAndDocumentsMapToNothingAQueryReaches)
{
    Load(R"({"MoveLeft": 5, "MoveRight": "a", "moveup": "W", "RemoveObjects": {"x": 1},
             "MoveDown": "Enter", "AddObjects": ""})");
    Load(R"(["W", "Up"])"); // an array: members without names
    EXPECT_EQ(input.keyMappings.size(), 8u);
    for (uint32_t key = 0; key < 256; ++key)
        input.KeyDown(key);
    input.KeyUp(static_cast<uint32_t>(Key::None));
    EXPECT_TRUE(Down(MoveLeft)); // the number 5 means the key "5"
    Release(Key::Digit5);
    for (int action = 0; action < ActionCount; ++action)
        EXPECT_FALSE(Down(action)) << Game::ActionNames[action];
}

// A pad's control names its position above the keys (the right stick's left
// is 218, the last); it is no key name, and is read as exactly as one.
TEST_F(InputManagerTest, PadControlNamesMapActionsToTheirPositions)
{
    EXPECT_EQ(KeyFromName("GamepadA"), Key::None);
    Load(R"({"AddObjects": "GamepadRightThumbstickLeft", "MoveDown": "gamepadA",
             "MoveLeft": " GamepadB"})");
    for (uint32_t position = 195; position <= 218; ++position)
        input.KeyDown(position);
    EXPECT_TRUE(Down(AddObjects));
    EXPECT_FALSE(Down(MoveDown));
    EXPECT_FALSE(Down(MoveLeft));
    input.KeyUp(218);
    EXPECT_FALSE(Down(AddObjects));
}
