#include "content/ContentJson.h"
#include "support/TempFolder.h"

#include <boost/property_tree/json_parser.hpp>
#include <gtest/gtest.h>

#include <string>

namespace pt = boost::property_tree;

namespace
{
template <typename Error, typename Call> std::string MessageOf(Call call)
{
    try
    {
        call();
    }
    catch (const Error& error)
    {
        return error.what();
    }
    return "no error";
}
} // namespace

TEST(ReadContentJson, ErrorsNameTheFileWithTheReadersWords)
{
    TempFolder folder;
    boost::filesystem::path missing = folder.Path() / "Missing.json";
    EXPECT_EQ(MessageOf<pt::json_parser_error>([&] { ReadContentJson(missing); }),
              missing.string() + ": cannot open file");

    // Parsed from memory, yet the message keeps the file and the line.
    boost::filesystem::path malformed = folder.WriteText(
        "Bad.json", "{\n  \"Layers\": [\n    {\"Sound\": \"A\"}\n    {\"Sound\": \"B\"}\n  ]\n}\n");
    EXPECT_EQ(MessageOf<pt::json_parser_error>([&] { ReadContentJson(malformed); }),
              malformed.string() + "(4): expected ']' or ','");

    pt::ptree tree =
        ReadContentJson(folder.WriteText("Track.json", R"({"Whole": 12, "Fraction": 12.5})"));
    EXPECT_EQ(ReadInt(ReadChild(tree, "Whole")), 12);
    EXPECT_EQ(MessageOf<pt::ptree_bad_data>([&] { ReadInt(ReadChild(tree, "Fraction")); }),
              "conversion of data to type \"int\" failed");
    EXPECT_EQ(MessageOf<pt::ptree_bad_path>([&] { ReadChild(tree, "Layers"); }),
              "No such node (Layers)");
}
