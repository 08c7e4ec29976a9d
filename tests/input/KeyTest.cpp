#include "input/ActionNames.h"
#include "input/Key.h"
#include "shell/Game.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

// Every name converts back to its own value; nothing near a name does.
TEST(Key, NamesConvertExactlyAndBothWays)
{
    std::set<std::string> names;
    for (uint32_t value = 0; value < KeyCount; ++value)
    {
        ASSERT_EQ(static_cast<uint32_t>(KeyFromName(KeyNames[value])), value) << KeyNames[value];
        names.insert(KeyNames[value]);
    }
    EXPECT_EQ(names.size(), KeyCount);
    for (const char* near : {"w", "Enter", " Space", "Space ", ""})
        EXPECT_EQ(KeyFromName(near), Key::None) << near;
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
