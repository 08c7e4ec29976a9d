#pragma once

#include <boost/filesystem/path.hpp>
#include <boost/optional.hpp>
#include <boost/property_tree/ptree.hpp>

#include <cstdint>
#include <string>

// JSON content files and the reads made on them. Failures are the JSON
// reader's and the property tree's own exception types:
//   boost::property_tree::json_parser_error  "PATH: cannot open file", "PATH(4): expected ..."
//   boost::property_tree::ptree_bad_path     "No such node (Layers)"
//   boost::property_tree::ptree_bad_data     "conversion of data to type "int" failed"

// The file read with read_json in the default locale. Only a regular file of
// at most 16 MiB is opened (anything else "cannot open file (reason)"), and
// arrays and objects may nest at most 256 deep (deeper names the line).
boost::property_tree::ptree ReadContentJson(const boost::filesystem::path& file);

// The child under key; throws ptree_bad_path when absent.
const boost::property_tree::ptree& ReadChild(const boost::property_tree::ptree& tree,
                                             const std::string& key);

// The text under key; throws ptree_bad_path when absent.
std::string ReadText(const boost::property_tree::ptree& tree, const std::string& key);

// The text under key, or the default when absent.
std::string ReadText(const boost::property_tree::ptree& tree, const std::string& key,
                     const std::string& defaultText);

// The float under key; no value when absent or when the text does not convert.
boost::optional<float> ReadOptionalFloat(const boost::property_tree::ptree& tree,
                                         const std::string& key);

// The node's own text read as a whole 32-bit number; throws ptree_bad_data.
int32_t ReadInt(const boost::property_tree::ptree& node);

// The node's own text.
std::string ReadNodeText(const boost::property_tree::ptree& node);

// Runs reads on a tree loaded from the file. A read that fails is rethrown as
// the same kind of error with the file's path in front of its message, so
// that "No such node (Layers)" says which file lacks the key.
[[noreturn]] void RethrowNamingFile(const boost::filesystem::path& file);

template <typename Reads>
auto ReadFromContentFile(const boost::filesystem::path& file, Reads reads) -> decltype(reads())
{
    try
    {
        return reads();
    }
    catch (const boost::property_tree::ptree_error&)
    {
        RethrowNamingFile(file);
    }
}
