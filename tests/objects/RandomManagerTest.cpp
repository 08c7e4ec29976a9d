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

TEST(RandomManager, DrawsAreUniformOverTheRange)
{
    RandomManager random;
    random.Seed(42u);
    const int values = 4;
    const int draws = 40000;
    int counts[values] = {};
    for (int i = 0; i < draws; ++i)
    {
        int value = random.Next(0, values - 1);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, values - 1);
        ++counts[value];
    }
    // Chi-square with 3 degrees of freedom: 16.27 is the 0.1% critical value.
    double expected = double(draws) / values;
    double chiSquare = 0;
    for (int count : counts)
        chiSquare += (count - expected) * (count - expected) / expected;
    EXPECT_LT(chiSquare, 16.27);
}
