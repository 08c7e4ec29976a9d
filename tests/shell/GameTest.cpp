#include "objects/RandomManager.h"
#include "shell/Game.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <ctime>
#include <set>
#include <stdexcept>

TEST(GameTest, ConstructionSeedsTheGeneratorFromTheCalendarSecond)
{
    WorkingDirectory workingDirectory(GAME_SOURCE_DIR);
    const std::time_t before = std::time(nullptr);
    Game game;
    const std::time_t after = std::time(nullptr);
    const int32_t drawn = Game::Random->Next(0, 1000000000);
    std::set<int32_t> expected;
    for (std::time_t second = before; second <= after; ++second)
    {
        RandomManager reference;
        reference.Seed(static_cast<uint32_t>(static_cast<uint64_t>(second)));
        expected.insert(reference.Next(0, 1000000000));
    }
    EXPECT_EQ(expected.count(drawn), 1u);
}

TEST(GameTest, AFailedConstructionReleasesWhatItMade)
{
    TempFolder folder;
    // No music folder: construction fails and deletes what it made (the
    // leak checker of the sanitizer build sees the rest).
    WorkingDirectory workingDirectory(folder.Path());
    EXPECT_THROW(Game(), std::exception);
    EXPECT_EQ(Game::Root, nullptr);
}
