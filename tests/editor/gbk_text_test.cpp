#include "editor/wx/gbk_text.hpp"

#include <gtest/gtest.h>

namespace quvpad {
namespace {

TEST(GbkText, TextsCrossTheBoundaryBothWays)
{
    struct Case {
        std::string gbk;
        std::string utf8;
    };
    const Case cases[] = {
        {"plain ascii", "plain ascii"},
        {"\xD6\xD0\xCE\xC4", "中文"},
        {"\xB2\xE2\xCA\xD4: x", "测试: x"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Case& c : cases) {
        wxString wide = GbkToWx(c.gbk);
        EXPECT_EQ(std::string(wide.utf8_str().data(), wide.utf8_str().length()), c.utf8);
        EXPECT_EQ(WxToGbk(wide), c.gbk);
    }
}

TEST(GbkText, BytesThatFormNoCharacterComeBackUnchanged)
{
    const std::string odd[] = {"\x80", "\xFF", "a\xD6", "\xD6" "a", "\x81\x7F"};
    for (const std::string& s : odd)
        EXPECT_EQ(WxToGbk(GbkToWx(s)), s) << testing::PrintToString(s);
}

TEST(GbkText, CharactersGbkLacksBecomeQuestionMarks)
{
    EXPECT_EQ(WxToGbk(wxString::FromUTF8("a\xF0\x9F\x98\x80" "b")), "a?b");   // an emoji
    EXPECT_EQ(CharToGbk(wxUniChar(0x4E2D)), "\xD6\xD0");
    EXPECT_EQ(CharToGbk(wxUniChar(0x1F600)), "");
}

} // namespace
} // namespace quvpad
