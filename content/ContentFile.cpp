#include "content/ContentFile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
std::string SizeText(std::size_t bytes)
{
    if (bytes % (1024 * 1024) == 0)
        return std::to_string(bytes / (1024 * 1024)) + " MiB";
    return std::to_string(bytes) + " bytes";
}
} // namespace

bool ReadRegularFile(const boost::filesystem::path& file, std::size_t maxBytes, std::string* bytes,
                     std::string* reason)
{
    // Opened without blocking, then checked through the open descriptor, so a
    // FIFO swapped in after a listing cannot stall the game in open() or read().
    int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
    {
        *reason = std::strerror(errno);
        return false;
    }
    struct stat info;
    bool ok = false;
    if (::fstat(fd, &info) != 0)
        *reason = std::strerror(errno);
    else if (!S_ISREG(info.st_mode))
        *reason = "not a regular file";
    else if (static_cast<unsigned long long>(info.st_size) > maxBytes)
        *reason = "larger than " + SizeText(maxBytes);
    else
    {
        bytes->resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        ok = true;
        // A file that shrinks while read ends short; one that grows is cut at
        // the size it had.
        while (done < bytes->size())
        {
            ssize_t got = ::read(fd, &(*bytes)[done], bytes->size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
            {
                *reason = std::strerror(errno);
                ok = false;
                break;
            }
            if (got == 0)
                break;
            done += static_cast<std::size_t>(got);
        }
        bytes->resize(done);
    }
    ::close(fd);
    return ok;
}
