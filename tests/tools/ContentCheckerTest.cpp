#include "support/ImageFiles.h"
#include "support/SoundFiles.h"
#include "support/TempFolder.h"
#include "tools/ContentChecker.h"

#include <boost/filesystem/operations.hpp>
#include <gtest/gtest.h>

#include <sndfile.h>

#include <algorithm>
#include <set>
#include <string>

namespace
{
std::string Line(const ContentChecker::Problem& problem)
{
    return std::string(problem.error ? "error: " : "warning: ") + problem.text;
}
} // namespace

// One tree with one planted problem of each kind: every one is reported, in
// one run, and nothing else is.
TEST(ContentChecker, ReportsEveryPlantedProblemOnce)
{
    TempFolder folder;
    folder.WriteText(
        "Content/Config/KeyMappings.json",
        R"({"MoveUp": "W", "MoveDown": "S", "MoveLeft": "A", "MoveRight": "GamepadDPadRight",
                         "AddObjects": "Bogus", "Jump": "Space", "RemoveObjects": "Backspace"})");
    folder.MakeFolder("Content/Sound/Main");
    folder.MakeFolder("Content/Music");
    WritePng(folder.Path() / "Content/Textures/Main/Ship.png", 8, 8, 0xffffffff);
    folder.WriteText("Content/Textures/Main/Broken.png", "not an image");
    const int wav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    WriteCountingSound(folder.Path() / "Content/Sound/Main/Tap1.wav", 100, 48000, wav);
    WriteCountingSound(folder.Path() / "Content/Sound/Main/Tap1.flac", 100, 48000,
                       SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    folder.WriteText("Content/Sound/Main/Noise.wav", "not audio");
    folder.WriteText("Content/Sound/Main/Tap.json",
                     R"({"Layers": [{"Sound": "Tap1"}, {"Sound": "Missing"}]})");
    folder.WriteText("Content/Sound/Main/Bad.json", R"({"LayerMode": "Sequential"})");
    folder.WriteText("Content/Sound/Main/Ugly.json", "{");
    WriteCountingSound(folder.Path() / "Content/Music/Klezmer.wav", 1000, 48000, wav);
    folder.WriteText("Content/Music/Klezmer.json",
                     R"({"LoopStartSample": 10, "LoopEndSample": 5000})");
    folder.WriteText("Content/Music/Lonely.json", R"({"LoopStartSample": 1, "LoopEndSample": 2})");
    WriteCountingSound(folder.Path() / "Content/Music/Ramp.wav", 1000, 48000, wav);
    folder.WriteText("Content/Music/Ramp.json",
                     R"({"LoopStartSample": 100, "LoopEndSample": 899})");
    WriteCountingSound(folder.Path() / "Content/Music/Other.wav", 1000, 48000, wav);
    folder.WriteText("Content/Music/Other.json",
                     R"({"LoopStartSample": "abc", "LoopEndSample": 2})");

    ContentChecker checker;
    checker.Check(folder.Path());

    const std::multiset<std::string> expected = {
        R"(warning: Content/Config/KeyMappings.json: "Bogus" (for AddObjects) is no key or pad name)",
        R"(warning: Content/Config/KeyMappings.json: "Jump" is no action; the mapping is ignored)",
        "warning: Content/Config/KeyMappings.json: the action AddObjects has no key",
        "warning: Content/Textures/Main/Broken.png: the image does not load",
        "warning: Content/Sound/Main/Noise.wav: the audio engine refuses the file",
        "warning: Content/Sound/Main/Tap1.",
        "error: Content/Sound/Main/Ugly.json(1): ",
        "error: Content/Sound/Main/Bad.json: No such node (Layers)",
        R"(warning: Content/Sound/Main/Tap.json: the layer sound "Missing" is no sound of the bank)",
        R"(warning: Content/Sound/Main: no cue "Click")",
        "warning: Content/Music/Lonely.json: no audio file of the same name",
        "warning: Content/Music/Klezmer.json: the loop 10..5000 is refused",
        "warning: Content/Music/Ramp.json: the loop 100..899 of Ramp.wav jumps further",
        R"(error: Content/Music/Other.json: conversion of data to type "int" failed)",
    };
    std::multiset<std::string> unmatched = expected;
    for (const ContentChecker::Problem& problem : checker.problems)
    {
        const std::string line = Line(problem);
        auto found = std::find_if(unmatched.begin(), unmatched.end(),
                                  [&](const std::string& start)
                                  { return line.compare(0, start.size(), start) == 0; });
        if (found == unmatched.end())
            ADD_FAILURE() << "unexpected: " << line;
        else
            unmatched.erase(found);
    }
    for (const std::string& missing : unmatched)
        ADD_FAILURE() << "not reported: " << missing;
    EXPECT_EQ(checker.ErrorCount(), 3);
}
