#pragma once

#include <boost/filesystem/path.hpp>

#include <string>

// A fresh folder under the system's temporary folder, removed with all its
// content when the object goes.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const boost::filesystem::path& Path() const { return path; }

    // Writes a text file below the folder (creating its parent folders) and
    // returns its full path.
    boost::filesystem::path WriteText(const std::string& relativePath,
                                      const std::string& text) const;

    // Creates a folder below this one and returns its full path.
    boost::filesystem::path MakeFolder(const std::string& relativePath) const;

private:
    boost::filesystem::path path;
};

// Makes a folder the working directory for the object's lifetime.
class WorkingDirectory
{
public:
    explicit WorkingDirectory(const boost::filesystem::path& folder);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    boost::filesystem::path previous;
};
