#include "input/ActionNames.h"
#include "input/InputManager.h"
#include "shell/Game.h"
#include "support/TempFolder.h"

#include <boost/property_tree/json_parser.hpp>
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

TEST_F(InputManagerTest, RepeatedMembersGiveAnActionSeveralKeys)
{
    Load(R"({"MoveUp": "W", "MoveUp": "Up", "AddObjects": "Space", "MoveDown": "Space"})");
    EXPECT_FALSE(Down(MoveUp));
    Press(Key::W);
    EXPECT_TRUE(Down(MoveUp));
    Press(Key::Up);
    Release(Key::W);
    EXPECT_TRUE(Down(MoveUp));
    Release(Key::Up);
    EXPECT_FALSE(Down(MoveUp));

    // One key may serve several actions.
    Press(Key::Space);
    EXPECT_TRUE(Down(AddObjects));
    EXPECT_TRUE(Down(MoveDown));
    EXPECT_FALSE(Down(RemoveObjects)); // named by no member

    // Mappings of one action keep document order.
    auto range = input.keyMappings.equal_range(Game::ActionNames[MoveUp]);
    ASSERT_EQ(std::distance(range.first, range.second), 2);
    EXPECT_EQ(range.first->second, Key::W);
    EXPECT_EQ(std::next(range.first)->second, Key::Up);
}

TEST_F(InputManagerTest, OddValuesAndNamesMapToNothingAQueryReaches)
{
    Load(R"({"MoveLeft": 5, "MoveRight": "a", "moveup": "W", "RemoveObjects": {"x": 1},
             "MoveDown": "Enter", "AddObjects": ""})");
    EXPECT_EQ(input.keyMappings.size(), 6u);
    Press(Key::Digit5);
    EXPECT_TRUE(Down(MoveLeft)); // the number 5 means the key "5"
    for (uint32_t key = 0; key < 256; ++key)
        input.KeyDown(key);
    EXPECT_TRUE(Down(MoveLeft));
    input.KeyUp(static_cast<uint32_t>(Key::None));
    EXPECT_FALSE(Down(MoveRight));
    EXPECT_FALSE(Down(MoveUp));
    EXPECT_FALSE(Down(RemoveObjects));
    EXPECT_FALSE(Down(MoveDown));
    EXPECT_FALSE(Down(AddObjects));
}

TEST_F(InputManagerTest, AnArrayDocumentGivesOnlyUnreachableMappings)
{
    Load(R"(["W", "Up"])");
    EXPECT_EQ(input.keyMappings.size(), 2u);
    EXPECT_EQ(input.keyMappings.begin()->first, nullptr);
    Press(Key::W);
    Press(Key::Up);
    for (int action = 0; action < ActionCount; ++action)
        EXPECT_FALSE(Down(action));
}

TEST_F(InputManagerTest, LoadingAddsToExistingMappingsAndReaderErrorsPassThrough)
{
    Load(R"({"MoveUp": "W"})");
    Load(R"({"MoveUp": "Up"})");
    EXPECT_EQ(input.keyMappings.size(), 2u);
    Press(Key::W);
    EXPECT_TRUE(Down(MoveUp));
    input.KeyUp(static_cast<uint32_t>(Key::W));
    Press(Key::Up);
    EXPECT_TRUE(Down(MoveUp));

    EXPECT_THROW(input.LoadKeyMappings(folder.Path() / "Config" / "Missing.json"),
                 boost::property_tree::json_parser_error);
}
