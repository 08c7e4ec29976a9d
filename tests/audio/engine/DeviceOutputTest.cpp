#include "audio/engine/AudioDevice.h"
#include "audio/engine/DeviceOutput.h"
#include "audio/engine/Mixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <vector>

namespace
{
// A device the test drives: the test's own calls to Pull stand for the
// device's thread; it can be lost, listed or not, and refuse to open.
class FakeDevice : public AudioDevice
{
public:
    int Open(int sampleRate, bool, DeviceOutput*) override
    {
        ++opens;
        open = available;
        return available ? sampleRate : 0;
    }
    void Resume() override {}
    void Close() override { open = false; }
    bool Lost() override { return open && lost; }
    int Listed() override { return listed; }

    bool available = true;
    bool open = false;
    bool lost = false;
    int listed = 1;
    int opens = 0;
};

int64_t fakeNow = 0;
int64_t FakeClock()
{
    return fakeNow;
}

constexpr int64_t Ms = 1'000'000;

// A sound of `frames` on the mixer's slot, looping or not: silence, or
// counting, every frame holding its own position (times 1e-6).
std::vector<float> Play(Mixer* mixer, uint32_t slot, int frames, int loopCount, bool counting)
{
    std::vector<float> sound(2 * static_cast<std::size_t>(frames));
    for (std::size_t i = 0; counting && i < sound.size(); ++i)
        sound[i] = static_cast<float>(i / 2) * 1e-6f;
    MixerCommand play;
    play.slot = slot;
    play.generation = 1;
    play.frames = sound.data();
    play.frameCount = frames;
    play.loopCount = loopCount;
    mixer->Send(play);
    return sound;
}

// An output on a fake device, opened and started, its clock at one second.
class DeviceOutputOnAFakeDevice : public ::testing::Test
{
protected:
    DeviceOutputOnAFakeDevice()
    {
        fakeNow = 1000 * Ms;
        EXPECT_TRUE(output.OpenFirst());
        rate = output.SampleRate();
        output.StartWatchedByCaller(&mixer);
    }

    // One buffer taken by the device; the counting sound's position in it.
    long Pull()
    {
        output.Pull(block.data(), DeviceOutput::BufferFrames);
        return std::lround(block[0] / 1e-6f);
    }

    FakeDevice* device = new FakeDevice(); // the output's
    DeviceOutput output{device, FakeClock};
    int rate = 0;
    Mixer mixer{4, DeviceOutput::PreferredRate};
    std::vector<float> block = std::vector<float>(2 * DeviceOutput::BufferFrames);
};
} // namespace

// The device is lost mid-stream for two seconds: the music and a sound's end
// move on in real time meanwhile, and the next device, taken as soon as it is
// listed, plays the music from where real time has taken it, faded in.
TEST_F(DeviceOutputOnAFakeDevice, ALostDeviceLeavesTheMixInRealTimeUntilANewOneTakesIt)
{
    // Counting music and a one-second sound.
    const std::vector<float> music = Play(&mixer, 0, 10 * rate, -1, true);
    const std::vector<float> sound = Play(&mixer, 1, rate, 0, false);
    const int64_t musicStart = fakeNow;
    auto pull = [&]
    {
        const long position = Pull();
        fakeNow += int64_t(DeviceOutput::BufferFrames) * 1000 * Ms / rate;
        return position;
    };
    for (int i = 0; i < 50; ++i)
        pull();
    EXPECT_FALSE(mixer.Ended(1, 1));

    device->lost = true;
    device->available = false;
    device->listed = 0;
    for (int i = 0; i < 200; ++i)
    {
        fakeNow += 10 * Ms;
        output.Watch(fakeNow);
    }
    EXPECT_FALSE(output.DevicePlaying());
    EXPECT_TRUE(mixer.Ended(1, 1)) << "the sound's end waited for a device";
    EXPECT_EQ(device->opens, 1) << "reopened while the system listed no device";

    device->lost = false;
    device->available = true;
    device->listed = 1;
    fakeNow += 10 * Ms;
    output.Watch(fakeNow);
    ASSERT_TRUE(output.DevicePlaying());
    const int64_t expected = (fakeNow - musicStart) * rate / (1000 * Ms);
    EXPECT_LT(pull(), 1000) << "no fade-in";
    pull();
    EXPECT_NEAR(pull() - 2 * DeviceOutput::BufferFrames, expected, DeviceOutput::BufferFrames);
}

// A device that opens but is lost at once is tried again less and less
// often, never in a tight loop.
TEST_F(DeviceOutputOnAFakeDevice, ADeviceLostAsSoonAsOpenedIsNotReopenedInATightLoop)
{
    device->lost = true;
    testing::internal::CaptureStderr();
    for (int i = 0; i < 6000; ++i) // a minute, looked at every 10 ms
    {
        fakeNow += 10 * Ms;
        output.Watch(fakeNow);
    }
    testing::internal::GetCapturedStderr();
    EXPECT_LE(device->opens, 25);
    EXPECT_GE(device->opens, 10);
}

// A device that takes frames ahead of real time is buffering, and the mix
// does not skip; one that then takes nothing for longer than real time
// allows played nothing meanwhile, and the mix catches up with real time.
TEST_F(DeviceOutputOnAFakeDevice, ADeviceBehindRealTimeIsCaughtUpAndOneAheadIsNot)
{
    const std::vector<float> music = Play(&mixer, 0, 10 * rate, 0, true);
    for (int i = 0; i < 100; ++i) // half a second taken at once
        EXPECT_EQ(Pull(), i * DeviceOutput::BufferFrames);
    fakeNow += 1500 * Ms;
    EXPECT_NEAR(Pull(), 3 * rate / 2, 1);
}
