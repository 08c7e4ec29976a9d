#include "audio/MusicManager.h"
#include "audio/SoundManager.h"
#include "audio/engine/AudioSystem.h"
#include "input/InputManager.h"
#include "objects/BouncingBall.h"
#include "objects/TestBehavior.h"
#include "objects/TestScreen.h"
#include "shell/Game.h"
#include "shell/GameSettings.h"
#include "shell/GameTime.h"
#include "support/SceneServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
class TestBehaviorTest : public ::testing::Test
{
protected:
    TestBehaviorTest()
    {
        screen = new TestScreen();
        Game::Root->AddChild(screen);
    }

    float MusicVolume() const
    {
        float volume = -1.0f;
        EXPECT_EQ(Game::Music->channel.GetVolume(&volume), AudioResult::Ok);
        return volume;
    }

    // The loudest sample of the next frame's worth of audio.
    float Loudest()
    {
        std::vector<float> out(2 * 800);
        Game::Sounds->system->RenderOffline(out.data(), 800);
        float peak = 0.0f;
        for (float sample : out)
            peak = std::max(peak, std::fabs(sample));
        return peak;
    }

    void Hold(Key key) { Game::Input->KeyDown(static_cast<uint32_t>(key)); }
    void Release(Key key) { Game::Input->KeyUp(static_cast<uint32_t>(key)); }

    SceneServices services;
    TestScreen* screen = nullptr;
};
} // namespace

TEST_F(TestBehaviorTest, TheMusicVolumeFollowsTheBallCountUpToFullScale)
{
    services.Frame();
    EXPECT_FLOAT_EQ(MusicVolume(), 0.05f); // ten balls, before any action
    Hold(Key::Backspace);
    services.Frame();
    EXPECT_TRUE(screen->children.empty());
    EXPECT_FLOAT_EQ(MusicVolume(), 0.0f);
    Release(Key::Backspace);
    for (int i = 0; i < 995; ++i)
        screen->AddChild(new BouncingBall());
    Hold(Key::KeypadPlus);
    services.Frame();
    EXPECT_FLOAT_EQ(MusicVolume(), 1.0f); // 1005 balls, capped
}

TEST_F(TestBehaviorTest, FeedbackCuesPlayEveryFifthHeldStepWhicheverActionIsHeld)
{
    services.Frame();
    Loudest();
    // Four steps of adding stay under the interval: no cue, only the quiet music.
    Hold(Key::Space);
    for (int i = 0; i < 4; ++i)
    {
        services.Frame();
        EXPECT_LT(Loudest(), 0.1f) << "step " << i;
    }
    Release(Key::Space);
    services.Frame();
    EXPECT_LT(Loudest(), 0.1f);
    // The held time is kept: the first step of removing passes the interval.
    Hold(Key::Backspace);
    services.Frame();
    EXPECT_GT(Loudest(), 0.2f) << "no cue";
    services.Frame();
    EXPECT_LT(Loudest(), 0.1f) << "the cue should not repeat at once";
}
