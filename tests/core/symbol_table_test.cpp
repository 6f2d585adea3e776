#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <typeinfo>

#include "test_support.hpp"
#include "tests/support/own_session.hpp"

namespace {

// The details of the internal failure `call` throws, or "no failure".
std::string failureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const QUVRunTimeException& e) {
        EXPECT_EQ(e.getNumber(), 20);
        return e.getDetails();
    }
    return "no failure";
}

// The numbers of the records job filed from index `before` on.
std::vector<int> numbersSince(const DiagnosticSink& job, size_t before) {
    std::vector<int> numbers;
    for (size_t i = before; i < job.records().size(); ++i)
        numbers.push_back(job.records()[i].getNumber());
    return numbers;
}

class SymbolTableTest : public ::testing::Test {
protected:
    DriverScope scope{"table.e"};
    SymbolTable table{scope.driver};
    Node* prog = table.declare("M", DEF_PROGRAM, 1, 1);

    ProNode* proc(const std::string& name, int deftype = DEF_PROCEDURE) {
        return static_cast<ProNode*>(table.declare(name, deftype, 2, 1));
    }
};

TEST_F(SymbolTableTest, DeclareReplacesARedeclarationAndEntersBlocks) {
    table.declare("x", DEF_LOCAL, 2, 3);
    size_t before = scope.driver.records().size();
    Node* second = table.declare("x", DEF_CONSTANT, 5, 7);
    ASSERT_EQ(numbersSince(scope.driver, before), std::vector<int>{12});
    EXPECT_EQ(scope.driver.records().back().getDetails(), "Symbol x redeclared!\n \tsee Line: 2, Col: 3");
    ASSERT_EQ(prog->getName(), "M");
    const std::vector<Node*>& children = table.getCurrent()->getChildren();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children.back(), second);

    // The same name one block further in is a declaration of its own.
    ProNode* p = proc("P");
    EXPECT_EQ(table.getCurrent(), p);
    before = scope.driver.records().size();
    Node* inner = table.declare("x", DEF_LOCAL, 3, 1);
    EXPECT_TRUE(numbersSince(scope.driver, before).empty());
    EXPECT_EQ(inner->getParent(), p);

    // Every kind of block becomes current; other kinds leave the current block alone.
    const std::pair<int, bool> kinds[] = {{DEF_PROJECT, true}, {DEF_PROGRAM, true}, {DEF_AGENT, true},
                                          {DEF_PACKAGE, true}, {DEF_PROCEDURE, true}, {DEF_PROCESS, true},
                                          {DEF_TYPE, false}, {DEF_SHARED, false}, {DEF_OUTPUT_CHANNEL, false}};
    for (const auto& k : kinds) {
        BlockNode* was = table.getCurrent();
        Node* n = table.declare("k" + std::to_string(k.first), k.first, 4, 1);
        EXPECT_EQ(table.getCurrent() == n, k.second) << k.first;
        EXPECT_EQ(n->getDefType(), k.first);
        if (k.second)
            table.exitBlock(k.first);
        EXPECT_EQ(table.getCurrent(), was);
    }
}

TEST_F(SymbolTableTest, ARedeclaredNodeStaysUsableWherePointedAt) {
    // Headers come before bodies: the walker enters the first P again after the second P replaced it.
    ProNode* firstP = proc("P");
    VarNode* a = static_cast<VarNode*>(table.declare("a", DEF_VALUE_PARAM, 2, 4));
    firstP->addParam(scope.driver, a->getExpression());
    // A duplicate parameter name replaces the parameter node the list points at.
    VarNode* a2 = static_cast<VarNode*>(table.declare("a", DEF_REF_PARAM, 2, 9));
    firstP->addParam(scope.driver, a2->getExpression());
    EXPECT_EQ(firstP->getParamCount(), 1);
    EXPECT_EQ(firstP->getFormalParamName(0), "a");
    EXPECT_EQ(firstP->getParamAttrib(0), DEF_VALUE_PARAM);
    table.exitBlock(DEF_PROCEDURE);

    PackNode* base = static_cast<PackNode*>(table.declare("B", DEF_PACKAGE, 3, 1));
    Node* inBase = table.declare("shared", DEF_SHARED, 3, 5);
    table.exitBlock(DEF_PACKAGE);
    PackNode* child = static_cast<PackNode*>(table.declare("C", DEF_PACKAGE, 4, 1));
    child->setFathers({base});
    table.exitBlock(DEF_PACKAGE);

    proc("P");
    table.exitBlock(DEF_PROCEDURE);
    table.declare("B", DEF_PACKAGE, 5, 1);
    table.exitBlock(DEF_PACKAGE);

    table.enterBlock(firstP, DEF_PROCEDURE);
    EXPECT_EQ(table.getFramePath(firstP), "NULL");
    Node* local = table.declare("v", DEF_LOCAL, 6, 1);
    EXPECT_EQ(table.getVarPath(local), "");
    table.exitBlock(DEF_PROCEDURE);

    std::vector<Node*> found;
    child->lookup("shared", found);
    EXPECT_EQ(found, std::vector<Node*>{inBase});
    EXPECT_EQ(firstP->getParamType(0), scope.driver.types().unknownType());
}

TEST_F(SymbolTableTest, ProcessesAreNotedWithTheDriver) {
    proc("S", DEF_PROCESS);
    table.exitBlock(DEF_PROCESS);
    proc("S", DEF_PROCESS);  // a redeclaration in the same block is reported as such, not noted twice
    table.exitBlock(DEF_PROCESS);
    EXPECT_EQ(table.resolve("Far", REF_PROCESS, 8, 2), nullptr);
    EXPECT_EQ(table.resolve("Far", REF_PROCESS, 9, 2), nullptr);
    const ProcessRegistry& registry = scope.driver.getProcessRegistry();
    ASSERT_EQ(registry.getDeclarations().size(), 1u);
    EXPECT_EQ(registry.getDeclarations()[0].name, "S");
    EXPECT_EQ(registry.getDeclarations()[0].file, "table.e");
    ASSERT_EQ(registry.getReferences().size(), 1u);
    EXPECT_EQ(registry.getReferences()[0].line, 8);
    EXPECT_EQ(registry.getReferences()[0].column, 2);
}

// Two jobs side by side: a table's notes and diagnostics go to its own job only.
TEST(SymbolTableJobsTest, ATableFilesIntoItsOwnJob) {
    OwnJob other("other.e");
    OwnJob job("mine.e");
    SymbolTable table(job);
    table.declare("M", DEF_PROGRAM, 1, 1);
    EXPECT_NE(table.declare("S", DEF_PROCESS, 2, 1), nullptr);
    table.exitBlock(DEF_PROCESS);
    table.declare("g", DEF_SHARED, 3, 1);
    EXPECT_EQ(table.resolve("Far", REF_PROCESS, 4, 1), nullptr);
    EXPECT_NE(table.resolve("w", REF_VARIABLE, 5, 2), nullptr);
    const ProcessRegistry& registry = job.getProcessRegistry();
    ASSERT_EQ(registry.getDeclarations().size(), 1u);
    EXPECT_EQ(registry.getDeclarations()[0].file, "mine.e");
    ASSERT_EQ(registry.getReferences().size(), 1u);
    EXPECT_EQ(registry.getReferences()[0].name, "Far");
    ASSERT_EQ(numbersSince(job, 0), std::vector<int>{11});
    EXPECT_EQ(job.records()[0].getFileName(), "mine.e");
    EXPECT_EQ(job.records()[0].getLine(), 5);
    EXPECT_TRUE(other.records().empty());
    EXPECT_TRUE(other.getProcessRegistry().getDeclarations().empty());
    EXPECT_TRUE(other.getProcessRegistry().getReferences().empty());
}

TEST_F(SymbolTableTest, ResolveReportsAndStillGivesANode) {
    ProNode* p = proc("P");
    table.declare("v", DEF_LOCAL, 3, 2);
    table.declare("T", DEF_TYPE, 3, 5);
    table.declare("Q", DEF_PROCEDURE, 3, 8);
    table.exitBlock(DEF_PROCEDURE);
    table.exitBlock(DEF_PROCEDURE);
    PackNode* b1 = static_cast<PackNode*>(table.declare("B1", DEF_PACKAGE, 4, 1));
    Node* dup1 = table.declare("d", DEF_SHARED, 4, 6);
    table.exitBlock(DEF_PACKAGE);
    PackNode* b2 = static_cast<PackNode*>(table.declare("B2", DEF_PACKAGE, 5, 1));
    table.declare("d", DEF_SHARED, 5, 6);
    table.exitBlock(DEF_PACKAGE);
    PackNode* c = static_cast<PackNode*>(table.declare("C", DEF_PACKAGE, 6, 1));
    c->setFathers({b1, b2});
    table.exitBlock(DEF_PACKAGE);
    ASSERT_EQ(table.getCurrent(), prog);

    struct Case {
        const char* what;
        BlockNode* from;
        std::string name;
        int reftype;
        std::vector<int> numbers;
        std::string resultName;  // empty: null result
        int resultDef;
    } cases[] = {
        {"declared variable", p, "v", REF_VARIABLE, {}, "v", DEF_LOCAL},
        {"procedure used as a variable", p, "Q", REF_VARIABLE, {13}, "Q", DEF_PROCEDURE},
        {"two fathers declare it", c, "d", REF_VARIABLE, {14}, "d", DEF_SHARED},
        {"undeclared variable", p, "w", REF_VARIABLE, {11}, "w", DEF_LOCAL},
        {"the implicit declaration stands", p, "w", REF_VARIABLE, {}, "w", DEF_LOCAL},
        {"undeclared package", p, "Nope", REF_PACKAGE, {11}, "", 0},
        {"undeclared process", p, "Elsewhere", REF_PROCESS, {}, "", 0},
        {"undeclared procedure", p, "F", REF_PROCEDURE, {11}, "F", DEF_PROCEDURE},
        {"undeclared type", p, "U", REF_TYPE, {11}, "U", DEF_TYPE},
        {"undeclared input channel", p, "in", REF_INPUT_CHANNEL, {11}, "in", DEF_INPUT_CHANNEL},
        {"undeclared output channel", p, "out", REF_OUTPUT_CHANNEL, {11}, "out", DEF_OUTPUT_CHANNEL},
        {"undeclared control variable", p, "ctl", REF_CONTROL, {11}, "ctl", DEF_CONTROL},
        {"undeclared file variable", p, "f", REF_FILE, {11}, "f", DEF_FILE},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        // Stand in the block of the case, as the walker would.
        while (table.getCurrent() != prog)
            table.exitBlock(table.getCurrent()->getDefType());
        if (k.from != prog)
            table.enterBlock(k.from, k.from->getDefType());
        size_t before = scope.driver.records().size();
        Node* result = table.resolve(k.name, k.reftype, 20, 30);
        EXPECT_EQ(numbersSince(scope.driver, before), k.numbers);
        if (k.resultName.empty()) {
            EXPECT_EQ(result, nullptr);
            continue;
        }
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->getName(), k.resultName);
        EXPECT_EQ(result->getDefType(), k.resultDef);
        if (k.numbers == std::vector<int>{11}) {
            EXPECT_EQ(scope.driver.records().back().getLine(), 20);
            EXPECT_EQ(scope.driver.records().back().getColumn(), 30);
            EXPECT_EQ(result->getParent(), k.from);
            EXPECT_EQ(k.from->getChildren().back(), result);
        }
        if (k.numbers == std::vector<int>{14}) {
            EXPECT_EQ(result, dup1);
        }
    }
}

TEST_F(SymbolTableTest, OnlyTypeReferencesMarkATypeReferenced) {
    TypeNode* t = static_cast<TypeNode*>(table.declare("T", DEF_TYPE, 2, 1));
    table.resolve("T", REF_VARIABLE, 3, 1);
    EXPECT_FALSE(t->isReferenced());
    EXPECT_EQ(table.resolve("T", REF_TYPE, 4, 1), t);
    EXPECT_TRUE(t->isReferenced());
}

TEST(SymbolTableKindsTest, MatchingImplicitKindsAndNodeClasses) {
    // ORDER: one row per reference type, the definition types it may denote.
    const std::vector<std::vector<int>> matches = {{2, 3}, {4}, {5}, {6}, {7, 8, 9, 12, 13}, {14}, {15}, {10}, {11}};
    for (int ref = 0; ref <= 8; ++ref)
        for (int def = 0; def <= 15; ++def) {
            bool expected = std::find(matches[ref].begin(), matches[ref].end(), def) != matches[ref].end();
            EXPECT_EQ(SymbolTable::matchType(def, ref), expected) << def << " " << ref;
        }
    const int implicit[] = {0, 4, 5, 6, 9, 14, 15, 10, 11};
    for (int ref = 1; ref <= 8; ++ref)
        EXPECT_EQ(SymbolTable::genDefFromRef(ref), implicit[ref]) << ref;

    OwnJob job("kinds.e");
    SymbolTable table(job);
    const std::function<bool(Node*)> isClass[] = {
        [](Node* n) { return typeid(*n) == typeid(BlockNode); },
        [](Node* n) { return typeid(*n) == typeid(ProgNode); },
        [](Node* n) { return typeid(*n) == typeid(PackNode); },
        [](Node* n) { return typeid(*n) == typeid(ProNode); },
        [](Node* n) { return typeid(*n) == typeid(TypeNode); },
        [](Node* n) { return typeid(*n) == typeid(VarNode); },
    };
    const int classOf[] = {0, 1, 2, 2, 3, 3, 4, 5, 5, 5, 5, 5, 5, 5, 5, 5};
    for (int def = 0; def <= 15; ++def) {
        Node* n = table.newDeclNode("n", def, 1, 1, table.getRoot());
        EXPECT_TRUE(isClass[classOf[def]](n)) << def;
        EXPECT_EQ(table.getRoot()->getChildren().back(), n);
    }

    const std::pair<std::function<void()>, std::string> failures[] = {
        {[] { SymbolTable::matchType(4, 9); }, "illegal def type in function SymbolTable::matchType()"},
        {[] { SymbolTable::matchType(4, -1); }, "illegal def type in function SymbolTable::matchType()"},
        {[] { SymbolTable::genDefFromRef(0); }, "illegal ref type pack_ref in function SymbolTable::genDefFromRef"},
        {[] { SymbolTable::genDefFromRef(9); }, "illegal ref type in function SymbolTable::genDefFromRef"},
        {[] { SymbolTable::genDefFromRef(-1); }, "illegal ref type in function SymbolTable::genDefFromRef"},
        {[&] { table.newDeclNode("n", 16, 1, 1, table.getRoot()); },
         "illegal def type in function SymbolTable::newDeclNode"},
        {[&] { table.newDeclNode("n", -1, 1, 1, table.getRoot()); },
         "illegal def type in function SymbolTable::newDeclNode"},
    };
    size_t children = table.getRoot()->getChildren().size();
    for (const auto& f : failures)
        EXPECT_EQ(failureOf(f.first), f.second);
    EXPECT_EQ(table.getRoot()->getChildren().size(), children);
}

TEST_F(SymbolTableTest, EnteringAndLeavingBlocksIsChecked) {
    ProNode* p = proc("P");
    table.exitBlock(DEF_PROCEDURE);
    EXPECT_EQ(table.getCurrent(), prog);
    ProNode* q = p->add<ProNode>(scope.driver.numbering, "Q", DEF_PROCEDURE, 3, 1);
    Node* v = table.declare("v", DEF_LOCAL, 3, 1);
    BlockNode* current = table.getCurrent();
    const std::pair<std::function<void()>, std::string> failures[] = {
        {[&] { table.enterBlock(p, DEF_TYPE); }, "not a block node type in function SymbolTable::enterBlock()"},
        {[&] { table.enterBlock(v, DEF_LOCAL); }, "not a block node type in function SymbolTable::enterBlock()"},
        {[&] { table.enterBlock(nullptr, DEF_PROCEDURE); }, "not a block node type in function SymbolTable::enterBlock()"},
        {[&] { table.enterBlock(p, DEF_PROCESS); },
         "node 's deftype not match the given deftype in function SymbolTable::enterBlock()"},
        {[&] { table.enterBlock(v, DEF_PROCEDURE); },
         "node 's deftype not match the given deftype in function SymbolTable::enterBlock()"},
        {[&] { table.enterBlock(q, DEF_PROCEDURE); },
         "node 's parent doesn't equal current node in function SymbolTable::enterBlock()"},
        {[&] { table.exitBlock(DEF_PROCEDURE); },
         "node 's deftype not match the given deftype in function SymbolTable::exitBlock()"},
    };
    for (const auto& f : failures) {
        EXPECT_EQ(failureOf(f.first), f.second);
        EXPECT_EQ(table.getCurrent(), current);
    }

    table.enterBlock(p, DEF_PROCEDURE);
    EXPECT_EQ(failureOf([&] { table.exitBlock(DEF_PROCESS); }),
              "node 's deftype not match the given deftype in function SymbolTable::exitBlock()");
    table.exitBlock(DEF_PROCEDURE);
    table.exitBlock(DEF_PROGRAM);
    EXPECT_EQ(table.getCurrent(), table.getRoot());
    // The root has nowhere to go back to.
    EXPECT_EQ(failureOf([&] { table.exitBlock(DEF_PROJECT); }),
              "node 's parent is not a block node in function SymbolTable::exitBlock()");
    EXPECT_EQ(table.getCurrent(), table.getRoot());
}

// Program M { var g; proc P { var a; proc Q { var b; proc R { var c } } proc Q2 }
//             process S { var s; proc T } package K { var k; proc U } }
class PathTest : public SymbolTableTest {
protected:
    Node* g = table.declare("g", DEF_SHARED, 2, 1);
    ProNode* P = proc("P");
    Node* a = table.declare("a", DEF_LOCAL, 3, 1);
    ProNode* Q = proc("Q");
    Node* b = table.declare("b", DEF_VALUE_PARAM, 4, 1);
    ProNode* R = proc("R");
    Node* c = table.declare("c", DEF_LOCAL, 5, 1);
    bool leftR = (table.exitBlock(DEF_PROCEDURE), table.exitBlock(DEF_PROCEDURE), true);
    ProNode* Q2 = proc("Q2");
    bool leftQ2 = (table.exitBlock(DEF_PROCEDURE), table.exitBlock(DEF_PROCEDURE), true);
    ProNode* S = proc("S", DEF_PROCESS);
    Node* s = table.declare("s", DEF_LOCAL, 6, 1);
    ProNode* T = proc("T");
    bool leftT = (table.exitBlock(DEF_PROCEDURE), table.exitBlock(DEF_PROCESS), true);
    BlockNode* K = static_cast<BlockNode*>(table.declare("K", DEF_PACKAGE, 7, 1));
    Node* k = table.declare("k", DEF_SHARED, 7, 5);
    ProNode* U = proc("U");
    bool leftU = (table.exitBlock(DEF_PROCEDURE), table.exitBlock(DEF_PACKAGE), true);

    // Makes `block` current by walking down from the program.
    void standIn(BlockNode* block) {
        while (table.getCurrent() != prog)
            table.exitBlock(table.getCurrent()->getDefType());
        std::vector<BlockNode*> chain;
        for (BlockNode* b = block; b != prog; b = b->getParent())
            chain.insert(chain.begin(), b);
        for (BlockNode* b : chain)
            table.enterBlock(b, b->getDefType());
    }
};

TEST_F(PathTest, VariablePathsClimbFatherFrames) {
    struct Case {
        BlockNode* from;
        Node* var;
        std::string path;
    } cases[] = {
        {R, c, ""},         {R, b, "father->"}, {R, a, "father->father->"}, {Q, a, "father->"},
        {R, g, ""},         {P, a, ""},         {U, k, ""},
        // A process's frame is reached from its nested procedure through a cast.
        {T, s, "((S_local_type*)father)->"},
        {static_cast<BlockNode*>(prog), g, ""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.from->getName() + " " + k.var->getName());
        standIn(k.from);
        EXPECT_EQ(table.getVarPath(k.var), k.path);
    }

    // Reaching it makes the process's frame point at its parameters too.
    EXPECT_TRUE(S->isFrameReached());

    // A frame the current block is not inside of cannot be reached.
    const std::pair<BlockNode*, Node*> unreachable[] = {{Q2, b}, {P, c}, {T, a}, {static_cast<BlockNode*>(prog), a}};
    for (const auto& u : unreachable) {
        standIn(u.first);
        EXPECT_EQ(failureOf([&] { table.getVarPath(u.second); }), "error parent in function VarNode::getVarPath()");
    }
    BlockNode odd("odd", DEF_TYPE, 1, 1, nullptr);
    Node* inOdd = odd.add<VarNode>(scope.driver, "x", DEF_LOCAL, 1, 1);
    EXPECT_EQ(failureOf([&] { table.getVarPath(inOdd); }), "error parent in function VarNode::getVarPath()");
    EXPECT_EQ(failureOf([&] { table.getVarPath(table.getRoot()); }), "error parent in function VarNode::getVarPath()");
}

TEST_F(PathTest, FramePathsReachTheCalleesFather) {
    struct Case {
        BlockNode* from;
        Node* callee;
        std::string path;
    } cases[] = {
        {P, Q, "&local"},         // declared in the current block
        {static_cast<BlockNode*>(prog), P, "&local"},
        {Q, P, "NULL"},           // declared at program level
        {Q, Q2, "father"},        // a sibling: declared in the enclosing procedure
        {R, R, "father"},         // a recursive call
        {R, Q2, "father->father"},  // declared two procedure levels out
        {R, Q, "father->father"},
        {T, T, "father"},         // the enclosing block is a process
        {U, U, "NULL"},           // the enclosing block is a package
        {Q2, R, "NULL"},          // not declared around the caller
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.from->getName() + " calls " + k.callee->getName());
        standIn(k.from);
        EXPECT_EQ(table.getFramePath(k.callee), k.path);
    }
    // Three levels out.
    standIn(R);
    Node* deep = table.declare("D", DEF_PROCEDURE, 9, 1);
    EXPECT_EQ(table.getFramePath(Q2), "father->father->father");
    EXPECT_EQ(table.getFramePath(deep), "father");
}

}  // namespace
