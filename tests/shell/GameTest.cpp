#include "shell/Game.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(GameTest, AFailedConstructionReleasesWhatItMade)
{
    TempFolder folder;
    // No music folder: construction fails and deletes what it made (the
    // leak checker of the sanitizer build sees the rest).
    WorkingDirectory workingDirectory(folder.Path());
    EXPECT_THROW(Game(), std::exception);
    EXPECT_EQ(Game::Root, nullptr);
}
