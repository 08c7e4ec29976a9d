#include "content/ContentJson.h"

#include <boost/property_tree/json_parser.hpp>

#include <locale>

namespace pt = boost::property_tree;

pt::ptree ReadContentJson(const boost::filesystem::path& file)
{
    pt::ptree tree;
    pt::read_json(file.string(), tree, std::locale());
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
    return node.get_value<int32_t>();
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
