#pragma once

#include <boost/filesystem/path.hpp>

#include <functional>
#include <map>
#include <string>
#include <vector>

// The content folders, relative to the working directory.
namespace ContentFolders
{
inline const char* const KeyMappingsFile = "Content/Config/KeyMappings.json";
inline const char* const Textures = "Content/Textures";
inline const char* const Sound = "Content/Sound";
inline const char* const Music = "Content/Music";
} // namespace ContentFolders

// One listed file: its stem (case kept), its extension with the dot and
// lower-cased (A to Z only), and its path (folder joined with the file name).
struct ContentEntry
{
    std::string name;
    std::string extension;
    boost::filesystem::path path;
};

// Lists the folder, not recursively and in the system's order, and calls the
// visitor for every regular file (links followed; vanished items skipped).
// Listing errors and visitor errors leave at once, as thrown.
void ScanContentFolder(const boost::filesystem::path& folder,
                       const std::function<void(const ContentEntry&)>& visitor);

// A folder's regular files by stem, each stem's files in listing order, the
// ".json" files apart from the others. This is how the sound and music
// loaders pair a JSON file with the audio file of its stem, and of several
// files of one stem they keep the one listed last.
struct StemGroups
{
    std::map<std::string, std::vector<ContentEntry>> jsonFiles;
    std::map<std::string, std::vector<ContentEntry>> otherFiles;
};
StemGroups GroupByStem(const boost::filesystem::path& folder);

// The bank folder: the kind folder joined with the bank name (an empty name
// adds nothing).
boost::filesystem::path BankFolder(const char* kindFolder, const std::string& bankName);
