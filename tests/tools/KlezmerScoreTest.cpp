#include "content/ContentJson.h"
#include "support/SoundFiles.h"
#include "tools/KlezmerScore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

TEST(KlezmerScore, TheShippedTrackLoopsOnBarBoundariesWithoutASeam)
{
    const std::string music = std::string(GAME_SOURCE_DIR) + "/Content/Music/Klezmer";
    boost::property_tree::ptree tree = ReadContentJson(music + ".json");
    const int start = ReadInt(ReadChild(tree, "LoopStartSample"));
    const int end = ReadInt(ReadChild(tree, "LoopEndSample"));
    EXPECT_EQ(start, KlezmerScore::LoopStartFrame);
    EXPECT_EQ(end, KlezmerScore::LoopEndFrame);
    EXPECT_EQ(start % KlezmerScore::FramesPerBar, 0);
    EXPECT_EQ((end + 1) % KlezmerScore::FramesPerBar, 0);

    // The step across the seam (end, then start) is like the steps around it.
    const std::vector<float> left = DecodeWholeFile(music + ".ogg");
    ASSERT_GT(left.size(), static_cast<std::size_t>(end));
    float largestStep = 0.0f;
    for (int i : {end - 2000, start})
        for (int j = i; j < i + 2000; ++j)
            largestStep = std::max(largestStep, std::fabs(left[j + 1] - left[j]));
    EXPECT_LE(std::fabs(left[start] - left[end]), 1.5f * largestStep + 0.01f);
}
