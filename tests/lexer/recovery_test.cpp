// Lexical errors become diagnostics and scanning goes on.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <antlr/CharStreamIOException.hpp>
#include <antlr/RecognitionException.hpp>
#include <antlr/TokenStreamRecognitionException.hpp>
#include <antlr/TokenStreamIOException.hpp>
#include <antlr/TokenStreamRetryException.hpp>

#include "compiler/core/core.hpp"
#include "compiler/lexer/lexer.hpp"
#include "lex_helpers.hpp"
#include "tests/support/own_session.hpp"

namespace {

const int kEof = 1;
const int kIdent = 155;

TEST(Recovery, BadCharacterIsReportedAndSkipped)
{
    const LexResult result = lexAll("a # b");
    EXPECT_EQ(result.tokens,
              (std::vector<Tok>{{kIdent, "a", 1, 1}, {kIdent, "b", 1, 5}, {kEof, "", 1, 6}}));
    ASSERT_EQ(result.records.size(), 1u);
    const QUVException& ex = result.records[0];
    EXPECT_EQ(ex.getKind(), 0);
    EXPECT_EQ(ex.getNumber(), 2);
    EXPECT_EQ(ex.getLine(), 1);
    EXPECT_EQ(ex.getColumn(), 3);
    EXPECT_EQ(ex.getRule(), "");
    EXPECT_EQ(ex.getFileName(), "t.e");
    EXPECT_EQ(ex.getDetails().rfind("unexpected char: ", 0), 0u) << ex.getDetails();
    EXPECT_NE(ex.getDetails().find('#'), std::string::npos) << ex.getDetails();
}

TEST(Recovery, OneDiagnosticPerBadCharacter)
{
    const LexResult result = lexAll("x\n @#`y");
    EXPECT_EQ(result.diags, (std::vector<Diag>{{0, 2, 2, 2}, {0, 2, 2, 3}, {0, 2, 2, 4}}));
    EXPECT_EQ(result.tokens,
              (std::vector<Tok>{{kIdent, "x", 1, 1}, {kIdent, "y", 2, 5}, {kEof, "", 2, 6}}));
}

TEST(Recovery, MismatchDetailsNameWhatWasExpected)
{
    const LexResult result = lexAll("%PrOG");
    ASSERT_EQ(result.records.size(), 1u);
    EXPECT_NE(result.records[0].getDetails().find("expecting"), std::string::npos)
        << result.records[0].getDetails();
}

TEST(Recovery, ValidSourceGivesNoDiagnostic)
{
    const LexResult result = lexAll("%Prog p\n%Alg\n  LB1 = $OLB2 => x := \"\\u00e9\"; // ok\n");
    EXPECT_TRUE(result.diags.empty());
}

TEST(Recovery, UnopenableFileGivesOnlyEndOfInput)
{
    OwnJob job("missing.e");
    std::ifstream in("/nonexistent/dir/missing.e", std::ios::binary);
    ASSERT_FALSE(in);
    QUVSuperLexer lexer(in, job);
    lexer.setFilename("missing.e");
    antlr::RefToken token = lexer.nextToken();
    EXPECT_EQ(token->getType(), kEof);
    EXPECT_EQ(token->getLine(), 1);
    EXPECT_EQ(token->getColumn(), 1);
    EXPECT_TRUE(job.records().empty());
}

TEST(Recovery, PlainLexerThrowsInsteadOfReporting)
{
    OwnJob job("t.e");
    std::istringstream in("a #");
    QUVLexer lexer(in);
    EXPECT_EQ(lexer.nextToken()->getType(), kIdent);
    EXPECT_THROW(lexer.nextToken(), antlr::TokenStreamRecognitionException);
    EXPECT_TRUE(job.records().empty());
}

struct ClassRow {
    const char* name;
    int kind;
    int number;
};

// Kind and number follow the exact class of what the scanner threw.
TEST(Recovery, KindAndNumberByExceptionClass)
{
    std::istringstream in("");
    OwnJob job("k.e");
    QUVSuperLexer lexer(in, job);
    lexer.setFilename("k.e");

    std::ios_base::failure failure("read");
    const antlr::CharStreamIOException charIo(failure);
    const antlr::TokenStreamIOException tokenIo(failure);
    const antlr::TokenStreamRetryException retry;
    const antlr::TokenStreamException other("other");
    const antlr::ANTLRException plain("plain");

    const std::pair<const antlr::ANTLRException*, ClassRow> rows[] = {
        {&charIo, {"CharStreamIOException", 1, 0}},
        {&tokenIo, {"TokenStreamIOException", 1, 1}},
        {&retry, {"TokenStreamRetryException", 0, 3}},
        {&other, {"TokenStreamException", 5, 21}},
        {&plain, {"ANTLRException", 5, 21}},
    };
    for (const auto& row : rows) {
        job.clearRecords();
        lexer.reportLexerError(*row.first);
        ASSERT_EQ(job.records().size(), 1u) << row.second.name;
        const QUVException& ex = job.records()[0];
        EXPECT_EQ(ex.getKind(), row.second.kind) << row.second.name;
        EXPECT_EQ(ex.getNumber(), row.second.number) << row.second.name;
        EXPECT_EQ(ex.getLine(), 1);
        EXPECT_EQ(ex.getColumn(), 1);
        EXPECT_EQ(ex.getFileName(), "k.e");
    }
}

} // namespace
