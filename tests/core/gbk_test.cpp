// File names and the compiler's texts between UTF-8 and GBK.
#include <gtest/gtest.h>

#include "compiler/core/gbk.hpp"

namespace {

// A file name's bytes are shown as they are when they are UTF-8 and read as
// GBK when they are not; UTF-8 is checked strictly, so that no GBK pair
// passes for it through a loose form.
TEST(Gbk, FileNamesAreShownAsUtf8WhenTheyAreAndAsGbkOtherwise) {
    const struct {
        const char* what;
        std::string bytes;
        bool utf8;
        std::string shown;
    } cases[] = {
        {"ASCII", "/tmp/a.e", true, "/tmp/a.e"},
        {"empty", "", true, ""},
        {"Chinese UTF-8", "/home/张三/项目/程序.e", true, "/home/张三/项目/程序.e"},
        {"four bytes", "\xF0\x9F\x98\x80.e", true, "\xF0\x9F\x98\x80.e"},
        {"GBK", gbk::fromUtf8("/项目/程序.e"), false, "/项目/程序.e"},
        {"cut short", "\xE5\xBC", false, gbk::toUtf8("\xE5\xBC")},
        {"overlong slash", "\xC0\xAF", false, gbk::toUtf8("\xC0\xAF")},
        {"overlong three bytes", "\xE0\x80\xAF", false, gbk::toUtf8("\xE0\x80\xAF")},
        {"surrogate", "\xED\xA0\x80", false, gbk::toUtf8("\xED\xA0\x80")},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false, gbk::toUtf8("\xF4\x90\x80\x80")},
        {"lone continuation", "a\x80", false, gbk::toUtf8("a\x80")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(gbk::isUtf8(c.bytes), c.utf8) << c.what;
        EXPECT_EQ(gbk::fileNameToUtf8(c.bytes), c.shown) << c.what;
    }
}

}  // namespace
