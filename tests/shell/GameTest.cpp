#include "objects/RandomManager.h"
#include "shell/Game.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <ctime>
#include <stdexcept>

TEST(GameTest, ConstructionSeedsTheGeneratorFromTheCalendarSecond)
{
    WorkingDirectory workingDirectory(GAME_SOURCE_DIR);
    std::time_t before = std::time(nullptr);
    Game game;
    std::time_t after = std::time(nullptr);

    // The same draws as a generator seeded with the second of construction.
    int32_t drawn[8];
    for (int32_t& value : drawn)
        value = Game::Random->Next(0, 1000000);
    bool matched = false;
    for (std::time_t second = before; second <= after && !matched; ++second)
    {
        RandomManager reference;
        reference.Seed(static_cast<uint32_t>(static_cast<uint64_t>(second)));
        matched = true;
        for (int32_t value : drawn)
            matched = matched && reference.Next(0, 1000000) == value;
    }
    EXPECT_TRUE(matched);
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
