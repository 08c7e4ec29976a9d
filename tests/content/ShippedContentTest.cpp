#include "content/ContentJson.h"
#include "tools/KlezmerScore.h"

#include <gtest/gtest.h>

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace
{
const std::string Root = std::string(GAME_SOURCE_DIR) + "/Content/";
}

TEST(ShippedContent, MusicLoopsOnBarBoundariesWithoutASeam)
{
    boost::property_tree::ptree tree = ReadContentJson(Root + "Music/Klezmer.json");
    const int start = ReadInt(ReadChild(tree, "LoopStartSample"));
    const int end = ReadInt(ReadChild(tree, "LoopEndSample"));
    EXPECT_EQ(start, KlezmerScore::LoopStartFrame);
    EXPECT_EQ(end, KlezmerScore::LoopEndFrame);
    EXPECT_EQ(start % KlezmerScore::FramesPerBar, 0);
    EXPECT_EQ((end + 1) % KlezmerScore::FramesPerBar, 0);

    SF_INFO info = {};
    SNDFILE* music = sf_open((Root + "Music/Klezmer.ogg").c_str(), SFM_READ, &info);
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(info.samplerate, KlezmerScore::SampleRate);
    EXPECT_EQ(info.channels, 2);
    std::vector<float> samples(static_cast<std::size_t>(end + 1 + 1000) * 2);
    const sf_count_t frames = sf_readf_float(music, samples.data(), end + 1 + 1000);
    sf_close(music);
    ASSERT_GE(frames, end + 1);

    // The step across the seam (end, then start) is like the steps around it.
    auto at = [&](int frame, int channel)
    { return samples[static_cast<std::size_t>(frame) * 2 + channel]; };
    for (int channel = 0; channel < 2; ++channel)
    {
        float largestStep = 0.0f;
        for (int i = end - 2000; i < end; ++i)
            largestStep = std::max(largestStep, std::fabs(at(i + 1, channel) - at(i, channel)));
        for (int i = start; i < start + 2000; ++i)
            largestStep = std::max(largestStep, std::fabs(at(i + 1, channel) - at(i, channel)));
        EXPECT_LE(std::fabs(at(start, channel) - at(end, channel)), 1.5f * largestStep + 0.01f);
    }
}
