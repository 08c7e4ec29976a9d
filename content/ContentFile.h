#pragma once

#include <boost/filesystem/path.hpp>

#include <cstddef>
#include <string>

// Reads a whole content file into memory, but only a regular file: a FIFO, a
// device or a folder put where a file belongs is refused without blocking,
// and so is a file larger than maxBytes. Returns false with a short reason
// ("not a regular file", "larger than 16 MiB", the system's error text).
bool ReadRegularFile(const boost::filesystem::path& file, std::size_t maxBytes, std::string* bytes,
                     std::string* reason);
