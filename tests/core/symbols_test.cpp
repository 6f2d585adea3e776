#include <gtest/gtest.h>

#include <functional>

#include "test_support.hpp"

namespace {

// The trailing running number of a C++ procedure or process name.
int runningNumber(const std::string& cppName) {
    return std::stoi(cppName.substr(cppName.rfind('_') + 1));
}

std::string internalFailureText(const std::function<void()>& call) {
    try {
        call();
    } catch (const QUVRunTimeException& e) {
        EXPECT_EQ(e.getKind(), 5);
        EXPECT_EQ(e.getNumber(), 20);
        return e.getDetails();
    }
    return "no failure";
}

class SymbolsTest : public ::testing::Test {
protected:
    DriverScope scope{"nodes.e"};
    JobState& job = scope.driver;
    BlockNode root{"", DEF_PROJECT, 0, 0, nullptr};
    ProgNode* prog = root.add<ProgNode>("Prog", DEF_PROGRAM, 1, 1);
};

TEST_F(SymbolsTest, FrameTypeNamesFollowTheEnclosingProcedures) {
    ProNode* p = prog->add<ProNode>(job.numbering, "P", DEF_PROCEDURE, 2, 1);
    ProNode* q = p->add<ProNode>(job.numbering, "Q", DEF_PROCEDURE, 3, 1);
    ProNode* r = q->add<ProNode>(job.numbering, "R", DEF_PROCEDURE, 4, 1);
    ProNode* s = prog->add<ProNode>(job.numbering, "S", DEF_PROCESS, 5, 1);
    ProNode* t = s->add<ProNode>(job.numbering, "T", DEF_PROCEDURE, 6, 1);
    ProNode* mainBody = prog->add<ProNode>(job.numbering, "$Main", DEF_PROCEDURE, 7, 1);
    PackNode* pack = prog->add<PackNode>("K", DEF_PACKAGE, 8, 1);
    ProNode* inPack = pack->add<ProNode>(job.numbering, "U", DEF_PROCEDURE, 9, 1);
    struct Case {
        ProNode* node;
        std::string local;
        std::string father;
    } cases[] = {
        {p, "P_local_type", "void"},
        {q, "Q_P_local_type", "P_local_type"},
        {r, "R_Q_P_local_type", "Q_P_local_type"},
        {s, "S_local_type", "void"},
        {t, "T_S_local_type", "void"},  // a process frame has no father member to point at
        {mainBody, "main_local_type", "void"},
        {inPack, "U_local_type", "void"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.node->getName());
        EXPECT_EQ(c.node->getLocalTypeName(), c.local);
        EXPECT_EQ(c.node->getFatherTypeName(), c.father);
    }
}

// Frame type names that two blocks of one tree would share: the block asking
// later gets a suffix, and each block keeps the name it got.
TEST_F(SymbolsTest, EqualFrameTypeNamesGetASuffix) {
    ProNode* q = prog->add<ProNode>(job.numbering, "q", DEF_PROCEDURE, 2, 1);
    ProNode* nested = q->add<ProNode>(job.numbering, "p", DEF_PROCEDURE, 3, 1);
    ProNode* flat = prog->add<ProNode>(job.numbering, "p_q", DEF_PROCEDURE, 4, 1);
    ProNode* entry = prog->add<ProNode>(job.numbering, "$Main", DEF_PROCEDURE, 5, 1);
    ProNode* named = prog->add<ProNode>(job.numbering, "main", DEF_PROCEDURE, 6, 1);
    ProNode* third = q->add<ProNode>(job.numbering, "p", DEF_PROCEDURE, 7, 1);
    EXPECT_EQ(nested->getLocalTypeName(), "p_q_local_type");
    EXPECT_EQ(flat->getLocalTypeName(), "p_q_local_type_2");
    EXPECT_EQ(third->getLocalTypeName(), "p_q_local_type_3");
    EXPECT_EQ(nested->getLocalTypeName(), "p_q_local_type");
    EXPECT_EQ(flat->getLocalTypeName(), "p_q_local_type_2");
    EXPECT_EQ(named->getLocalTypeName(), "main_local_type");
    EXPECT_EQ(entry->getLocalTypeName(), "main_local_type_2");
    // Another tree has names of its own.
    BlockNode other{"", DEF_PROJECT, 0, 0, nullptr};
    ProNode* again = other.add<ProNode>(job.numbering, "p_q", DEF_PROCEDURE, 1, 1);
    EXPECT_EQ(again->getLocalTypeName(), "p_q_local_type");
}

TEST_F(SymbolsTest, CppNamesCountProceduresAndProcessesSeparately) {
    ProNode* p1 = prog->add<ProNode>(job.numbering, "A", DEF_PROCEDURE, 2, 1);
    ProNode* s1 = prog->add<ProNode>(job.numbering, "B", DEF_PROCESS, 3, 1);
    ProNode* p2 = prog->add<ProNode>(job.numbering, "A", DEF_PROCEDURE, 4, 1);
    ProNode* s2 = prog->add<ProNode>(job.numbering, "C", DEF_PROCESS, 5, 1);
    EXPECT_EQ(p1->getCppName().substr(0, 8), "_proc_A_");
    EXPECT_EQ(s1->getCppName().substr(0, 8), "_pros_B_");
    EXPECT_EQ(runningNumber(p2->getCppName()), runningNumber(p1->getCppName()) + 1);
    EXPECT_EQ(runningNumber(s2->getCppName()), runningNumber(s1->getCppName()) + 1);
    EXPECT_EQ(s2->getCppName().substr(0, 8), "_pros_C_");
}

TEST_F(SymbolsTest, PackageNamesComeFromTheNearestPackage) {
    PackNode* pack = prog->add<PackNode>("K", DEF_PACKAGE, 2, 1);
    PackNode* agent = prog->add<PackNode>("G", DEF_AGENT, 3, 1);
    ProNode* p = pack->add<ProNode>(job.numbering, "P", DEF_PROCEDURE, 4, 1);
    ProNode* q = p->add<ProNode>(job.numbering, "Q", DEF_PROCEDURE, 5, 1);
    ProNode* s = agent->add<ProNode>(job.numbering, "S", DEF_PROCESS, 6, 1);
    ProNode* top = prog->add<ProNode>(job.numbering, "T", DEF_PROCEDURE, 7, 1);
    VarNode* v = pack->add<VarNode>(job, "v", DEF_LOCAL, 8, 1);
    TypeNode* t = pack->add<TypeNode>(job, "t", DEF_TYPE, 9, 1);
    const std::pair<const Node*, std::string> cases[] = {
        {pack, "K"}, {agent, "G"}, {p, "K"}, {q, "K"}, {s, "G"}, {top, ""}, {prog, ""}, {v, ""}, {t, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.first->getPackName(), c.second) << c.first->getName();
}

TEST_F(SymbolsTest, ParametersRejectDuplicatesAndBadIndexes) {
    ProNode* p = prog->add<ProNode>(job.numbering, "P", DEF_PROCEDURE, 2, 1);
    VarNode* a = p->add<VarNode>(job, "a", DEF_VALUE_PARAM, 2, 5);
    VarNode* b = p->add<VarNode>(job, "b", DEF_REF_PARAM, 2, 8);
    VarNode* again = p->add<VarNode>(job, "a", DEF_REF_PARAM, 2, 11);
    a->setType(job.types().integerType());
    b->setType(job.types().stringType());
    p->addParam(job, a->getExpression());
    p->addParam(job, b->getExpression());
    size_t before = job.records().size();
    p->addParam(job, again->getExpression());
    ASSERT_EQ(p->getParamCount(), 2);
    ASSERT_EQ(job.records().size(), before + 1);
    EXPECT_EQ(job.records().back().getNumber(), 15);
    EXPECT_EQ(job.records().back().getDetails(),
              "param with the same name has been declared in current procedure/process!");

    EXPECT_EQ(p->getFormalParamName(1), "b");
    EXPECT_EQ(p->getParamType(0), job.types().integerType());
    EXPECT_EQ(p->getParamAttrib(1), DEF_REF_PARAM);

    // A type given after the parameter was listed leaves the listed record readable.
    a->setType(job.types().floatType());
    EXPECT_EQ(p->getParamType(0), job.types().integerType());
    EXPECT_EQ(a->getExpression()->getType(), job.types().floatType());

    const std::pair<const char*, std::function<void(int)>> getters[] = {
        {"ProNode::getParamType()", [p](int i) { p->getParamType(i); }},
        {"ProNode::getParamAttrib()", [p](int i) { p->getParamAttrib(i); }},
        {"ProNode::getFormalParamName()", [p](int i) { p->getFormalParamName(i); }},
    };
    for (const auto& g : getters)
        for (int i : {2, 3, -1, -100}) {
            SCOPED_TRACE(std::string(g.first) + " " + std::to_string(i));
            EXPECT_EQ(internalFailureText([&] { g.second(i); }), std::string("index in too large in function ") + g.first);
        }
    ProNode empty(job.numbering, "E", DEF_PROCEDURE, 3, 1, nullptr);
    EXPECT_EQ(empty.getParamCount(), 0);
    EXPECT_EQ(internalFailureText([&] { empty.getParamType(0); }), "index in too large in function ProNode::getParamType()");
}

TEST_F(SymbolsTest, ResultTextsAndTypesAreKept) {
    ProNode* p = prog->add<ProNode>(job.numbering, "P", DEF_PROCEDURE, 2, 1);
    std::string first = "x", second = "y";
    p->getResult(first, second);
    EXPECT_EQ(first, "");
    EXPECT_EQ(second, "");
    p->setResult("Integer", "int");
    p->getResult(first, second);
    EXPECT_EQ(first, "Integer");
    EXPECT_EQ(second, "int");

    TypeNode* t = prog->add<TypeNode>(job, "Len", DEF_TYPE, 3, 1);
    const NamedType* named = dynamic_cast<const NamedType*>(t->getType());
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->getName(), "Len");
    EXPECT_EQ(named->target, job.types().unknownType());
    EXPECT_FALSE(t->isReferenced());
    t->setType(job, job.types().integerType());
    named = dynamic_cast<const NamedType*>(t->getType());
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->getName(), "Len");
    EXPECT_EQ(named->target, job.types().integerType());

    VarNode* v = prog->add<VarNode>(job, "count", DEF_SHARED, 4, 1);
    ASSERT_NE(v->getExpression(), nullptr);
    EXPECT_EQ(v->getExpression()->getType(), job.types().unknownType());
    EXPECT_EQ(v->getExpression()->getTypeset(), "count");
    EXPECT_EQ(v->getExpression()->getAttribute(), DEF_SHARED);
}

TEST_F(SymbolsTest, FindAndLookupTakeTheNearestDeclaration) {
    Node* first = prog->add<VarNode>(job, "x", DEF_LOCAL, 2, 1);
    prog->add<VarNode>(job, "x", DEF_CONSTANT, 3, 1);
    ProNode* p = prog->add<ProNode>(job.numbering, "P", DEF_PROCEDURE, 4, 1);
    Node* inner = p->add<VarNode>(job, "x", DEF_VALUE_PARAM, 4, 5);
    ProNode* q = p->add<ProNode>(job.numbering, "Q", DEF_PROCEDURE, 5, 1);
    Node* outerOnly = prog->add<VarNode>(job, "y", DEF_LOCAL, 6, 1);
    struct Case {
        const BlockNode* from;
        std::string name;
        std::vector<Node*> expected;
    } cases[] = {
        {prog, "x", {first}},  // of two children with one name, the first
        {p, "x", {inner}},
        {q, "x", {inner}},
        {q, "y", {outerOnly}},
        {q, "Prog", {prog}},
        {q, "none", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from->getName() + " " + c.name);
        std::vector<Node*> out;
        c.from->lookup(c.name, out);
        EXPECT_EQ(out, c.expected);
    }
    EXPECT_EQ(q->find("x"), nullptr);
    EXPECT_EQ(prog->find("x"), first);
}

TEST_F(SymbolsTest, PackagesAlsoSeeTheirFathers) {
    PackNode* base1 = prog->add<PackNode>("B1", DEF_PACKAGE, 2, 1);
    Node* fromB1 = base1->add<VarNode>(job, "a", DEF_SHARED, 3, 1);
    Node* onlyB1 = base1->add<VarNode>(job, "b", DEF_SHARED, 4, 1);
    PackNode* base2 = prog->add<PackNode>("B2", DEF_AGENT, 5, 1);
    Node* fromB2 = base2->add<VarNode>(job, "a", DEF_SHARED, 6, 1);
    PackNode* child = prog->add<PackNode>("C", DEF_PACKAGE, 7, 1);
    ProNode* inChild = child->add<ProNode>(job.numbering, "P", DEF_PROCEDURE, 8, 1);
    Node* own = child->add<VarNode>(job, "b", DEF_LOCAL, 9, 1);
    child->setFathers({base1, base2});
    // A package named among its own fathers, directly or through another.
    PackNode* selfish = prog->add<PackNode>("S", DEF_PACKAGE, 10, 1);
    PackNode* other = prog->add<PackNode>("O", DEF_PACKAGE, 11, 1);
    selfish->setFathers({selfish, other});
    other->setFathers({selfish});
    struct Case {
        const BlockNode* from;
        std::string name;
        std::vector<Node*> expected;
    } cases[] = {
        {child, "a", {fromB1, fromB2}},  // several fathers: every one in father order
        {inChild, "a", {fromB1, fromB2}},
        {child, "b", {own}},  // the package's own declaration hides its fathers'
        {base1, "b", {onlyB1}},
        {child, "none", {}},
        {selfish, "none", {}},
        {other, "none", {}},
        {selfish, "a", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from->getName() + " " + c.name);
        std::vector<Node*> out;
        c.from->lookup(c.name, out);
        EXPECT_EQ(out, c.expected);
    }
}

TEST_F(SymbolsTest, RemoveKeepsTheOrderAndTheNode) {
    Node* a = prog->add<VarNode>(job, "a", DEF_LOCAL, 2, 1);
    Node* b = prog->add<VarNode>(job, "b", DEF_LOCAL, 3, 1);
    Node* c = prog->add<VarNode>(job, "c", DEF_LOCAL, 4, 1);
    std::unique_ptr<Node> removed = prog->remove(b);
    EXPECT_EQ(prog->getChildren(), (std::vector<Node*>{a, c}));
    EXPECT_EQ(removed.get(), b);
    EXPECT_EQ(b->getName(), "b");
    EXPECT_EQ(internalFailureText([&] { root.remove(a); }),
              "remove a child not its children in function BlockNode::remove");
    EXPECT_EQ(prog->getChildren().size(), 2u);
}

}  // namespace
