#include <gtest/gtest.h>

#include <functional>
#include <ios>
#include <stdexcept>
#include <typeinfo>
#include <utility>
#include <vector>

#include <antlr/CharStreamIOException.hpp>
#include <antlr/CommonToken.hpp>
#include <antlr/MismatchedCharException.hpp>
#include <antlr/MismatchedTokenException.hpp>
#include <antlr/NoViableAltException.hpp>
#include <antlr/NoViableAltForCharException.hpp>
#include <antlr/SemanticException.hpp>
#include <antlr/TokenStreamIOException.hpp>
#include <antlr/TokenStreamRecognitionException.hpp>
#include <antlr/TokenStreamRetryException.hpp>

#include "test_support.hpp"
#include "tests/support/own_session.hpp"

namespace {

struct BuilderCase {
    const char* name;
    std::function<void(QUVException&)> build;
    int kind;
    int number;
    int line;
    int column;
    std::string rule;
    std::string file;
    std::string details;
};

class DiagnosticsTest : public ::testing::Test {
protected:
    DriverScope scope{"src/prog.e"};
    void SetUp() override {
        scope.driver.setWalkPosition(12, 7);
        scope.driver.setWalkRule("expression");
    }
};

TEST_F(DiagnosticsTest, EveryBuilderFillsTheRecordExactly) {
    TypeRegistry& types = scope.driver.types();
    BlockNode root("root", DEF_PROJECT, 1, 1, nullptr);
    Node* first = root.add<Node>("x", DEF_LOCAL, 3, 5);
    Node* second = root.add<Node>("x", DEF_LOCAL, 7, 2);
    const std::string sem = "expression";
    const std::string f = "src/prog.e";
    std::vector<BuilderCase> cases = {
        {"IllegalOp", [&](QUVException& e) { e.makeIllegalOp("~", types.integerType()); }, 3, 9, 12, 7, sem, f,
         "illegal op: ~ with operand has type Integer"},
        {"IllegalBinaryOp", [&](QUVException& e) { e.makeIllegalBinaryOp("+", types.integerType(), types.stringType()); },
         3, 9, 12, 7, sem, f, "illegal op: + with left operand has type Integer and right operand has type String"},
        {"IllegalTernaryOp",
         [&](QUVException& e) {
             e.makeIllegalTernaryOp("if then else", types.boolType(), types.integerType(), types.floatType());
         },
         3, 9, 12, 7, sem, f,
         "illegal op: if then else with 1th operand has type BOOL and 2th operand has type Integer and 3th operand "
         "has type Float"},
        {"IllegalFieldOp", [&](QUVException& e) { e.makeIllegalFieldOp(".", types.floatType(), "next"); }, 3, 9, 12, 7,
         sem, f, "illegal op: . with left operand has type Float and right fieldname is next"},
        {"IllegalTypeMask5", [&](QUVException& e) { e.makeIllegalType(types.logicType(), 5); }, 3, 10, 12, 7, sem, f,
         "illegal type: Logicis not match the required type:Int or String"},
        {"IllegalTypeMask15", [&](QUVException& e) { e.makeIllegalType(types.logicType(), 15); }, 3, 10, 12, 7, sem, f,
         "illegal type: Logicis not match the required type:Int or Float or String or Bool"},
        {"IllegalTypeMask0", [&](QUVException& e) { e.makeIllegalType(types.logicType(), 0); }, 3, 10, 12, 7, sem, f,
         "illegal type: Logicis not match the required type:"},
        {"SemanticFirst", [](QUVException& e) { e.makeSemantic(0); }, 3, 15, 12, 7, sem, f,
         QUVException::numberName(22)},
        {"SemanticLast", [](QUVException& e) { e.makeSemantic(18); }, 3, 15, 12, 7, sem, f,
         "actual param and formal param 's attrib is mismatched in current ProcCall!"},
        {"Redeclared", [&](QUVException& e) { e.makeRedeclared("x", first); }, 3, 12, 12, 7, sem, f,
         "Symbol x redeclared!\n \tsee Line: 3, Col: 5"},
        {"UndeclaredKeepsItsOwnPlace", [](QUVException& e) { e.makeUndeclared("y", 40, 9); }, 3, 11, 40, 9, sem, f,
         "Symbol y hasn't been declared before!"},
        {"Ambiguous", [&](QUVException& e) { e.makeAmbiguous("x", {first, second}); }, 3, 14, 12, 7, sem, f,
         "Symbol x has too many reference! we will choose the first reference as the result!\n"
         "\tsee Line: 3, Col: 5\tsee Line: 7, Col: 2"},
        {"RefTypeMismatch", [&](QUVException& e) { e.makeRefTypeMismatch("x", 1, 9, first); }, 3, 13, 12, 7, sem, f,
         "Symbol x 's reference type " + gbkBytes("过程") + " 's doesn't match its definition type " +
             gbkBytes("局部变量") + "!\n\t see Line: 3, Col: 5"},
        {"MismatchedLabel",
         [](QUVException& e) { e.makeMismatchedLabel(4, 2, "statementList", "a.e", "EXIT", "NEXT"); }, 2, 8, 4, 2,
         "statementList", "a.e", "Mismatched Label EXIT while expecting NEXT\n"},
        {"LabelRedeclared", [](QUVException& e) { e.makeLabelRedeclared(9, 1, "labelName", "a.e", "L1", 3, 4); }, 2,
         8, 9, 1, "labelName", "a.e", "Label L1 redeclared!\n\tsee line 3, col 4"},
        {"GotoUndeclared", [](QUVException& e) { e.makeGotoUndeclared(9, 1, "caseStat", "a.e", "L2", 5, 6); }, 2, 8,
         9, 1, "caseStat", "a.e", "Goto label L2 hasn't been declared in current case statement!\n\t see Line 5, col 6"},
        {"ForwardLabel", [](QUVException& e) { e.makeForwardLabel(2, 3, "r", "a.e", "F"); }, 2, 8, 2, 3, "r", "a.e",
         "forward label F hasn't been declared before!"},
        {"CaseCount", [](QUVException& e) { e.makeCaseCountMismatch(2, 3, "r", "a.e", 2, 3); }, 2, 8, 2, 3, "r",
         "a.e", "In case statement, goto conditions num is 2, while exit conditions num is 3"},
        {"MismatchedLB", [](QUVException& e) { e.makeMismatchedLB(2, 3, "r", "a.e", "LB2", "LB1", 1, 8); }, 2, 8, 2,
         3, "r", "a.e", "Mismatched LB LB2 while expecting LB1\n\tsee line 1, col 8"},
        {"Fatal", [](QUVException& e) { e.makeFatal("Fatal error occured in typesetting the program!"); }, 5, 21, 0,
         0, "", f, "Fatal error occured in typesetting the program!"},
        {"InFunction", [](QUVException& e) { e.makeInFunction("tabnum <0", "base::tab()"); }, 5, 20, 12, 7, sem, f,
         "tabnum <0 in function base::tab()"},
        {"ProcessUndeclared", [](QUVException& e) { e.makeProcessUndeclared("P", 6, 3, "b.e"); }, 4, 16, 6, 3, "",
         "b.e", "Process P hasn't being declared in the whole project!"},
        {"MainTwice", [](QUVException& e) { e.makeMainTwice("B", "A"); }, 4, 18, 0, 0, "", "",
         "While declaring program B to be a Main Or MMain program, we have found such a Program A in the project "
         "before!"},
        {"NoMain", [](QUVException& e) { e.makeNoMain(); }, 4, 19, 0, 0, "", "",
         "In the project, there doesn't exist a Main or MMain program!"},
    };
    for (const BuilderCase& c : cases) {
        SCOPED_TRACE(c.name);
        size_t before = scope.driver.records().size();
        size_t calls = DriverScope::seen.size();
        QUVException e(scope.driver);
        c.build(e);
        EXPECT_EQ(e.getKind(), c.kind);
        EXPECT_EQ(e.getNumber(), c.number);
        EXPECT_EQ(e.getLine(), c.line);
        EXPECT_EQ(e.getColumn(), c.column);
        EXPECT_EQ(e.getRule(), c.rule);
        EXPECT_EQ(e.getFileName(), c.file);
        EXPECT_EQ(e.getDetails(), c.details);
        ASSERT_EQ(scope.driver.records().size(), before + 1);
        EXPECT_EQ(e.getSerial(), static_cast<int>(before));
        EXPECT_EQ(scope.driver.records().back().getDetails(), c.details);
        ASSERT_EQ(DriverScope::seen.size(), calls + 1);
        EXPECT_EQ(DriverScope::listSizeAtCallback.back(), before + 1) << "callback must run after the append";
    }
}

TEST_F(DiagnosticsTest, SerialEqualsIndexAndCopiesAppendNothing) {
    for (int i = 0; i < 3; ++i)
        QUVException(scope.driver, 3, 15, i, i, "r", "f", "d");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(scope.driver.records()[i].getSerial(), i);
    QUVException copy(scope.driver.records()[1]);
    QUVException assigned;
    assigned = copy;
    EXPECT_EQ(scope.driver.records().size(), 3u);
    EXPECT_EQ(assigned.getSerial(), 1);
    EXPECT_EQ(scope.driver.records()[2].getFileName(), "f");
}

TEST_F(DiagnosticsTest, FormatGivesTheExactText) {
    QUVException e(scope.driver, 3, 15, 4, 9, "", "a.e", "details here");
    EXPECT_EQ(e.format(), gbkBytes("文件: a.e, 行: 4, 列: 9, 类型: 语义错误, 编号: 其他语义异常, 规则: . \n具体信息: "
                                   "details here"));
    EXPECT_EQ(QUVException(scope.driver, 1, 4, 1, 1, "r", "f", "").getKindName(), gbkBytes("词法错误"));
    EXPECT_EQ(QUVException::kindName(0), gbkBytes("文件错误"));
    EXPECT_EQ(QUVException::numberName(21), gbkBytes("致命运行异常"));
    EXPECT_EQ(QUVException::numberName(26), "In ProcCall/ProsCall, two actual param is connected with the same formal param ");
    EXPECT_EQ(QUVException::numberName(32).substr(QUVException::numberName(32).size() - 2), "!!");
}

TEST_F(DiagnosticsTest, LongNamesAreNeitherCutNorOverrun) {
    std::string name(5000, 'n');
    BlockNode earlier("root", DEF_PROJECT, 1, 2, nullptr);
    QUVException e(scope.driver);
    e.makeRedeclared(name, &earlier);
    EXPECT_EQ(e.getDetails(), "Symbol " + name + " redeclared!\n \tsee Line: 1, Col: 2");
    QUVException big(scope.driver, 3, 15, 1, 1, std::string(3000, 'r'), std::string(3000, 'f'), std::string(3000, 'd'));
    EXPECT_GT(big.format().size(), 9000u);
    EXPECT_EQ(big.format().substr(big.format().size() - 3000), std::string(3000, 'd'));
}

// A record built with no job to file into would be lost: every kind of builder refuses it.
TEST(DiagnosticsNoJob, BuildersOutsideAJobAreRefused) {
    CompileSession session;
    TypeRegistry& types = session.types;
    BlockNode earlier("root", DEF_PROJECT, 1, 2, nullptr);
    const std::vector<std::pair<const char*, std::function<void(QUVException&)>>> builders = {
        {"IllegalOp", [&](QUVException& e) { e.makeIllegalOp("~", types.floatType()); }},
        {"Semantic", [](QUVException& e) { e.makeSemantic(0); }},
        {"Redeclared", [&](QUVException& e) { e.makeRedeclared("x", &earlier); }},
        {"Undeclared", [](QUVException& e) { e.makeUndeclared("y", 4, 2); }},
        {"MismatchedLabel", [](QUVException& e) { e.makeMismatchedLabel(4, 2, "r", "a.e", "EXIT", "NEXT"); }},
        {"InFunction", [](QUVException& e) { e.makeInFunction("tabnum <0", "base::tab()"); }},
        {"Fatal", [](QUVException& e) { e.makeFatal("fatal"); }},
        {"ProcessUndeclared", [](QUVException& e) { e.makeProcessUndeclared("P", 6, 3, "b.e"); }},
        {"NoMain", [](QUVException& e) { e.makeNoMain(); }},
    };
    for (const auto& b : builders) {
        SCOPED_TRACE(b.first);
        QUVException e;
        EXPECT_THROW(b.second(e), std::logic_error);
        EXPECT_EQ(e.getDetails(), "");
        EXPECT_EQ(e.getKind(), 0);
    }
}

TEST(DiagnosticsJob, ANewJobStartsEmptyAndTheOldKeepsItsRecords) {
    OwnJob first("f.e");
    QUVException(first, 3, 15, 1, 1, "r", "f", "d");
    {
        OwnJob second("o.e");
        EXPECT_TRUE(second.records().empty());
        QUVException e(second, 2, 6, 1, 1, "r", "f", "d");
        EXPECT_EQ(e.getSerial(), 0);
        QUVException(second).makeFatal("stop");
        ASSERT_EQ(second.records().size(), 2u);
        EXPECT_EQ(second.records()[1].getFileName(), "o.e");
    }
    ASSERT_EQ(first.records().size(), 1u);
    EXPECT_EQ(first.records()[0].getKind(), 3);
    EXPECT_EQ(first.records()[0].getNumber(), 15);
    EXPECT_EQ(first.records()[0].getFileName(), "f");
}

TEST(DiagnosticsInternal, InternalFailureIsThrownAndFiledByItsCatcherAtTheWalkersPlace) {
    DriverScope scope{"w.e"};
    scope.driver.setWalkPosition(7, 9);
    scope.driver.setWalkRule("assignment");
    QUVException(scope.driver, 3, 15, 1, 1, "r", "f", "d");
    try {
        throwInternalFailure("illegal type no", "Type::same()");
        FAIL() << "nothing thrown";
    } catch (QUVRunTimeException& e) {
        EXPECT_EQ(scope.driver.records().size(), 1u);
        scope.driver.fileFailure(e);
    }
    ASSERT_EQ(scope.driver.records().size(), 2u);
    const QUVException& e = scope.driver.records()[1];
    EXPECT_EQ(e.getKind(), 5);
    EXPECT_EQ(e.getNumber(), 20);
    EXPECT_EQ(e.getDetails(), "illegal type no in function Type::same()");
    EXPECT_EQ(e.getSerial(), 1);
    EXPECT_EQ(e.getLine(), 7);
    EXPECT_EQ(e.getColumn(), 9);
    EXPECT_EQ(e.getRule(), "assignment");
    EXPECT_EQ(e.getFileName(), "w.e");
    EXPECT_EQ(DriverScope::seen.size(), 2u);
}

// The numbering users see: each named pair, its kind and number, and the name
// the number-name table gives it.
TEST(DiagnosticClasses, EachNamedPairKeepsItsNumbersAndNames) {
    struct Row {
        const char* what;
        QUVException::Class pair;
        int kind;
        int number;
        const char* numberName;
    };
    const Row rows[] = {
        {"CharStreamIOError", QUVException::CharStreamIOError, 1, 0, "字符流读写异常"},
        {"TokenStreamIOError", QUVException::TokenStreamIOError, 1, 1, "符号流读写异常"},
        {"TokenStreamRecognitionError", QUVException::TokenStreamRecognitionError, 0, 2, "符号流匹配异常"},
        {"TokenStreamRetryError", QUVException::TokenStreamRetryError, 0, 3, "符号流重试异常"},
        {"MismatchedCharError", QUVException::MismatchedCharError, 1, 4, "字符匹配异常"},
        {"NoViableAltForCharError", QUVException::NoViableAltForCharError, 1, 5, "无可选字符异常"},
        {"MismatchedTokenError", QUVException::MismatchedTokenError, 2, 6, "符号匹配异常"},
        {"NoViableAltError", QUVException::NoViableAltError, 2, 7, "无可选符号异常"},
        {"LabelError", QUVException::LabelError, 2, 8, "标号异常"},
        {"OperatorTypeError", QUVException::OperatorTypeError, 3, 9, "操作符类型不匹配异常"},
        {"TypeMismatchError", QUVException::TypeMismatchError, 3, 10, "类型不匹配异常"},
        {"UndeclaredError", QUVException::UndeclaredError, 3, 11, "标志符无定义异常"},
        {"RedeclaredError", QUVException::RedeclaredError, 3, 12, "标志符重定义异常"},
        {"ReferenceMismatchError", QUVException::ReferenceMismatchError, 3, 13, "标志符定义匹配异常"},
        {"AmbiguousReferenceError", QUVException::AmbiguousReferenceError, 3, 14, "标志符引用不确定异常"},
        {"OtherSemanticError", QUVException::OtherSemanticError, 3, 15, "其他语义异常"},
        {"ProcessUndeclaredError", QUVException::ProcessUndeclaredError, 4, 16, "进程未在工程中定义异常"},
        {"ProcessRedeclaredError", QUVException::ProcessRedeclaredError, 4, 17, "进程在工程中重定义异常"},
        {"MainTwiceError", QUVException::MainTwiceError, 4, 18, "工程中存在多个主程序或系统程序异常"},
        {"NoMainError", QUVException::NoMainError, 4, 19, "工程中无主程序或系统程序异常"},
        {"OutputFileError", QUVException::OutputFileError, 0, 0, "字符流读写异常"},
        {"InternalError", QUVException::InternalError, 5, 20, "未知运行异常"},
        {"FatalError", QUVException::FatalError, 5, 21, "致命运行异常"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.pair.kind, row.kind) << row.what;
        EXPECT_EQ(row.pair.number, row.number) << row.what;
        EXPECT_EQ(QUVException::numberName(row.pair.number), gbkBytes(row.numberName)) << row.what;
    }
    EXPECT_EQ(QUVException::numberName(QUVException::FirstSemanticText).rfind("channel can't send", 0), 0u);
}

// The lexer and the parser file what ANTLR's runtime throws by this one
// mapping: the exact class decides, a derived class is not taken for its base.
TEST(DiagnosticClasses, AntlrExceptionsMapByTheirExactClass) {
    struct DerivedMismatch : antlr::MismatchedTokenException {};
    std::ios_base::failure failure("read");
    const antlr::CharStreamIOException charIo(failure);
    const antlr::TokenStreamIOException tokenIo(failure);
    antlr::RecognitionException cause("r");
    const antlr::TokenStreamRecognitionException recognition(cause);
    const antlr::TokenStreamRetryException retry;
    const antlr::MismatchedCharException mismatchedChar;
    const antlr::NoViableAltForCharException noViableChar('@', "t.e", 1, 1);
    const antlr::MismatchedTokenException mismatchedToken;
    const antlr::NoViableAltException noViable(antlr::RefToken(new antlr::CommonToken(1, "x")), "t.e");
    const antlr::SemanticException semantic("s");
    const DerivedMismatch derived;
    const antlr::TokenStreamException stream("stream");
    const antlr::RecognitionException plain("plain");
    const std::pair<const antlr::ANTLRException*, std::pair<int, int>> rows[] = {
        {&charIo, {1, 0}},      {&tokenIo, {1, 1}},         {&recognition, {0, 2}},     {&retry, {0, 3}},
        {&mismatchedChar, {1, 4}}, {&noViableChar, {1, 5}}, {&mismatchedToken, {2, 6}}, {&noViable, {2, 7}},
        {&semantic, {3, 15}},   {&derived, {5, 21}},        {&stream, {5, 21}},         {&plain, {5, 21}},
    };
    for (const auto& row : rows) {
        const QUVException::Class c = QUVException::classOf(*row.first);
        EXPECT_EQ(std::make_pair(static_cast<int>(c.kind), static_cast<int>(c.number)), row.second)
            << typeid(*row.first).name();
    }
}

TEST(ProcessRegistryTest, DeclarationsAndReferencesAreKeptOnce) {
    DriverScope scope;
    ProcessRegistry& r = scope.driver.getProcessRegistry();
    scope.driver.noteProcessReference("P", 1, 1);
    scope.driver.noteProcessReference("P", 2, 2);
    scope.driver.noteProcessDeclaration("Q", 3, 3);
    scope.driver.noteProcessReference("Q", 4, 4);
    EXPECT_EQ(r.getReferences().size(), 1u);
    EXPECT_TRUE(scope.driver.records().empty());
    r.addDeclaration("Q", 9, 8, "other.e");
    ASSERT_EQ(scope.driver.records().size(), 1u);
    const QUVException& e = scope.driver.records()[0];
    EXPECT_EQ(e.getKind(), 4);
    EXPECT_EQ(e.getNumber(), 17);
    EXPECT_EQ(e.getLine(), 9);
    EXPECT_EQ(e.getFileName(), "other.e");
    EXPECT_NE(e.getDetails().find("Q"), std::string::npos);
    EXPECT_NE(e.getDetails().find("t.e"), std::string::npos);
    EXPECT_EQ(r.getDeclarations().size(), 1u);
}

}  // namespace
