#pragma once

#include "content/ContentFolder.h"

#include <boost/filesystem/path.hpp>
#include <boost/property_tree/ptree.hpp>

#include <map>
#include <string>
#include <utility>
#include <vector>

// Checks a whole Content tree with the game's own readers, loaders and audio
// engine, and records every problem instead of stopping at the first.
// Errors are what would end the game; warnings are what the game skips or
// ignores without a word.
class ContentChecker
{
public:
    struct Problem
    {
        bool error = false;
        std::string text; // names the file or folder first
    };

    // Checks the "Content" folder below root.
    void Check(const boost::filesystem::path& root);

    int ErrorCount() const;
    int WarningCount() const;

    std::vector<Problem> problems;

private:
    void Error(const std::string& text);
    void Warn(const boost::filesystem::path& file, const std::string& text);

    // Every JSON file of the groups read, errors recorded; the last listed
    // of a stem is kept, with its path.
    using JsonFiles =
        std::map<std::string, std::pair<boost::filesystem::path, boost::property_tree::ptree>>;
    JsonFiles ReadJsonFiles(const StemGroups& files);

    void CheckKeyMappings();
    void CheckTextures();
    void CheckSounds();
    void CheckMusic();

    boost::filesystem::path root;
};
