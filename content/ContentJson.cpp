#include "content/ContentJson.h"

#include "content/ContentFile.h"

#include <boost/property_tree/json_parser.hpp>

#include <cerrno>
#include <cstring>
#include <locale>
#include <sstream>

namespace pt = boost::property_tree;

namespace
{
// Content JSON files are a few kilobytes; these bounds keep a hostile file
// from exhausting memory or the reader's recursion.
const std::size_t MaxJsonBytes = 16 * 1024 * 1024;
const int MaxJsonDepth = 256;
// A read tree costs a few hundred bytes a value: a file of a million tiny
// values would take gigabytes and seconds. Content has tens of values.
const long MaxJsonValues = 100000;

// The line on which arrays and objects first nest deeper than the limit, or
// the values first pass theirs (the problem said in `problem`), or 0.
int LineOverLimits(const std::string& text, std::string* problem)
{
    int depth = 0;
    long values = 1;
    int line = 1;
    bool inString = false;
    bool escaped = false;
    for (char c : text)
    {
        if (c == '\n')
            ++line;
        if (inString)
        {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        }
        else if (c == '"')
            inString = true;
        else if (c == '[' || c == '{')
        {
            if (++depth > MaxJsonDepth)
            {
                *problem =
                    "arrays and objects nested more than " + std::to_string(MaxJsonDepth) + " deep";
                return line;
            }
        }
        else if (c == ',' && ++values > MaxJsonValues)
        {
            *problem = "more than " + std::to_string(MaxJsonValues) + " values";
            return line;
        }
        else if ((c == ']' || c == '}') && depth > 0)
            --depth;
    }
    return 0;
}
} // namespace

pt::ptree ReadContentJson(const boost::filesystem::path& file)
{
    std::string text;
    std::string reason;
    if (!ReadRegularFile(file, MaxJsonBytes, &text, &reason))
    {
        std::string message = "cannot open file";
        if (reason != std::strerror(ENOENT))
            message += " (" + reason + ")";
        throw pt::json_parser_error(message, file.string(), 0);
    }
    std::string problem;
    if (int line = LineOverLimits(text, &problem))
        throw pt::json_parser_error(problem, file.string(), static_cast<unsigned long>(line));

    std::istringstream stream(text);
    stream.imbue(std::locale());
    pt::ptree tree;
    try
    {
        pt::read_json(stream, tree);
    }
    catch (const pt::json_parser_error& error)
    {
        throw pt::json_parser_error(error.message(), file.string(), error.line());
    }
    return tree;
}

const pt::ptree& ReadChild(const pt::ptree& tree, const std::string& key)
{
    return tree.get_child(key);
}

std::string ReadText(const pt::ptree& tree, const std::string& key)
{
    return tree.get<std::string>(key);
}

std::string ReadText(const pt::ptree& tree, const std::string& key, const std::string& defaultText)
{
    return tree.get<std::string>(key, defaultText);
}

boost::optional<float> ReadOptionalFloat(const pt::ptree& tree, const std::string& key)
{
    return tree.get_optional<float>(key);
}

int32_t ReadInt(const pt::ptree& node)
{
    // The library's own message would name the type as the compiler mangles it.
    if (boost::optional<int32_t> value = node.get_value_optional<int32_t>())
        return *value;
    throw pt::ptree_bad_data("conversion of data to type \"int\" failed", node.data());
}

std::string ReadNodeText(const pt::ptree& node)
{
    return node.get_value<std::string>();
}

void RethrowNamingFile(const boost::filesystem::path& file)
{
    const std::string prefix = file.string() + ": ";
    try
    {
        throw;
    }
    catch (const pt::ptree_bad_path& error)
    {
        throw pt::ptree_bad_path(prefix + "No such node", error.path<pt::ptree::path_type>());
    }
    catch (const pt::ptree_bad_data& error)
    {
        throw pt::ptree_bad_data(prefix + error.what(), std::string());
    }
    catch (const pt::ptree_error& error)
    {
        throw pt::ptree_error(prefix + error.what());
    }
}
