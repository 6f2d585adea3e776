#include "editor/color_tokenizer.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quvpad;

namespace {

struct Tok {
    std::string text;
    int colorClass;
    bool operator==(const Tok& o) const { return text == o.text && colorClass == o.colorClass; }
};

std::ostream& operator<<(std::ostream& os, const Tok& t) { return os << "{\"" << t.text << "\"," << t.colorClass << "}"; }

std::vector<Tok> Tokenize(std::string rest, int& state)
{
    std::vector<Tok> out;
    bool more = !rest.empty();
    while (more) {
        std::string token;
        int cls = -1, len = 0;
        size_t before = rest.size();
        more = NextToken(rest, state, token, cls, len);
        EXPECT_EQ(static_cast<size_t>(len), token.size());
        EXPECT_EQ(before - rest.size(), token.size());
        out.push_back({token, cls});
    }
    return out;
}

enum { B = ClassCurrentLine, K = ClassKeyword, D = ClassDefinitionLabel, I = ClassIdentifier,
       S = ClassString, N = ClassNumber, O = ClassOperator, BD = ClassBlockDelimiter,
       J = ClassJumpLabel, C = ClassComment, E = ClassError };

struct Case {
    const char* line;
    int startState;
    std::vector<Tok> tokens;
    int endState;
};

const Case cases[] = {
    // keywords in any letter case; identifiers otherwise
    {"int Int INT", 0, {{"int", K}, {" ", B}, {"Int", K}, {" ", B}, {"INT", K}}, 0},
    {"WRITELN integer", 0, {{"WRITELN", K}, {" ", B}, {"integer", I}}, 0},
    // definition labels
    {"LB lb7 Lb12", 0, {{"LB", D}, {" ", B}, {"lb7", D}, {" ", B}, {"Lb12", D}}, 0},
    {"LB7x LBX", 0, {{"LB7x", I}, {" ", B}, {"LBX", I}}, 0},
    // jump labels and the $ operators
    {"$OLB", 0, {{"$OLB", J}}, 0},
    {"$olb12", 0, {{"$olb12", J}}, 0},
    {"$OLB5x", 0, {{"$O", O}, {"LB5x", I}}, 0},
    {"$OLB_", 0, {{"$O", O}, {"LB_", I}}, 0},
    {"$c$T", 0, {{"$c", O}, {"$T", O}}, 0},
    {"$", 0, {{"$", O}}, 0},
    {"$OL", 0, {{"$O", O}, {"L", I}}, 0},
    // directives
    {"%PROC %chn/", 0, {{"%PROC", BD}, {" ", B}, {"%chn/", BD}}, 0},
    {"%CHN %VAR/ %FOO", 0, {{"%CHN", E}, {" ", B}, {"%VAR/", E}, {" ", B}, {"%FOO", E}}, 0},
    {"%", 0, {{"%", O}}, 0},
    {"%1", 0, {{"%", O}, {"1", N}}, 0},
    // numbers
    {"3.14", 0, {{"3.14", N}}, 0},
    {"3. 1.2.3 12ab 1_0", 0, {{"3.", E}, {" ", B}, {"1.2.3", E}, {" ", B}, {"12ab", E}, {" ", B}, {"1_0", E}}, 0},
    // comments
    {"x // y", 0, {{"x", I}, {" ", B}, {"// y", C}}, 0},
    {"/*/ a */b", 0, {{"/*/ a */", C}, {"b", I}}, 0},
    {"a /* b", 0, {{"a", I}, {" ", B}, {"/* b", C}}, 1},
    {"/*", 0, {{"/*", C}}, 1},
    {"/*/", 0, {{"/*/", C}}, 1},
    {"c */ d", 1, {{"c */", C}, {" ", B}, {"d", I}}, 0},
    {"*/", 1, {{"*/", C}}, 0},
    {"still open", 1, {{"still open", C}}, 1},
    {"/", 0, {{"/", O}}, 0},
    {"a/b", 0, {{"a", I}, {"/", O}, {"b", I}}, 0},
    // strings
    {"\"ab\" x", 0, {{"\"ab\"", S}, {" ", B}, {"x", I}}, 0},
    {"\"a\\\"b\"", 0, {{"\"a\\\"b\"", S}}, 0},
    {"\"open", 0, {{"\"open", E}}, 0},
    {"\"", 0, {{"\"", E}}, 0},
    // blanks are one run, tabs included
    {" \t x", 0, {{" \t ", B}, {"x", I}}, 0},
    // operators: the longest listed first wins
    {"-->->-", 0, {{"-->", O}, {"->", O}, {"-", O}}, 0},
    {"===>=", 0, {{"==", O}, {"=>", O}, {"=", O}}, 0},
    {"|||>|~|", 0, {{"||", O}, {"|>", O}, {"|~", O}, {"|", O}}, 0},
    {"a;b", 0, {{"a", I}, {";", O}, {"b", I}}, 0},
    // underscores, unknown characters and double-byte characters
    {"_x a_b", 0, {{"_", E}, {"x", I}, {" ", B}, {"a_b", I}}, 0},
    {"@#", 0, {{"@", E}, {"#", E}}, 0},
    {"\xD6\xD0x", 0, {{"\xD6", E}, {"\xD0", E}, {"x", I}}, 0},
    {"\"\xD6\xD0\"", 0, {{"\"\xD6\xD0\"", S}}, 0},
};

} // namespace

TEST(ColorTokenizer, EveryCaseOfTheTable)
{
    for (const Case& c : cases) {
        int state = c.startState;
        EXPECT_EQ(Tokenize(c.line, state), c.tokens) << "line: " << c.line;
        EXPECT_EQ(state, c.endState) << "line: " << c.line;
    }
}

// The end state found without colouring must be the one the token scan
// leaves, for lines built from every byte that can open or close something.
TEST(LineEndStateTest, AgreesWithTheTokenScan)
{
    const std::vector<std::string> pieces = {"/*", "*/", "//", "/", "*", "\"", "\\\"", "\\", "%CHN/", "%Stm",
                                             "%", "%_/", "$OLB1", "$O", "a", "LB2", " ", "\t", "1.5", "\xB0\xA1",
                                             "-->", "*/*", "/**/", "x//"};
    std::vector<std::string> lines = {"", "/*/", "/**/ /*", "\"/*\" /*", "\"\\\"/*\"", "%CHN/*x", "% /*",
                                      "*/ /*", "c *//", "/*/ */"};
    uint32_t seed = 12345;
    for (int n = 0; n < 4000; ++n) {
        std::string line;
        int count = static_cast<int>(seed % 7);
        for (int i = 0; i <= count; ++i) {
            seed = seed * 1103515245u + 12345u;
            line += pieces[(seed >> 8) % pieces.size()];
        }
        lines.push_back(line);
    }
    for (const std::string& line : lines)
        for (int start : {int(StateNormal), int(StateInBlockComment)}) {
            int state = start;
            for (size_t pos = 0; pos < line.size();)
                pos += ScanToken(line, pos, state).length;
            ASSERT_EQ(LineEndState(line, start), state) << "\"" << line << "\" from " << start;
        }
}
