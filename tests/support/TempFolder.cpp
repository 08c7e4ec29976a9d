#include "support/TempFolder.h"

#include <boost/filesystem/operations.hpp>

#include <fstream>
#include <stdexcept>

namespace fs = boost::filesystem;

TempFolder::TempFolder()
    : path(fs::temp_directory_path() / fs::unique_path("game-test-%%%%-%%%%-%%%%"))
{
    fs::create_directories(path);
}

TempFolder::~TempFolder()
{
    boost::system::error_code ignored;
    fs::remove_all(path, ignored);
}

fs::path TempFolder::WriteText(const std::string& relativePath, const std::string& text) const
{
    fs::path file = path / relativePath;
    fs::create_directories(file.parent_path());
    std::ofstream out(file.string(), std::ios::binary);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
    return file;
}

fs::path TempFolder::MakeFolder(const std::string& relativePath) const
{
    fs::path folder = path / relativePath;
    fs::create_directories(folder);
    return folder;
}

WorkingDirectory::WorkingDirectory(const fs::path& folder) : previous(fs::current_path())
{
    fs::current_path(folder);
}

WorkingDirectory::~WorkingDirectory()
{
    boost::system::error_code ignored;
    fs::current_path(previous, ignored);
}
