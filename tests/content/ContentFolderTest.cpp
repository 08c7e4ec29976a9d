#include "content/ContentFolder.h"
#include "support/TempFolder.h"

#include <boost/filesystem/operations.hpp>
#include <gtest/gtest.h>

#include <map>
#include <string>

namespace fs = boost::filesystem;

namespace
{
// The entries of a scan, by file name (the listing order is the system's).
std::map<std::string, ContentEntry> Scan(const fs::path& folder)
{
    std::map<std::string, ContentEntry> entries;
    ScanContentFolder(folder, [&](const ContentEntry& entry)
                      { entries[entry.path.filename().string()] = entry; });
    return entries;
}
} // namespace

TEST(ScanContentFolder, ListsRegularFilesWithStemAndLowerCasedExtension)
{
    TempFolder folder;
    for (const char* name : {".json", "a.b.json", "Tap.WAV", "Tap.wav", "tap.wav", "README",
                             "Cue.JSON", "Cue.json.bak", "Ship.Png"})
        folder.WriteText(name, "x");
    folder.WriteText("Extra/Inner.png", "x");
    fs::create_symlink(folder.Path() / "nowhere.wav", folder.Path() / "Dangling.wav");
    fs::create_symlink(folder.Path() / "README", folder.Path() / "Linked.ogg");

    std::map<std::string, ContentEntry> entries = Scan(folder.Path());
    EXPECT_EQ(entries.size(), 10u); // the subfolder and the dangling link are skipped
    EXPECT_EQ(entries.count("Dangling.wav"), 0u);

    // File, stem, extension; a link to a regular file counts as one.
    const char* const rows[][3] = {{".json", "", ".json"},
                                   {"a.b.json", "a.b", ".json"},
                                   {"Tap.WAV", "Tap", ".wav"},
                                   {"tap.wav", "tap", ".wav"},
                                   {"README", "README", ""},
                                   {"Cue.JSON", "Cue", ".json"},
                                   {"Cue.json.bak", "Cue.json", ".bak"},
                                   {"Ship.Png", "Ship", ".png"},
                                   {"Linked.ogg", "Linked", ".ogg"}};
    for (const auto& [file, name, extension] : rows)
    {
        ASSERT_EQ(entries.count(file), 1u) << file;
        EXPECT_EQ(entries[file].name, name) << file;
        EXPECT_EQ(entries[file].extension, extension) << file;
        EXPECT_EQ(entries[file].path, folder.Path() / file);
    }
}
