#include "input/ActionNames.h"
#include "input/Key.h"
#include "input/KeyState.h"
#include "shell/Game.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

TEST(Key, NamesConvertExactly)
{
    EXPECT_EQ(KeyFromName("W"), Key::W);
    EXPECT_EQ(static_cast<uint32_t>(Key::W), 33u);
    EXPECT_EQ(KeyFromName("w"), Key::None);
    EXPECT_EQ(KeyFromName("Enter"), Key::None);
    EXPECT_EQ(static_cast<uint32_t>(KeyFromName("OemEnter")), 57u);
    EXPECT_EQ(static_cast<uint32_t>(KeyFromName("1")), 18u);
    EXPECT_EQ(static_cast<uint32_t>(KeyFromName("0")), 27u);
    EXPECT_EQ(static_cast<uint32_t>(KeyFromName("5")), 22u);
    EXPECT_EQ(static_cast<uint32_t>(KeyFromName("Keypad0")), 94u);
    EXPECT_EQ(static_cast<uint32_t>(KeyFromName("Keypad9")), 93u);
    EXPECT_EQ(static_cast<uint32_t>(KeyFromName("Keypad1")), 85u);
    EXPECT_EQ(static_cast<uint32_t>(KeyFromName("EnumLast")), 103u);
    EXPECT_EQ(KeyFromName(" Space"), Key::None);
    EXPECT_EQ(KeyFromName("Space "), Key::None);
    EXPECT_EQ(KeyFromName(""), Key::None);
    EXPECT_EQ(KeyFromName("None"), Key::None);
}

TEST(Key, EveryValueHasOneDistinctNameThatConvertsBack)
{
    EXPECT_EQ(KeyCount, 104u);
    std::set<std::string> names;
    for (uint32_t value = 0; value < KeyCount; ++value)
    {
        ASSERT_EQ(static_cast<uint32_t>(KeyFromName(KeyNames[value])), value) << KeyNames[value];
        names.insert(KeyNames[value]);
    }
    EXPECT_EQ(names.size(), KeyCount);
    // Spot checks of the row order.
    EXPECT_STREQ(KeyNames[46], "A");
    EXPECT_STREQ(KeyNames[59], "Z");
    EXPECT_STREQ(KeyNames[73], "Space");
    EXPECT_STREQ(KeyNames[98], "Delete");
    EXPECT_STREQ(KeyNames[102], "PageDown");
}

TEST(ActionNames, ConvertToTheTableEntryOrNull)
{
    const char** table = CreateActionNames();
    Game::ActionNames = table;
    EXPECT_STREQ(table[AddObjects], "AddObjects");
    EXPECT_STREQ(table[RemoveObjects], "RemoveObjects");
    EXPECT_EQ(ActionFromName("MoveUp"), table[MoveUp]);
    // The entry is the identity: converting twice gives the same pointer.
    EXPECT_EQ(ActionFromName(std::string("Move") + "Up"), ActionFromName("MoveUp"));
    EXPECT_EQ(ActionFromName("moveup"), nullptr);
    EXPECT_EQ(ActionFromName("MoveUp "), nullptr);
    EXPECT_EQ(ActionFromName(""), nullptr);
    delete[] table;
    Game::ActionNames = nullptr;
}

TEST(KeyState, HoldsTwoHundredFiftySixFlagsAndRefusesPositionsBeyond)
{
    KeyState state;
    for (std::size_t i = 0; i < KeyState::Size; ++i)
        ASSERT_FALSE(state.Test(i));
    state.Set(255);
    EXPECT_TRUE(state.Test(255));
    EXPECT_THROW(state.Set(256), std::out_of_range);
    EXPECT_THROW(state.Clear(256), std::out_of_range);
    EXPECT_THROW(state.Test(1000), std::out_of_range);
    KeyState copy = state;
    state.Clear(255);
    EXPECT_TRUE(copy.Test(255));
    EXPECT_TRUE(state.None());
}
