#include "objects/RandomManager.h"

#include <gtest/gtest.h>

#include <vector>

TEST(RandomManager, StartsFromTheStandardDefaultSeed)
{
    RandomManager random;
    std::vector<int> draws;
    for (int i = 0; i < 5; ++i)
        draws.push_back(random.Next(0, 3));
    EXPECT_EQ(draws, (std::vector<int>{3, 0, 3, 3, 0}));

    RandomManager raw;
    EXPECT_EQ(raw.engine(), 3499211612u);
    EXPECT_EQ(raw.engine(), 581869302u);
}

TEST(RandomManager, SameSeedGivesTheSameDrawsAndASingleValueRangeGivesThatValue)
{
    RandomManager a;
    RandomManager b;
    a.Seed(1765000000u);
    b.Seed(1765000000u);
    for (int i = 0; i < 1000; ++i)
    {
        int maximum = i % 17;
        ASSERT_EQ(a.Next(0, maximum), b.Next(0, maximum));
    }
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(a.Next(0, 0), 0);
    EXPECT_EQ(a.Next(-7, -7), -7);
}
