#pragma once

#include <boost/filesystem/path.hpp>

#include <string>
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

    void CheckKeyMappings();
    void CheckTextures();
    void CheckSounds();
    void CheckMusic();

    boost::filesystem::path root;
};
