// The front end holds on any input: no crash, and work that grows linearly
// with the source. Each case below once crashed or took exponential or
// quadratic time or memory; the inputs are generated here, large enough that
// the old behaviour would never finish (or would overflow the stack) and
// small enough to run quickly under the sanitizers. No test measures time:
// finishing, the right diagnostics and the right tree are what is checked.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <antlr/CommonToken.hpp>
#include <antlr/TokenStream.hpp>

#include "compiler/lexer/lexer.hpp"
#include "compiler/parser/stack_guard.hpp"
#include "parse_helpers.hpp"
#include "tests/support/own_session.hpp"

namespace {

struct Outcome {
    RefQUV_AST tree;
    std::vector<Diag> diags;
    bool stopped = false;
};

// Parses with one start rule; the tree is kept (parse_helpers renders trees
// recursively, which these deep trees must not meet).
Outcome run(const std::string& source, void (QUVParser::*rule)())
{
    OwnJob driver("t.e");
    std::istringstream in(source);
    SourceParser session(in, "t.e", driver);
    Outcome outcome;
    testing::internal::CaptureStdout();
    try {
        (session.parser.*rule)();
    } catch (const antlr::ANTLRException&) {
        outcome.stopped = true;
    }
    testing::internal::GetCapturedStdout();
    outcome.tree = RefQUV_AST(session.parser.getAST());
    for (const QUVException& ex : driver.records())
        outcome.diags.push_back({ex.getKind(), ex.getNumber(), ex.getLine(), ex.getColumn(), ex.getRule()});
    return outcome;
}

Outcome runExpression(const std::string& source)
{
    return run(source, &QUVParser::expression);
}

Outcome runProgram(const std::string& source)
{
    return run(source, &QUVParser::program);
}

std::string typeset(const std::string& source, std::vector<Diag>* diags = nullptr)
{
    OwnJob driver("t.e");
    TypesettingPass pass(driver);
    {
        std::istringstream in(source);
        SourceParser session(in, "t.e", driver);
        try {
            session.parser.typesetProgram(pass);
        } catch (const antlr::ANTLRException&) {
        }
    }
    if (diags) {
        for (const QUVException& ex : driver.records())
            diags->push_back({ex.getKind(), ex.getNumber(), ex.getLine(), ex.getColumn(), ex.getRule()});
    }
    return pass.typesetText;
}

// Preorder without recursion: every node's type name.
std::vector<std::string> preorder(RefQUV_AST root)
{
    std::vector<std::string> names;
    std::vector<RefQUV_AST> pending;
    if (root) pending.push_back(root);
    while (!pending.empty()) {
        RefQUV_AST node = pending.back();
        pending.pop_back();
        names.push_back(quvTokenName(node->getType()));
        if (RefQUV_AST next = RefQUV_AST(node->getNextSibling())) pending.push_back(next);
        if (RefQUV_AST child = RefQUV_AST(node->getFirstChild())) pending.push_back(child);
    }
    return names;
}

size_t count(const std::vector<std::string>& names, const std::string& name)
{
    size_t n = 0;
    for (const std::string& each : names) n += each == name;
    return n;
}

// How many first-child links lead down from the root.
size_t leftDepth(RefQUV_AST node)
{
    size_t depth = 0;
    for (; node; node = RefQUV_AST(node->getFirstChild())) ++depth;
    return depth;
}

std::string nestedIndex(int depth)
{
    std::string text = "a";
    for (int i = 0; i < depth; ++i) text += "[b" + std::to_string(i);
    text += "[1";
    for (int i = 0; i <= depth; ++i) text += "]";
    return text;
}

std::string receiveChain(int depth)
{
    std::string text;
    for (int i = 0; i < depth; ++i) text += "a" + std::to_string(i) + "?";
    return text + "1";
}

std::string program(const std::string& statements)
{
    return "%Prog p == [ ]\n[\n[ %Stm [ " + statements + " ] ]\n].\n";
}

// A source file for quvdump, written into the test's temporary folder.
std::string writeSource(const TempFolder& folder, const std::string& name, const std::string& text)
{
    const std::string path = folder / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// ---------------------------------------------------------------- tokens the parser never expects

// Hands the parser one token of a given type, then EOF.
class OneToken : public antlr::TokenStream {
public:
    explicit OneToken(int type_) : type(type_) {}
    antlr::RefToken nextToken() override
    {
        antlr::RefToken token(new antlr::CommonToken(sent ? antlr::Token::EOF_TYPE : type, sent ? "" : "x"));
        token->setLine(1);
        token->setColumn(sent ? 2 : 1);
        sent = true;
        return token;
    }

private:
    int type;
    bool sent = false;
};

TEST(UnexpectedTokens, DotDotIsASyntaxDiagnosticInEveryStartRule)
{
    Outcome prog = runProgram("%Prog..");
    EXPECT_FALSE(prog.stopped);
    EXPECT_EQ(prog.diags, (std::vector<Diag>{{2, 6, 1, 6, "program"}, {2, 6, 1, 8, "program"}}));

    Outcome expr = runExpression("(a..");
    EXPECT_EQ(compact(expr.tree), "(PARENS:() IDENT:a)");
    EXPECT_EQ(expr.diags, (std::vector<Diag>{{2, 6, 1, 3, "variable1"}}));

    std::vector<Diag> diags;
    EXPECT_EQ(typeset("%Prog..", &diags), "%Prog .. ");
    EXPECT_EQ(diags, (std::vector<Diag>{{2, 7, 1, 6, ""}}));
}

TEST(UnexpectedTokens, EveryTypeTheLexerMakesReachesTheParserSafely)
{
    for (int type = 4; type <= QUVLastLexerTokenType; ++type) {
        SCOPED_TRACE(quvTokenName(type));
        for (void (QUVParser::*rule)() : {&QUVParser::program, &QUVParser::expression}) {
            OwnJob driver("t.e");
            OneToken tokens(type);
            antlr::ASTFactory factory;
            QUVParser parser(tokens);
            parser.job = &driver;
            installNodeFactory(parser, factory);
            testing::internal::CaptureStdout();
            EXPECT_NO_THROW((parser.*rule)());
            testing::internal::GetCapturedStdout();
        }
    }
}

TEST(UnexpectedTokens, QuvdumpReportsDotDotWhereverTheParserMeetsIt)
{
    const TempFolder folder("quv_parser_");
    for (const char* verb : {"tree", "expr", "typeset"}) {
        for (const char* text : {"%Prog..", "(a..", "%Prog p == [ ] [ [ %Stm [ LB = s => $O a..b = 1 ^ $OLB = RETURN ] ] ]."}) {
            SCOPED_TRACE(std::string(verb) + " " + text);
            const RunResult result = runQuvdump(std::string(verb) + " " + writeSource(folder, "dotdot.e", text));
            EXPECT_EQ(result.status, 0);
            EXPECT_NE(result.out.find("diag 2 "), std::string::npos) << result.out;
        }
    }
}

// ---------------------------------------------------------------- trials

TEST(Trials, NestedIndexesParseOnceEach)
{
    const int depth = 60;  // twice the work per level would never finish (and ASan frames are large)
    Outcome expr = runExpression(nestedIndex(depth));
    EXPECT_TRUE(expr.diags.empty());
    EXPECT_FALSE(expr.stopped);
    const std::vector<std::string> names = preorder(expr.tree);
    EXPECT_EQ(count(names, "BRACKETS"), static_cast<size_t>(depth + 1));
    EXPECT_EQ(count(names, "IDENT"), static_cast<size_t>(depth + 1));

    Outcome prog = runProgram(program("LB = s => $O " + nestedIndex(depth) + " = " + nestedIndex(depth) +
                                      " ^ $OLB = RETURN"));
    EXPECT_TRUE(prog.diags.empty());
    EXPECT_EQ(count(preorder(prog.tree), "BRACKETS"), static_cast<size_t>(2 * (depth + 1)));
}

TEST(Trials, NestedIndexesTypeset)
{
    std::vector<Diag> diags;
    const std::string text = typeset(program("LB = s => $O " + nestedIndex(60) + " = 1 ^ $OLB = RETURN"), &diags);
    EXPECT_TRUE(diags.empty());
    EXPECT_NE(text.find("$O a [b0[b1[b2["), std::string::npos);
    // The same layout as at a small depth, where the old trials still finished.
    EXPECT_EQ(typeset(program("LB = s => $O a[b[c[1]]] = 1 ^ $OLB = RETURN")),
              "%Prog p == []\n[\n\t\n\t[\n\t\t%Stm\n\t\t[\n\t\t\tLB= s => $O a [b[c[1\n\t\t]\n\t]]=1 ^ $OLB = "
              "RETURN \n]\n]\n].");
}

TEST(Trials, IndexTrialsOfTheTypesettingPassShareWhatTheyWorkedOut)
{
    // Each "[" of the pass is tried as an index; nested ones are worked out
    // once for all the "[" around them, where no layout token lies between.
    std::vector<Diag> diags;
    const std::string deep = typeset(nestedIndex(60), &diags);
    EXPECT_TRUE(diags.empty());
    EXPECT_EQ(deep.substr(0, 12), "a [b0[b1[b2[");
    // A trial that failed leaves outcomes a later trial takes up, and layout
    // tokens inside keep each trial to what it sees itself.
    EXPECT_EQ(typeset("a[(b[1=-1]])][1]"), "a \n[\n\t(b [1= - 1 \n]])\n][1]");
    EXPECT_EQ(typeset("a\n[b[ // c\ny.z] /* m */ *q?a[b[c?]]][=b[q? c?][ ]]"),
              "a \n[\n\tb\n\t[\n\t\t// c\n\t\ty .z \n\t]\n\t/* m */*q ?a [b[c?\n]\n]\n]\n[\n=b [q?c ?\n][]]");
}

TEST(Trials, ReceiveChainsParseOnceEach)
{
    const int depth = 300;
    Outcome expr = runExpression(receiveChain(depth));
    EXPECT_TRUE(expr.diags.empty());
    EXPECT_EQ(count(preorder(expr.tree), "QUESTION"), static_cast<size_t>(depth));
    // A chain that ends in "?" alone: each receive takes the rest.
    Outcome open = runExpression("a?b?c?");
    EXPECT_EQ(compact(open.tree), "(QUESTION:? IDENT:a (QUESTION:? IDENT:b (QUESTION:? IDENT:c)))");
    EXPECT_TRUE(open.diags.empty());
    std::vector<Diag> diags;
    typeset(receiveChain(depth), &diags);
    EXPECT_TRUE(diags.empty());
}

TEST(Trials, FailedTrialsKeepTheirDiagnostics)
{
    // The rule names are those of the rule the failed trials entered last.
    EXPECT_EQ(runExpression("a[b[c[1]]").diags, (std::vector<Diag>{{2, 7, 1, 1, "constant1"}}));
    std::string unclosed = "a";
    for (int i = 0; i < 60; ++i) unclosed += "[b";
    unclosed += "[1";
    for (int i = 0; i < 60; ++i) unclosed += "]";
    EXPECT_EQ(runExpression(unclosed).diags, (std::vector<Diag>{{2, 7, 1, 1, "constant1"}}));
    std::string parens(12, '(');
    parens += "1" + std::string(11, ')');
    EXPECT_EQ(runExpression(parens).diags, (std::vector<Diag>{{2, 6, 1, 25, "constant1"}}));
    EXPECT_EQ(runExpression("a.b.b.b.b.b.b.b.b.b.b.b.b.").diags,
              (std::vector<Diag>{{2, 7, 1, 1, "variableSuffix"}}));
    Outcome mixed = runExpression("a[b[c[1]]] + x!y.z");
    EXPECT_EQ(compact(mixed.tree),
              "(PLUS:+ (BRACKETS:[] IDENT:a (BRACKETS:[] IDENT:b (BRACKETS:[] IDENT:c INT_LITERAL:1))) "
              "(EXCLAMATION:! IDENT:x (DOT_VAR:DOT_VAR IDENT:y IDENT:z)))");
}

TEST(Trials, NestedParenthesesAroundAValue)
{
    const int depth = 200;
    std::string text(depth, '(');
    text += "1" + std::string(depth, ')');
    Outcome expr = runExpression(text);
    EXPECT_TRUE(expr.diags.empty());
    EXPECT_EQ(count(preorder(expr.tree), "PARENS"), static_cast<size_t>(depth));
}

// ---------------------------------------------------------------- designators

TEST(Designators, LongSuffixChainsBuildInLinearMemory)
{
    const int suffixes = 4000;
    std::string text = "a";
    for (int i = 0; i < suffixes; ++i) text += ".b";
    Outcome fields = runExpression(text);
    EXPECT_TRUE(fields.diags.empty());
    // DOT_VAR(DOT_VAR(... (a, b) ..., b), b): the chain runs down the first children.
    EXPECT_EQ(leftDepth(fields.tree), static_cast<size_t>(suffixes + 1));
    RefQUV_AST top = fields.tree;
    EXPECT_EQ(quvTokenName(top->getType()), "DOT_VAR");
    EXPECT_EQ(top->getColumn(), 2 * suffixes);
    RefQUV_AST field = RefQUV_AST(top->getFirstChild()->getNextSibling());
    EXPECT_EQ(field->getText(), "b");
    EXPECT_EQ(field->getColumn(), 2 * suffixes + 1);

    std::string indexes = "v";
    for (int i = 0; i < 900; ++i) indexes += "[0]";
    Outcome brackets = runExpression(indexes);
    EXPECT_TRUE(brackets.diags.empty());
    EXPECT_EQ(count(preorder(brackets.tree), "BRACKETS"), 900u);

    Outcome mixed = runExpression("*(p)->q.r[1]");
    EXPECT_EQ(compact(mixed.tree),
              "(STAR:* (BRACKETS:[] (DOT_VAR:DOT_VAR (ARROW_VAR:ARROW_VAR (PARENS:( IDENT:p) IDENT:q) IDENT:r) "
              "INT_LITERAL:1))");
}

// ---------------------------------------------------------------- lists built by appending

TEST(Lists, ManyLabelledStatementsAndTheirLabelChecks)
{
    const int statements = 5000;
    std::string body;
    for (int i = 0; i < statements; ++i) body += "LB = s" + std::to_string(i) + " => $O x = 1 ^ $OLB = NEXT; ";
    body += "LB = s7 => $OLB = RETURN";  // s7 is declared twice
    Outcome prog = runProgram(program(body));
    ASSERT_EQ(prog.diags.size(), 1u);
    EXPECT_EQ(prog.diags[0].kind, 2);
    EXPECT_EQ(prog.diags[0].number, 8);
    EXPECT_EQ(prog.diags[0].rule, "definitionalLabelEquation");
    EXPECT_EQ(count(preorder(prog.tree), "ATOM_STAT"), static_cast<size_t>(statements + 1));

    // Forward labels of an algorithmic part: each undeclared one once, at its first use.
    std::string alg;
    for (int i = 0; i < statements; ++i)
        alg += "LB = s" + std::to_string(i) + " => $OLB = " + (i % 2 ? "s0" : "n" + std::to_string(i % 10)) + "; ";
    alg += "LB = e => $OLB = s1";
    Outcome forward = runProgram("%Prog p == [ ]\n[\n[ %Alg [ " + alg + " ] ]\n].\n");
    ASSERT_EQ(forward.diags.size(), 5u);
    for (const Diag& diag : forward.diags) EXPECT_EQ(diag.rule, "forwardLabel");
    EXPECT_LT(forward.diags[0].column, forward.diags[1].column);
}

TEST(Lists, NestedDeclarationListsAreRefusedBeforeTheirCopiesExplode)
{
    // Every name of a list gets its own copy of the type, so two names per
    // level double the tree: ten levels are fine, thirty would be a billion nodes.
    auto nested = [](int depth) {
        std::string type = "int";
        for (int i = 0; i < depth; ++i) type = "record(a, b : " + type + ")";
        return "%Prog p == [ ] [ %Type [ T = " + type + " ] [ %Stm [ LB = s => $OLB = RETURN ] ] ].\n";
    };
    Outcome fine = runProgram(nested(10));
    EXPECT_TRUE(fine.diags.empty());
    EXPECT_EQ(count(preorder(fine.tree), "FIELD_DECL"), 2046u);

    for (int depth : {20, 30, 200}) {
        Outcome refused = runProgram(nested(depth));
        EXPECT_TRUE(refused.stopped) << depth;
        ASSERT_EQ(refused.diags.size(), 1u) << depth;
        EXPECT_EQ(refused.diags[0].kind, 5);
        EXPECT_EQ(refused.diags[0].number, 21);
    }
}

TEST(Lists, ManyProceduresKeepTheirHeadersInOrder)
{
    const int procedures = 3000;
    std::string text = "%Prog p == [ ]\n[\n%Proc [\n";
    for (int i = 0; i < procedures; ++i) {
        if (i) text += ";\n";
        text += "f" + std::to_string(i) + "( ) == [ %Stm [ LB = r => $OLB = RETURN ] ]";
    }
    text += "\n]\n[ %Stm [ LB = m => $OLB = RETURN ] ]\n].\n";
    Outcome prog = runProgram(text);
    EXPECT_TRUE(prog.diags.empty());
    RefQUV_AST section;
    for (RefQUV_AST node = RefQUV_AST(prog.tree->getFirstChild()); node;
         node = RefQUV_AST(node->getNextSibling())) {
        if (quvTokenName(node->getType()) != "MAIN_BLOCK") continue;
        section = RefQUV_AST(node->getFirstChild());
    }
    ASSERT_TRUE(section);
    EXPECT_EQ(quvTokenName(section->getType()), "PERCENT_PROC");
    int headers = 0;
    int declarations = 0;
    for (RefQUV_AST node = RefQUV_AST(section->getFirstChild()); node;
         node = RefQUV_AST(node->getNextSibling())) {
        const std::string name = quvTokenName(node->getType());
        if (name == "PROC_DECL_HEADER") {
            EXPECT_EQ(declarations, 0) << "headers come first";
            RefQUV_AST procName = RefQUV_AST(node->getFirstChild());
            ASSERT_TRUE(procName);
            EXPECT_EQ(procName->getText(), "f" + std::to_string(headers));
            ++headers;
        } else if (name == "PROC_DECL") {
            ++declarations;
        }
    }
    EXPECT_EQ(headers, procedures);
    EXPECT_EQ(declarations, procedures);
}

// ---------------------------------------------------------------- deep trees

TEST(DeepTrees, LongSumsAndSequencesAreBuiltAndReleased)
{
    const int terms = 20000;
    std::string sum = "1";
    for (int i = 1; i < terms; ++i) sum += "+1";
    {
        Outcome expr = runExpression(sum);
        EXPECT_TRUE(expr.diags.empty());
        EXPECT_EQ(leftDepth(expr.tree), static_cast<size_t>(terms));
    }  // released here, 20,000 levels deep

    std::string equations;
    for (int i = 0; i < terms; ++i) equations += (i ? "; $O x = " : "$O x = ") + std::to_string(i);
    {
        Outcome prog = runProgram(program("LB = s => >> [ " + equations + " ] ^ $OLB = RETURN"));
        EXPECT_TRUE(prog.diags.empty());
        EXPECT_EQ(count(preorder(prog.tree), "SEMI"), static_cast<size_t>(terms - 1));
    }
}

TEST(DeepTrees, CopiesOfDeepTreesAreWholeAndKeepTheirPlaces)
{
    std::string sum = "1";
    for (int i = 1; i < 20000; ++i) sum += "+" + std::to_string(i % 10);
    Outcome expr = runExpression(sum);
    std::istringstream in("");
    OwnJob driver("t.e");
    SourceParser session(in, "t.e", driver);
    RefQUV_AST copy = session.parser.copySubtree(expr.tree);
    ASSERT_TRUE(copy);
    EXPECT_NE(copy.get(), expr.tree.get());
    std::vector<std::pair<RefQUV_AST, RefQUV_AST>> pending{{expr.tree, copy}};
    size_t nodes = 0;
    while (!pending.empty()) {
        RefQUV_AST a = pending.back().first;
        RefQUV_AST b = pending.back().second;
        pending.pop_back();
        ASSERT_EQ(!a, !b);
        if (!a) continue;
        ++nodes;
        EXPECT_EQ(a->getType(), b->getType());
        EXPECT_EQ(a->getText(), b->getText());
        EXPECT_EQ(a->getLine(), b->getLine());
        EXPECT_EQ(a->getColumn(), b->getColumn());
        pending.emplace_back(RefQUV_AST(a->getFirstChild()), RefQUV_AST(b->getFirstChild()));
        if (a != expr.tree)
            pending.emplace_back(RefQUV_AST(a->getNextSibling()), RefQUV_AST(b->getNextSibling()));
    }
    EXPECT_EQ(nodes, 2u * 20000 - 1);
}

TEST(DeepTrees, QuvdumpPrintsADeepTree)
{
    std::string sum = "1";
    for (int i = 1; i < 3000; ++i) sum += "+1";
    const TempFolder folder("quv_parser_");
    const RunResult result = runQuvdump("expr " + writeSource(folder, "long_sum.e", sum));
    EXPECT_EQ(result.status, 0);
    size_t lines = 0;
    for (char c : result.out) lines += c == '\n';
    EXPECT_EQ(lines, 2u * 3000 - 1);
    EXPECT_EQ(result.out.compare(0, 15, "PLUS \"+\" 1:5998"), 0) << result.out.substr(0, 40);
    EXPECT_NE(result.out.find("\n" + std::string(2 * 2999, ' ') + "INT_LITERAL \"1\" 1:1\n"), std::string::npos);
}

// ---------------------------------------------------------------- the stack guard for later passes

int recurse(JobState& job, const StackGuard& guard, int depth)
{
    guardStack(job, guard, "recurse", depth, 1, "t.e");
    volatile char frame[256] = {};
    return recurse(job, guard, depth + 1) + frame[depth % 256];
}

TEST(StackGuardUse, ARecursivePassEndsWithOneDiagnostic)
{
    OwnJob driver("t.e");
    StackGuard guard;
    EXPECT_THROW(recurse(driver, guard, 1), NestingTooDeep);
    ASSERT_EQ(driver.records().size(), 1u);
    EXPECT_EQ(driver.records()[0].getKind(), 5);
    EXPECT_EQ(driver.records()[0].getNumber(), 21);
    EXPECT_EQ(driver.records()[0].getRule(), "recurse");
}

}  // namespace
