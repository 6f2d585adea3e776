// Deeply nested source ends the parse with one diagnostic instead of overflowing the stack.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "compiler/lexer/lexer.hpp"
#include "parse_helpers.hpp"
#include "tests/support/own_session.hpp"

namespace {

std::string nested(int depth, const std::string& open, const std::string& close)
{
    std::string text;
    for (int i = 0; i < depth; ++i) text += open;
    text += "1";
    for (int i = 0; i < depth; ++i) text += close;
    return text;
}

typedef std::function<void(QUVParser&)> StartRule;

void typesetProgram(QUVParser& parser)
{
    TypesettingPass pass(*parser.job);
    parser.typesetProgram(pass);
}

// Runs one start rule; tells whether the parse was stopped, and leaves the diagnostics in the list.
bool stopped(JobState& driver, const std::string& source, const StartRule& rule)
{
    std::istringstream in(source);
    SourceParser session(in, "t.e", driver);
    try {
        rule(session.parser);
    } catch (const antlr::ANTLRException&) {
        return true;
    }
    return false;
}

TEST(NestingTest, TooDeepSourceStopsWithOneDiagnostic)
{
    struct Row {
        const char* what;
        std::string source;
        StartRule rule;
    } rows[] = {
        {"parentheses", nested(50000, "(", ")"), &QUVParser::expression},
        {"negations", nested(50000, "-(", ")"), &QUVParser::expression},
        {"indexes", nested(50000, "a[", "]"), &QUVParser::expression},
        {"typeset", "%Prog p == [ ] [ Syn %Glob [ c = " + nested(50000, "(", ")") + " ] ].",
         typesetProgram},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        OwnJob driver("t.e");
        EXPECT_TRUE(stopped(driver, row.source, row.rule));
        ASSERT_EQ(driver.records().size(), 1u);
        EXPECT_EQ(driver.records()[0].getKind(), 5);
        EXPECT_EQ(driver.records()[0].getNumber(), 21);
    }
}

TEST(NestingTest, OrdinaryDepthsParseAndTheGuardStartsAfresh)
{
    OwnJob driver("t.e");
    EXPECT_TRUE(stopped(driver, nested(50000, "(", ")"), &QUVParser::expression));
    ParseResult result = parseExpression(nested(100, "(", ")"));
    EXPECT_TRUE(result.diags.empty());
    size_t parens = 0;
    for (size_t at = result.tree.find("PARENS"); at != std::string::npos; at = result.tree.find("PARENS", at + 1))
        ++parens;
    EXPECT_EQ(parens, 100u);
}

}  // namespace
