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

TEST(ReadContentJson, ReaderErrorsKeepTheirOwnMessages)
{
    TempFolder folder;
    boost::filesystem::path missing = folder.Path() / "Missing.json";
    EXPECT_EQ(MessageOf<pt::json_parser_error>([&] { ReadContentJson(missing); }),
              missing.string() + ": cannot open file");

    boost::filesystem::path malformed = folder.WriteText(
        "Bad.json", "{\n  \"Layers\": [\n    {\"Sound\": \"A\"}\n    {\"Sound\": \"B\"}\n  ]\n}\n");
    EXPECT_EQ(MessageOf<pt::json_parser_error>([&] { ReadContentJson(malformed); }),
              malformed.string() + "(4): expected ']' or ','");
}

TEST(ReadContentJson, ValueReadsFailWithTheTreeMessages)
{
    TempFolder folder;
    pt::ptree tree = ReadContentJson(folder.WriteText(
        "Track.json", R"({"Whole": 12, "Fraction": 12.5, "Exp": "1e3", "Text": " 7 ", "One": 1,
                          "Half": "5e-1", "Flag": true})"));
    EXPECT_EQ(MessageOf<pt::ptree_bad_path>([&] { ReadChild(tree, "Layers"); }),
              "No such node (Layers)");
    EXPECT_EQ(MessageOf<pt::ptree_bad_path>([&] { ReadText(tree, "Sound"); }),
              "No such node (Sound)");

    EXPECT_EQ(ReadInt(ReadChild(tree, "Whole")), 12);
    EXPECT_EQ(ReadInt(ReadChild(tree, "Text")), 7);
    EXPECT_EQ(MessageOf<pt::ptree_bad_data>([&] { ReadInt(ReadChild(tree, "Fraction")); }),
              "conversion of data to type \"int\" failed");
    EXPECT_THROW(ReadInt(ReadChild(tree, "Exp")), pt::ptree_bad_data);
    EXPECT_THROW(ReadInt(ReadChild(tree, "Flag")), pt::ptree_bad_data);

    EXPECT_EQ(ReadOptionalFloat(tree, "One").value(), 1.0f);
    EXPECT_EQ(ReadOptionalFloat(tree, "Half").value(), 0.5f);
    EXPECT_EQ(ReadOptionalFloat(tree, "Fraction").value(), 12.5f);
    EXPECT_FALSE(ReadOptionalFloat(tree, "Flag"));
    EXPECT_FALSE(ReadOptionalFloat(tree, "Missing"));
}
