#include "content/ContentFolder.h"

#include <boost/filesystem/operations.hpp>

namespace fs = boost::filesystem;

namespace
{
std::string LowerAscii(std::string text)
{
    for (char& c : text)
    {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}
} // namespace

void ScanContentFolder(const fs::path& folder,
                       const std::function<void(const ContentEntry&)>& visitor)
{
    for (fs::directory_iterator it(folder), end; it != end; ++it)
    {
        ContentEntry entry;
        entry.path = folder / it->path().filename();
        entry.extension = LowerAscii(entry.path.extension().string());
        entry.name = entry.path.stem().string();

        boost::system::error_code error;
        fs::file_status status = fs::status(entry.path, error);
        if (status.type() == fs::file_not_found)
            continue; // vanished since listed, or a dangling link
        if (error)
            throw fs::filesystem_error("status", entry.path, error);
        if (status.type() != fs::regular_file)
            continue;
        visitor(entry);
    }
}

StemGroups GroupByStem(const fs::path& folder)
{
    StemGroups groups;
    ScanContentFolder(folder,
                      [&](const ContentEntry& entry)
                      {
                          auto& group =
                              entry.extension == ".json" ? groups.jsonFiles : groups.otherFiles;
                          group[entry.name].push_back(entry);
                      });
    return groups;
}

fs::path BankFolder(const char* kindFolder, const std::string& bankName)
{
    return fs::path(kindFolder) / bankName;
}
