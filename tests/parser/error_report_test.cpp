// The parser's error report: kind and number by the exact class of the error,
// the place, file and message of the error, and the current rule name.
#include <gtest/gtest.h>

#include <antlr/CommonToken.hpp>
#include <antlr/MismatchedCharException.hpp>
#include <antlr/MismatchedTokenException.hpp>
#include <antlr/NoViableAltException.hpp>
#include <antlr/NoViableAltForCharException.hpp>
#include <antlr/SemanticException.hpp>
#include <antlr/TokenStream.hpp>

#include "compiler/parser/parser.hpp"
#include "tests/support/own_session.hpp"

namespace {

class EndOfInput : public antlr::TokenStream {
public:
    antlr::RefToken nextToken() override
    {
        return antlr::RefToken(new antlr::CommonToken(antlr::Token::EOF_TYPE, ""));
    }
};

struct DerivedMismatch : antlr::MismatchedTokenException {};

struct Row {
    const char* what;
    int kind;
    int number;
};

TEST(ErrorReportTest, KindAndNumberFollowTheExactClass)
{
    OwnJob driver("t.e");
    EndOfInput input;
    QUVParser parser(input);
    parser.job = &driver;
    parser.ruleName = "someRule";

    antlr::RefToken token(new antlr::CommonToken(QUVParser::IDENT, "x"));
    token->setLine(3);
    token->setColumn(7);
    parser.reportError(antlr::MismatchedCharException());
    parser.reportError(antlr::NoViableAltForCharException('@', "t.e", 3, 7));
    parser.reportError(antlr::MismatchedTokenException());
    parser.reportError(antlr::NoViableAltException(token, "t.e"));
    parser.reportError(antlr::SemanticException("bad"));
    parser.reportError(DerivedMismatch());
    parser.reportError(antlr::RecognitionException("plain", "t.e", 3, 7));

    const Row rows[] = {
        {"mismatched character", 1, 4}, {"no viable character", 1, 5},
        {"mismatched token", 2, 6},     {"no viable token", 2, 7},
        {"semantic", 3, 15},            {"derived mismatch", 5, 21},
        {"other", 5, 21},
    };
    const std::vector<QUVException>& list = driver.records();
    ASSERT_EQ(list.size(), std::size(rows));
    for (size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].getKind(), rows[i].kind) << rows[i].what;
        EXPECT_EQ(list[i].getNumber(), rows[i].number) << rows[i].what;
        EXPECT_EQ(list[i].getRule(), "someRule") << rows[i].what;
    }
    EXPECT_EQ(list[3].getLine(), 3);
    EXPECT_EQ(list[3].getColumn(), 7);
    EXPECT_EQ(list[3].getFileName(), "t.e");
    EXPECT_EQ(list[6].getDetails(), "plain");
}

}  // namespace
