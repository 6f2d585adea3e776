// Package and agent classes and type declarations.
#include <gtest/gtest.h>

#include <functional>

#include "compiler/codegen/emit_support.hpp"
#include "fragment_support.hpp"
#include "test_support.hpp"

namespace {

class Packages : public ::testing::Test {
protected:
    DriverScope scope;
    JobState& job = scope.driver;
    TopFragment top;
    Program symbols{job};

    PackNode* pack(const std::string& name) { return symbols.root()->add<PackNode>(name, DEF_PACKAGE, 1, 1); }
    size_t diagnostics() const { return job.records().size(); }
};

TEST_F(Packages, PackageAndAgentClasses) {
    Filled<> members("M"), procs("P"), head("H"), body("B"), old("old");
    DerivationFragment none;
    codegen::createPackClass(job, old, "k", &none, &members, &procs);
    EXPECT_EQ(textsOf(old), (Texts{"old0", "P1", "P2", "class _class_k\n{\npublic:\nM1P3\n}\n;\n"}));

    DerivationFragment bases;
    codegen::createDerivation(job, bases, "a", pack("a"));
    codegen::createDerivation(job, bases, "b", pack("b"));
    Filled<> agent("old");
    codegen::createAgentClass(job, agent, "g", &bases, &members, &procs, &head, &body);
    EXPECT_EQ(textsOf(agent),
              (Texts{"old0", "P1B1H1", "P2H2B2", "class _class_g: public _class_a,_class_b\n{\npublic:\nM1P3H3B3\n}\n;\n"}));
}

// A class cannot derive from itself: a father that is the package, or whose
// fathers lead back to it, is left out of the base list.
TEST_F(Packages, FathersThatLeadBackAreNoBases) {
    PackNode* k = pack("k");
    PackNode* a = pack("a");
    PackNode* b = pack("b");
    PackNode* c = pack("c");
    a->setFathers({b});
    b->setFathers({k});
    c->setFathers({c});  // a cycle that does not reach k
    const struct {
        const char* what;
        std::vector<PackNode*> fathers;
        std::string bases;
    } cases[] = {
        {"itself", {k}, ""},
        {"itself among others", {c, k}, ": public _class_c"},
        {"through two fathers", {a, c}, ": public _class_c"},
        {"a father that is not found", {nullptr}, ": public _class_x"},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.what);
        DerivationFragment bases;
        for (PackNode* f : t.fathers)
            codegen::createDerivation(job, bases, f ? f->getName() : "x", f);
        Filled<> e;
        CodeFragment cls;
        codegen::createPackClass(job, cls, "k", &bases, &e, &e);
        EXPECT_EQ(cls.getPrototypes(), "class _class_k" + t.bases + "\n{\npublic:\n\n}\n;\n");
    }
}

TEST_F(Packages, TypeDeclarations) {
    Type* I = job.types().integerType();
    const std::string selfNotRecord = "the type you want to define has referenced itself, but it is not a record or union type";
    struct Case {
        const char* what;
        std::string name;
        bool referenced;
        std::function<Type*(TypeNode*)> type;
        std::function<std::string(Type*)> code;
        std::string diagnostic;
    };
    const std::vector<Case> cases = {
        {"plain", "A", false, [&](TypeNode*) { return job.types().makeArray(I, 3); },
         [](Type*) { return std::string("typedef int (_t_A[3]);\n"); }, ""},
        {"a record that names itself", "R", true,
         [&](TypeNode* n) {
             return job.types().makeRecord(*fieldList({{"next", job.types().makePointer(n->getType())}, {"v", I}}));
         },
         [](Type*) { return std::string("struct _t_R;\ntypedef struct _t_R _t_R;\n"); }, ""},
        {"a union that names itself", "U", true,
         [&](TypeNode* n) { return job.types().makeUnion(*fieldList({{"p", job.types().makePointer(n->getType())}})); },
         [](Type*) { return std::string("union _t_U;\ntypedef union _t_U _t_U;\n"); }, ""},
        {"a pointer that names itself", "P", true, [&](TypeNode* n) { return job.types().makePointer(n->getType()); },
         [](Type*) { return std::string("typedef _t_P (*_t_P);\n"); }, selfNotRecord},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto node = symbols.root()->add<TypeNode>(job, c.name, DEF_TYPE, 1, 1);
        if (c.referenced)
            node->markReferenced();
        Type* t = c.type(node);
        size_t before = diagnostics();
        CodeFragment decl;
        codegen::createTypeDecl(job, decl, c.name, t, node);
        EXPECT_EQ(decl.getTypeset(), c.name + " = " + t->getTypeset());
        EXPECT_EQ(decl.getCode().substr(0, c.code(t).size()), c.code(t));
        EXPECT_NE(node->getType(), nullptr);
        if (c.diagnostic.empty()) {
            EXPECT_EQ(diagnostics(), before);
        } else {
            ASSERT_EQ(diagnostics(), before + 1);
            EXPECT_EQ(job.records().back().getDetails(), c.diagnostic);
        }
    }
}

}  // namespace
