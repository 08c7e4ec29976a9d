#include "input/Key.h"
#include "shell/TranslateVirtualKey.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace
{
std::string NameOf(uint32_t virtualKey)
{
    uint32_t key = TranslateVirtualKey(virtualKey);
    return key < KeyCount ? KeyNames[key] : "(" + std::to_string(key) + ")";
}

} // namespace

TEST(TranslateVirtualKeyTest, TableTranslatesItsEntriesAndPassesOtherCodesThrough)
{
    // Letters, digits, keypad digits and function keys by their codes' rule;
    // the other keys by sample.
    for (char c = 0; c < 26; ++c)
        EXPECT_EQ(NameOf('A' + c), std::string(1, char('A' + c)));
    for (int i = 0; i < 10; ++i)
    {
        EXPECT_EQ(NameOf('0' + i), std::to_string(i));
        EXPECT_EQ(NameOf(96 + i), "Keypad" + std::to_string(i));
    }
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(NameOf(112 + i), "F" + std::to_string(i + 1));
    const std::pair<uint32_t, const char*> rows[] = {{8, "Backspace"},
                                                     {13, "OemEnter"},
                                                     {46, "Delete"},
                                                     {186, "Semicolon"},
                                                     {222, "Apostrophe"}};
    for (const auto& [code, name] : rows)
        EXPECT_EQ(NameOf(code), name) << "code " << code;

    // Codes without an entry stand for themselves, F13 (124) too.
    std::set<uint32_t> produced;
    for (uint32_t code = 1; code < 256; ++code)
        produced.insert(TranslateVirtualKey(code));
    EXPECT_EQ(TranslateVirtualKey(124), 124u);
    EXPECT_EQ(TranslateVirtualKey(108), 108u);
    // No code reaches the keys without an entry, and Delete is not A.
    for (Key key : {Key::None, Key::RightShift, Key::KeypadEnter, Key::EnumLast})
        EXPECT_FALSE(produced.count(static_cast<uint32_t>(key))) << KeyNames[static_cast<int>(key)];
    EXPECT_NE(TranslateVirtualKey(46), static_cast<uint32_t>(Key::A));
}
