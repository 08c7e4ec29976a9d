#include "audio/MusicManager.h"
#include "audio/SoundManager.h"
#include "audio/engine/AudioSystem.h"
#include "input/ActionNames.h"
#include "input/InputManager.h"
#include "shell/Game.h"
#include "support/TempFolder.h"

#include <boost/filesystem/operations.hpp>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>

#include <sys/stat.h>

namespace fs = boost::filesystem;

namespace
{
const char* const Mappings = "Content/Config/KeyMappings.json";
const char* const CueFile = "Content/Sound/Main/Tap.json";
const char* const Metadata = "Content/Music/Song.json";

// One damaged file (its folder says which loader meets it), and what the
// loader's error must say besides the file's name.
struct HostileCase
{
    const char* name;
    const char* file;
    std::function<void(const fs::path&)> make;
    const char* message;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const HostileCase& hostile, std::ostream* out)
{
    *out << hostile.name;
}

std::function<void(const fs::path&)> Text(std::string text)
{
    return [text](const fs::path& file) { std::ofstream(file.string(), std::ios::binary) << text; };
}

const HostileCase Cases[] = {
    {"DeepMappings", Mappings, Text(std::string(100000, '[')),
     "(1): arrays and objects nested more than 256 deep"},
    {"DeepCue", CueFile, Text("{\"Layers\":\n" + std::string(300, '[')),
     "(2): arrays and objects nested more than 256 deep"},
    {"DeepMetadata", Metadata, Text(std::string(100000, '{')),
     "(1): arrays and objects nested more than 256 deep"},
    {"MappingsFifo", Mappings,
     [](const fs::path& file) { ASSERT_EQ(mkfifo(file.c_str(), 0600), 0); },
     ": cannot open file (not a regular file)"},
    {"MappingsFolder", Mappings, [](const fs::path& file) { fs::create_directory(file); },
     ": cannot open file (not a regular file)"},
    {"GiantMappings", Mappings, Text("{\"MoveUp\": \"" + std::string(17 << 20, 'W') + "\"}"),
     ": cannot open file (larger than 16 MiB)"},
    {"ManyValues", Metadata,
     [](const fs::path& file)
     {
         std::string values = "[0";
         for (int i = 0; i < 2000000; ++i)
             values += ",0";
         Text(values + "]")(file);
     },
     "(1): more than 100000 values"},
    {"CueWithoutLayers", CueFile, Text("{\"LayerMode\": \"Sequential\"}"),
     ": No such node (Layers)"},
    {"CueLinkLoop", "Content/Sound/Main/Loop.wav",
     [](const fs::path& file) { fs::create_symlink(file.filename(), file); },
     "Too many levels of symbolic links"},
    {"MissingMappings", Mappings, [](const fs::path&) {}, ": cannot open file"},
    {"MalformedCue", CueFile,
     Text("{\n  \"Layers\": [\n    {\"Sound\": \"A\"}\n    {\"Sound\": \"B\"}\n  ]\n}\n"),
     "(4): expected ']' or ','"},
    {"MusicFolderIsAFile", "Content/Music",
     [](const fs::path& file) { fs::remove_all(file), Text("")(file); }, "Not a directory"},
    {"MissingLoopEnd", Metadata, Text("{\"LoopStartSample\": 1}"),
     ": No such node (LoopEndSample)"},
    {"FractionalLoopPoint", Metadata, Text("{\"LoopStartSample\": 12.5, \"LoopEndSample\": 20}"),
     ": conversion of data to type \"int\" failed"},
    {"LoopPointPastInt", Metadata, Text("{\"LoopStartSample\": 1, \"LoopEndSample\": 2147483648}"),
     ": conversion of data to type \"int\" failed"},
};

class HostileContentTest : public ::testing::TestWithParam<HostileCase>
{
protected:
    HostileContentTest() : workingDirectory(folder.Path())
    {
        folder.MakeFolder("Content/Config");
        folder.MakeFolder("Content/Sound/Main");
        folder.MakeFolder("Content/Music");
        folder.WriteText("Content/Music/Song.wav", "");
        Game::ActionNames = CreateActionNames();
    }
    ~HostileContentTest() override
    {
        delete[] Game::ActionNames;
        Game::ActionNames = nullptr;
    }

    TempFolder folder;
    WorkingDirectory workingDirectory;
};
} // namespace

TEST_P(HostileContentTest, EndsWithAnErrorNamingTheFileAtOnce)
{
    const HostileCase& hostile = GetParam();
    hostile.make(hostile.file);

    const auto start = std::chrono::steady_clock::now();
    std::string message = "no error";
    try
    {
        const std::string file = hostile.file;
        if (file == Mappings)
            InputManager().LoadKeyMappings(file);
        else if (file.find("Content/Sound/") == 0)
            SoundManager(AudioInitOffline).LoadBank("Main");
        else
            MusicManager();
    }
    catch (const std::exception& error)
    {
        message = error.what();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_NE(message.find(hostile.file), std::string::npos) << message;
    EXPECT_NE(message.find(hostile.message), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(Loaders, HostileContentTest, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<HostileCase>& info)
                         { return std::string(info.param.name); });
