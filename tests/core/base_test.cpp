#include <gtest/gtest.h>

#include "test_support.hpp"

namespace {

TEST(BaseTest, PiecesAtDepthZero) {
    const std::pair<std::string, std::string> cases[] = {
        {base::indent(3), "\t\t\t"}, {base::indent(0), ""},          {base::indent(-2), ""},
        {base::tab(), ""},           {base::newline(), "\n"},        {base::openBrace(), "\n{\n"},
        {base::closeBrace(), "\n}\n"}, {base::openBracket(), "\n[\n"}, {base::closeBracket(), "\n]\n"},
        {base::semicolon(), ";"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.first, c.second);
}

}  // namespace
