#include "input/Key.h"

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
