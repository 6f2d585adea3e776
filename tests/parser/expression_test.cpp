// Expressions, designators and calls parsed by the expression entry rule alone.
#include <gtest/gtest.h>

#include "parse_helpers.hpp"

namespace {

struct TreeRow {
    const char* source;
    const char* tree;
};

void expectTrees(const std::vector<TreeRow>& rows)
{
    for (const TreeRow& row : rows) {
        ParseResult result = parseExpression(row.source);
        EXPECT_EQ(result.tree, row.tree) << row.source;
        EXPECT_TRUE(result.diags.empty()) << row.source << " first: " << result.diags.front();
    }
}

TEST(ExpressionTest, OperatorLevelsAndAssociativity)
{
    expectTrees({
        {"a", "IDENT:a"},
        {"a = b", "(ASSIGN:= IDENT:a IDENT:b)"},
        {"a /= b", "(NE:/= IDENT:a IDENT:b)"},
        {"a =< b", "(LTE:=< IDENT:a IDENT:b)"},
        {"a = b = c", "(ASSIGN:= (ASSIGN:= IDENT:a IDENT:b) IDENT:c)"},
        {"a < b < c", "(LT_:< (LT_:< IDENT:a IDENT:b) IDENT:c)"},
        {"a $V b $C c", "(DOLLA_V:$V IDENT:a (DOLLA_C:$C IDENT:b IDENT:c))"},
        {"a $c b $v c", "(DOLLA_V:$v (DOLLA_C:$c IDENT:a IDENT:b) IDENT:c)"},
        {"x = 1 $V y = 2",
         "(ASSIGN:= (ASSIGN:= IDENT:x (DOLLA_V:$V INT_LITERAL:1 IDENT:y)) INT_LITERAL:2)"},
        {"a + b < c * d", "(LT_:< (PLUS:+ IDENT:a IDENT:b) (MULTI:* IDENT:c IDENT:d))"},
        {"a - b - c", "(MINUS:- (MINUS:- IDENT:a IDENT:b) IDENT:c)"},
        {"a - -b", "(MINUS:- IDENT:a (MINUS:- IDENT:b))"},
        {"a + b * c", "(PLUS:+ IDENT:a (MULTI:* IDENT:b IDENT:c))"},
        {"a * b mod c", "(MOD:mod (MULTI:* IDENT:a IDENT:b) IDENT:c)"},
        {"a Mod b MOD c", "(MOD:MOD (MOD:Mod IDENT:a IDENT:b) IDENT:c)"},
        {"a % b / c", "(DIV:/ (MOD:% IDENT:a IDENT:b) IDENT:c)"},
    });
}

TEST(ExpressionTest, UnaryAndConditionalForms)
{
    expectTrees({
        {"-5", "(MINUS:- INT_LITERAL:5)"},
        {"~a", "(LNOT:~ IDENT:a)"},
        {"-(-a)", "(MINUS:- (PARENS:() (MINUS:- IDENT:a)))"},
        {"If x > 0 Then x Else 0", "(IF:If (GT:> IDENT:x INT_LITERAL:0) IDENT:x INT_LITERAL:0)"},
        {"if c then a + 1 else b", "(IF:if IDENT:c (PLUS:+ IDENT:a INT_LITERAL:1) IDENT:b)"},
        {"if c then a else b + 1", "(PLUS:+ (IF:if IDENT:c IDENT:a IDENT:b) INT_LITERAL:1)"},
        {"IF c THEN a ELSE b", "(IF:IF IDENT:c IDENT:a IDENT:b)"},
    });
}

TEST(ExpressionTest, OperandsChosenByTrialsInOrder)
{
    expectTrees({
        {"ch!x", "(EXCLAMATION:! IDENT:ch IDENT:x)"},
        {"ch!", "(EXCLAMATION:! IDENT:ch)"},
        {"ch!5", "(EXCLAMATION:! IDENT:ch)"},
        {"c?x", "(QUESTION:? IDENT:c IDENT:x)"},
        {"c?d?e", "(QUESTION:? IDENT:c (QUESTION:? IDENT:d IDENT:e))"},
        {"c?", "(QUESTION:? IDENT:c)"},
        {"&a", "(BAND:& IDENT:a)"},
        {"(a + b)", "(PARENS:() (PLUS:+ IDENT:a IDENT:b))"},
        {"(a)", "(PARENS:( IDENT:a)"},
        {"TT", "DOUBLE_T:DOUBLE_T"},
        {"ff", "DOUBLE_F:DOUBLE_F"},
        {"$T", "DOLLA_T:$T"},
        {"\"s\" + 2.5", "(PLUS:+ STRING_LITERAL:\"s\" FLOAT_LITERAL:2.5)"},
    });
}

TEST(ExpressionTest, DesignatorsNestToTheLeft)
{
    expectTrees({
        {"a.b.c", "(DOT_VAR:DOT_VAR (DOT_VAR:DOT_VAR IDENT:a IDENT:b) IDENT:c)"},
        {"a[i].f", "(DOT_VAR:DOT_VAR (BRACKETS:[] IDENT:a IDENT:i) IDENT:f)"},
        {"p->f", "(ARROW_VAR:ARROW_VAR IDENT:p IDENT:f)"},
        {"*p.f", "(STAR:* (DOT_VAR:DOT_VAR IDENT:p IDENT:f))"},
        {"(*p).f", "(DOT_VAR:DOT_VAR (PARENS:( (STAR:* IDENT:p)) IDENT:f)"},
        {"a[i + 1][j]", "(BRACKETS:[] (BRACKETS:[] IDENT:a (PLUS:+ IDENT:i INT_LITERAL:1)) IDENT:j)"},
    });
}

TEST(ExpressionTest, DesignatorNodesCarryTheirTokensPlaces)
{
    ParseResult result = parseExpression("a[i]\n  .f->g");
    EXPECT_EQ(result.dump,
              "ARROW_VAR \"ARROW_VAR\" 2:5\n"
              "  DOT_VAR \"DOT_VAR\" 2:3\n"
              "    BRACKETS \"[]\" 1:2\n"
              "      IDENT \"a\" 1:1\n"
              "      IDENT \"i\" 1:3\n"
              "    IDENT \"f\" 2:4\n"
              "  IDENT \"g\" 2:7\n");
}

TEST(CallTest, ValueCallsAndActualParameters)
{
    expectTrees({
        {"?x : p()", "(COLON:: IDENT:x (ProCall:ProCall IDENT:p))"},
        {"?x : p(%Inp/ a + 1 | f; %Iop/ v.g | h; %Chn/ ch(*, q) | k(*, r))",
         "(COLON:: IDENT:x (ProCall:ProCall IDENT:p "
         "(PERCENT_INP:%Inp/ (PLUS:+ IDENT:a INT_LITERAL:1) IDENT:f) "
         "(PERCENT_IOP:%Iop/ (DOT_VAR:DOT_VAR IDENT:v IDENT:g) IDENT:h) "
         "(PERCENT_CHN:%Chn/ IDENT:ch STAR:* IDENT:q IDENT:k)))"},
        {"?x : p(%chn/ ch(q, *) | k(r, *))",
         "(COLON:: IDENT:x (ProCall:ProCall IDENT:p (PERCENT_CHN:%chn/ IDENT:ch IDENT:q STAR:* IDENT:k)))"},
    });
}

TEST(CallTest, BuiltinsFoldEveryLetterCase)
{
    const char* forms[][3] = {
        {"FOPEN", "Fopen", "fopen"}, {"FWRITE", "Fwrite", "fwrite"},
        {"FWRITELN", "Fwriteln", "fwriteln"}, {"QUVEOF", "QUVEof", "quveof"},
    };
    for (const auto& builtin : forms) {
        for (const char* spelling : builtin) {
            ParseResult result = parseExpression(std::string("?0 : ") + spelling + "(f, a)");
            EXPECT_EQ(result.tree, std::string("(COLON:: INT_LITERAL:0 (") + builtin[0] + ":" +
                                       builtin[0] + " IDENT:f IDENT:a))")
                << spelling;
            EXPECT_TRUE(result.diags.empty()) << spelling;
        }
    }
    expectTrees({
        {"?0 : fclose(f)", "(COLON:: INT_LITERAL:0 (FCLOSE:FCLOSE IDENT:f))"},
        {"?0 : Feof(f, e)", "(COLON:: INT_LITERAL:0 (FEOF:FEOF IDENT:f IDENT:e))"},
        {"?0 : fread(f, a, b.c, d[1])",
         "(COLON:: INT_LITERAL:0 (FREAD:FREAD IDENT:f IDENT:a (DOT_VAR:DOT_VAR IDENT:b IDENT:c) "
         "(BRACKETS:[] IDENT:d INT_LITERAL:1)))"},
        {"?0 : READ(a)", "(COLON:: INT_LITERAL:0 (READ:READ IDENT:a))"},
        {"?0 : Write(a, 1)", "(COLON:: INT_LITERAL:0 (WRITE:WRITE IDENT:a INT_LITERAL:1))"},
        {"?0 : writeln(x)", "(COLON:: INT_LITERAL:0 (WRITELN:WRITELN IDENT:x))"},
        {"?0 : getc(f, c)", "(COLON:: INT_LITERAL:0 (GETC:GETC IDENT:f IDENT:c))"},
        {"?0 : Getchar(c)", "(COLON:: INT_LITERAL:0 (GETCHAR:GETCHAR IDENT:c))"},
        {"?0 : ungetc(f, s[1])",
         "(COLON:: INT_LITERAL:0 (UNGETC:UNGETC IDENT:f (BRACKETS:[] IDENT:s INT_LITERAL:1)))"},
        {"?0 : UNGETCHAR(c)", "(COLON:: INT_LITERAL:0 (UNGETCHAR:UNGETCHAR IDENT:c))"},
        {"?0 : itoc(n, c)", "(COLON:: INT_LITERAL:0 (ITOC:ITOC IDENT:n IDENT:c))"},
        {"?0 : strlen(s, n)", "(COLON:: INT_LITERAL:0 (STRLEN:STRLEN IDENT:s IDENT:n))"},
        {"?0 : FOpen()", "(COLON:: INT_LITERAL:0 (ProCall:ProCall IDENT:FOpen))"},
    });
}

TEST(CallTest, CallRootsTakeThePlaceOfTheirFirstToken)
{
    ParseResult result = parseExpression("?0 :\n p()");
    EXPECT_EQ(result.dump,
              "COLON \":\" 1:4\n"
              "  INT_LITERAL \"0\" 1:2\n"
              "  ProCall \"ProCall\" 2:2\n"
              "    IDENT \"p\" 2:2\n");
}

// "(" name and what follows: a designator in parentheses, or a parenthesised
// expression once the token after the name neither closes nor extends it.
TEST(ExpressionTest, ParenthesisAfterANameIsADesignatorOnlyWhenItCloses)
{
    struct Row {
        const char* source;
        const char* dump;
        std::vector<Diag> diags;
    };
    const std::vector<Row> rows = {
        {"(a)", "PARENS \"(\" 1:1\n  IDENT \"a\" 1:2\n", {}},
        {"(a b)", "PARENS \"()\" 1:1\n  IDENT \"a\" 1:2\n", {{2, 6, 1, 4, "variable1"}}},
        {"(a + ;", "PARENS \"()\" 1:1\n  PLUS \"+\" 1:4\n    IDENT \"a\" 1:2\n",
         {{2, 7, 1, 6, "unaryExpression"}, {2, 6, 1, 7, "unaryExpression"}}},
        {"(a.b + c)",
         "PARENS \"()\" 1:1\n  PLUS \"+\" 1:6\n    DOT_VAR \"DOT_VAR\" 1:3\n      IDENT \"a\" 1:2\n"
         "      IDENT \"b\" 1:4\n    IDENT \"c\" 1:8\n",
         {}},
        {"((a) + b) -",
         "MINUS \"-\" 1:11\n  PARENS \"()\" 1:1\n    PLUS \"+\" 1:6\n      PARENS \"(\" 1:2\n"
         "        IDENT \"a\" 1:3\n      IDENT \"b\" 1:8\n",
         {{2, 7, 1, 12, "unaryExpression"}}},
        {"(x + y) * (z[(i - 1)]",
         "MULTI \"*\" 1:9\n  PARENS \"()\" 1:1\n    PLUS \"+\" 1:4\n      IDENT \"x\" 1:2\n"
         "      IDENT \"y\" 1:6\n  PARENS \"()\" 1:11\n    BRACKETS \"[]\" 1:13\n      IDENT \"z\" 1:12\n"
         "      PARENS \"()\" 1:14\n        MINUS \"-\" 1:17\n          IDENT \"i\" 1:15\n"
         "          INT_LITERAL \"1\" 1:19\n",
         {{2, 6, 1, 22, "constant1"}}},
    };
    for (const Row& row : rows) {
        ParseResult result = parseExpression(row.source);
        EXPECT_EQ(result.dump, row.dump) << row.source;
        EXPECT_EQ(result.diags, row.diags) << row.source;
    }
}

struct ErrorRow {
    const char* source;
    const char* tree;
    std::vector<Diag> diags;
};

TEST(ExpressionErrorTest, ReportedWhereTheRuleMeetsThem)
{
    const std::vector<ErrorRow> rows = {
        // The missing operand is reported at ";", which the recovery consumes.
        {"a = ; ]", "(ASSIGN:= IDENT:a)", {{2, 7, 1, 5, "unaryExpression"}}},
        {"- - a", "MINUS:-", {{2, 7, 1, 3, "primaryExpression"}}},
        // Raised by `unaryExpression`, filed under the last named rule entered.
        {"if c then a ; x", "", {{2, 7, 1, 13, "variable1"}}},
        // A missing ")" is reported by the one-token rule under the last named
        // rule; the failed designator trial makes "(" a parenthesised expression.
        {"(a.b ;", "(PARENS:() (DOT_VAR:DOT_VAR IDENT:a IDENT:b))", {{2, 6, 1, 6, "variableSuffix"}}},
        {"?x p(1)", "", {{2, 6, 1, 4, "variable1"}}},
        {"?0 : p(x)", "(COLON:: INT_LITERAL:0)", {{2, 7, 1, 8, "proCall"}}},
        {"?0 : fread(f)", "(COLON:: INT_LITERAL:0)", {{2, 7, 1, 13, "proCall"}}},
        // The missing argument's recovery consumes ")", so `rparen` meets the end.
        {"?0 : writeln()", "(COLON:: INT_LITERAL:0 WRITELN:WRITELN)",
         {{2, 7, 1, 14, "unaryExpression"}, {2, 6, 1, 15, "unaryExpression"}}},
        {"?0 : getc(f, s[1])", "(COLON:: INT_LITERAL:0 (GETC:GETC IDENT:f IDENT:s))",
         {{2, 6, 1, 15, "proCall"}}},
        {"?0 : p(%Inp/ 1 | f;)", "(COLON:: INT_LITERAL:0 (ProCall:ProCall IDENT:p (PERCENT_INP:%Inp/ INT_LITERAL:1 IDENT:f)))",
         {{2, 7, 1, 20, "actualFormalPair"}, {2, 6, 1, 21, "actualFormalPair"}}},
        {"?0 : p(%Inp/ 1 | f %Inp/ 2 | g)",
         "(COLON:: INT_LITERAL:0 (ProCall:ProCall IDENT:p (PERCENT_INP:%Inp/ INT_LITERAL:1 IDENT:f) "
         "(PERCENT_INP:%Inp/ INT_LITERAL:2 IDENT:g)))",
         {{2, 6, 1, 20, "constant1"}}},
        // An operand error inside a condition stops at "then" in each spelling.
        {"if a + * then b else c", "(IF:if (PLUS:+ IDENT:a) IDENT:b IDENT:c)", {{2, 7, 1, 8, "variable1"}}},
        {"If a + * Then b Else c", "(IF:If (PLUS:+ IDENT:a) IDENT:b IDENT:c)", {{2, 7, 1, 8, "variable1"}}},
        {"IF a + * THEN b ELSE c", "(IF:IF (PLUS:+ IDENT:a) IDENT:b IDENT:c)", {{2, 7, 1, 8, "variable1"}}},
        // A broken index resumes at its "]"; a broken field name keeps the suffix node.
        {"?0 : p(%Iop/ a[1 + ;].g | f)",
         "(COLON:: INT_LITERAL:0 (ProCall:ProCall IDENT:p (PERCENT_IOP:%Iop/ (DOT_VAR:DOT_VAR "
         "(BRACKETS:[] IDENT:a (PLUS:+ INT_LITERAL:1)) IDENT:g) IDENT:f)))",
         {{2, 7, 1, 20, "unaryExpression"}}},
        {"?0 : p(%Iop/ a.5 | f)",
         "(COLON:: INT_LITERAL:0 (ProCall:ProCall IDENT:p (PERCENT_IOP:%Iop/ (DOT_VAR:DOT_VAR IDENT:a) IDENT:f)))",
         {{2, 6, 1, 16, "variableSuffix"}}},
        // A formal side written the other way round keeps only the entry's root.
        {"?0 : p(%Chn/ ch(*, q) | k(r, *))",
         "(COLON:: INT_LITERAL:0 (ProCall:ProCall IDENT:p PERCENT_CHN:%Chn/))",
         {{2, 6, 1, 27, "chnActualFormalPair"}}},
    };
    for (const ErrorRow& row : rows) {
        ParseResult result = parseExpression(row.source);
        EXPECT_EQ(result.tree, row.tree) << row.source;
        EXPECT_EQ(result.diags, row.diags) << row.source;
    }
}

}  // namespace
