#include "support/OfflineEngine.h"
#include "support/SoundFiles.h"

#include <cmath>
#include <utility>
#include <vector>

// Streams played through an offline engine, decoded on the test's thread.
using StreamDecoderTest = OfflineEngine;

TEST_F(StreamDecoderTest, ResampledStreamKeepsItsSeamContinuous)
{
    // A 44.1 kHz sine of period 200 frames over a loop of exactly ten periods:
    // played at 48 kHz it must stay one continuous sine through every seam.
    const double pi = 3.14159265358979323846;
    WriteSignalSound(folder.Path() / "sine.wav", 8000, 44100, SF_FORMAT_WAV | SF_FORMAT_FLOAT,
                     [pi](int i)
                     { return static_cast<float>(0.5 * std::sin(2 * pi * i / 200.0)); });
    AudioSound* sound = Create("sine.wav", AudioModeStream | AudioModeLoop);
    ASSERT_EQ(sound->SetLoopPoints(2000, 3999), AudioResult::Ok);
    sound->SetLoopCount(-1);
    AudioChannel channel;
    system->PlaySound(sound, false, &channel);

    Render(OfflineRate / 10); // past the resampler's start-up
    std::vector<float> out;
    for (int chunk = 0; chunk < 40; ++chunk)
        for (float value : Render(1201))
            out.push_back(value);

    // The steepest step of the sine at 48 kHz is 0.5 * 2 pi / (200 * 48000 / 44100).
    double steepest = 0.5 * 2 * pi / (200.0 * OfflineRate / 44100.0);
    int crossings = 0;
    for (std::size_t i = 1; i < out.size(); ++i)
    {
        ASSERT_LE(std::fabs(out[i] - out[i - 1]), steepest * 1.05) << "jump at output frame " << i;
        if (out[i - 1] < 0.0f && out[i] >= 0.0f)
            ++crossings;
    }
    // One period is 200 * 48000 / 44100 output frames long.
    double periods = out.size() / (200.0 * OfflineRate / 44100.0);
    EXPECT_NEAR(crossings, periods, 1.5);
    sound->Release();
}

TEST_F(StreamDecoderTest, StreamsLoopBetweenInclusivePointsInEveryFormat)
{
    // Whatever the format's seeking is like (exact, or Ogg Vorbis and
    // variable-bitrate MP3, whose seeks are not exact by themselves), a stream
    // plays what a plain decode of the file has at each looped frame, through
    // the one-second ring many times over.
    const double pi = 3.14159265358979323846;
    auto signal = [pi](int i)
    {
        double t = i / static_cast<double>(OfflineRate);
        return static_cast<float>(0.3 * std::sin(2 * pi * 440 * t) *
                                      (1 + 0.5 * std::sin(2 * pi * 3 * t)) +
                                  0.2 * std::sin(2 * pi * 1234.5 * t));
    };
    const std::pair<const char*, int> formats[] = {
        {"music.wav", Wav16},
        {"music.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {"music.f32", SF_FORMAT_WAV | SF_FORMAT_FLOAT},
        {"music.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {"music.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III}};
    for (const auto& [name, format] : formats)
    {
        WriteSignalSound(folder.Path() / name, 3 * OfflineRate, OfflineRate, format, signal, true);
        const std::vector<float> reference = DecodeWholeFile(folder.Path() / name);
        ASSERT_GE(reference.size(), static_cast<std::size_t>(3 * OfflineRate - 1));

        // A long span, and the shortest there is, which replays from memory.
        for (const auto& [loopStart, loopEnd] : {std::pair{30000, 99999}, std::pair{1000, 1001}})
        {
            AudioSound* sound = Create(name, AudioModeStream | AudioModeLoop);
            ASSERT_EQ(sound->SetLoopPoints(loopStart, loopEnd), AudioResult::Ok);
            sound->SetLoopCount(-1);
            system->PlaySound(sound, false, nullptr);
            std::vector<float> out;
            while (out.size() < static_cast<std::size_t>(3 * OfflineRate))
                for (float value : Render(4099))
                    out.push_back(value);
            for (std::size_t i = 0; i < out.size(); ++i)
            {
                const int frame = ExpectedLoopFrame(static_cast<int>(i), loopStart, loopEnd);
                ASSERT_NEAR(out[i], reference[static_cast<std::size_t>(frame)], 2e-3)
                    << name << ": output frame " << i << " should be source frame " << frame;
            }
            sound->Release();
            Render(1000);
        }
    }
}

TEST_F(StreamDecoderTest, StreamsPlayWhatTheSamePlayedWholeWouldAtAnyRate)
{
    // At 8 kHz a chunk converts to more frames than the ring may have free;
    // none may be lost, and the stream ends on its last frame. At 48 kHz the
    // file holds NaN and infinite samples, which play as silence; at 11 kHz
    // samples near the float limit, which play finite.
    const double pi = 3.14159265358979323846;
    for (int rate : {8000, 11025, OfflineRate})
    {
        WriteSignalSound(folder.Path() / "low.wav", 2 * rate, rate, SF_FORMAT_WAV | SF_FORMAT_FLOAT,
                         [&](int i)
                         {
                             if (rate == OfflineRate && i % 5 < 2)
                                 return i % 5 ? INFINITY : std::nanf("");
                             if (rate == 11025 && i % 7 == 3)
                                 return 3e38f; // finite, but no filter may overflow on it
                             return static_cast<float>(0.5 * std::sin(2 * pi * i / 40.0));
                         });
        std::vector<float> outputs[2];
        for (uint32_t mode : {AudioModeDefault, AudioModeStream})
        {
            AudioSound* sound = Create("low.wav", mode);
            system->PlaySound(sound, false, nullptr);
            for (int chunk = 0; chunk < 12; ++chunk)
                for (float value : Render(OfflineRate / 4))
                    outputs[mode == AudioModeStream].push_back(value);
            sound->Release();
        }
        for (std::size_t i = 0; i < outputs[0].size(); ++i)
        {
            ASSERT_TRUE(std::isfinite(outputs[1][i])) << rate << " Hz, frame " << i;
            ASSERT_NEAR(outputs[1][i], outputs[0][i], 1e-4) << rate << " Hz, frame " << i;
        }
        std::size_t last = outputs[0].size();
        while (last > 0 && outputs[0][last - 1] == 0.0f)
            --last;
        EXPECT_NEAR(static_cast<double>(last), 2.0 * OfflineRate, OfflineRate / 100.0)
            << rate << " Hz";
    }
}

TEST_F(StreamDecoderTest, TinyFilesLoopWholeFromMemoryAsOftenAsTold)
{
    for (int frames : {1, 3})
    {
        WriteCountingSound(folder.Path() / "tiny.wav", frames, OfflineRate, Wav16);
        for (int loopCount : {-1, 2})
        {
            AudioSound* sound = Create("tiny.wav", AudioModeStream | AudioModeLoop);
            sound->SetLoopCount(loopCount);
            system->PlaySound(sound, false, nullptr);
            const std::vector<int> played = RenderCounted(5000, 777);
            for (int i = 0; i < 5000; ++i)
                ASSERT_EQ(played[i], loopCount < 0 || i < 3 * frames ? i % frames : -1)
                    << frames << " frames, loop count " << loopCount << ", frame " << i;
            sound->Release();
        }
    }
}
