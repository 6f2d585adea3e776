#include <gtest/gtest.h>

#include "fragment_support.hpp"
#include "test_support.hpp"
#include "tests/support/own_session.hpp"

namespace {

struct DeclCase {
    const char* what;
    void (*emit)(JobState&, CodeFragment&, std::string, Type*);
    Type* type;
    Texts want;
};

void expectDeclarations(JobState& job, const std::vector<DeclCase>& cases) {
    for (const DeclCase& c : cases) {
        SCOPED_TRACE(c.what);
        // Old text in every column must not survive.
        Filled<> f("old");
        c.emit(job, f, "x", c.type);
        EXPECT_EQ(textsOf(f), c.want);
    }
}

TEST(DeclarationEmitters, VariablesAndParametersOfBasicAndDerivedTypes) {
    OwnJob job;
    Type* I = job.types().integerType();
    Type* arr = job.types().makeArray(I, 5);
    Type* ptr = job.types().makePointer(I);
    Type* named = job.types().makeNamed(job, I, "Age");
    expectDeclarations(job, {
        {"local", &codegen::createVarDecl, I,
         {"x : Integer", "int _x;\n", "int (* _p__x);\n", "local._p__x = &_x;\n"}},
        {"local array", &codegen::createVarDecl, arr,
         {"x : ", "int (_x[5]);\n", "int ((* _p__x)[5]);\n", "local._p__x = &_x;\n"}},
        {"local of named type", &codegen::createVarDecl, named,
         {"x : Age", "_t_Age _x;\n", "_t_Age (* _p__x);\n", "local._p__x = &_x;\n"}},
        {"local control", &codegen::createVarDecl, job.types().nmType(),
         {"x : NM", "CONTROL _x;\n", "CONTROL (* _p__x);\n", "local._p__x = &_x;\n"}},
        {"shared", &codegen::createSharedVarDecl, ptr, {"x : Pointer(Integer)", "int (*_x);\n", "", ""}},
        {"value parameter", &codegen::createInParam, I, {"%INP/ x : Integer", "int _x", "", ""}},
        {"reference parameter", &codegen::createRefParam, I, {"%IOP/ x : Integer", "int  &_x", "", ""}},
        {"reference to pointer", &codegen::createRefParam, ptr,
         {"%IOP/ x : Pointer(Integer)", "int (* &_x)", "", ""}},
        // A reference to the whole array, not an array of references.
        {"reference to array", &codegen::createRefParam, arr, {"%IOP/ x : ", "int (( &_x)[5])", "", ""}},
        {"reference to array of arrays", &codegen::createRefParam, job.types().makeArray(arr, 3),
         {"%IOP/ x : ", "int ((( &_x)[5])[3])", "", ""}},
    });
}

TEST(DeclarationEmitters, ChannelParametersNameTheElementType) {
    OwnJob job;
    Type* I = job.types().integerType();
    Type* in = job.types().makeChannel(I, true);
    Type* out = job.types().makeChannel(I, false);
    Texts want = {"%CHN/ x(*,anypros) : Integer", "Channel<int  > *_x", "", ""};
    expectDeclarations(job, {{"input channel", &codegen::createChanParam, in, want},
                        {"output channel", &codegen::createChanParam, out, want}});
}

TEST(DeclarationEmitters, ConstantTakesTheValuesCppText) {
    OwnJob job;
    Filled<> value(Texts{"-3", "-3", "", ""});
    Filled<> f("old");
    codegen::createConstDecl(job, f, "k", job.types().integerType(), &value);
    EXPECT_EQ(textsOf(f), (Texts{"k : Integer", "const int _k = -3;\n", "", ""}));
}

TEST(DeclarationEmitters, MissingTypeIsWrittenAsUnknown) {
    OwnJob job;
    CodeFragment f;
    codegen::createVarDecl(job, f, "x", nullptr);
    EXPECT_EQ(f.getCode(), "UNKNOWN _x;\n");
}

// A record or union spelt in several places is one C++ type: a local and its
// frame member, arrays of and pointers to it, and two variables of it.
TEST(DeclarationEmitters, AnonymousRecordIsSpeltByOneNameEverywhere) {
    OwnJob job;
    Type* I = job.types().integerType();
    TopFragment top;
    Type* rec = makeRecordOf(job.types(), {{"a", I}});
    std::string name = rec->getCppBase();
    EXPECT_EQ(name, "_" + std::to_string(rec->getOrder()) + "_struct");
    CodeFragment x, y, arr, ptr;
    codegen::createVarDecl(job, x, "x", rec);
    codegen::createVarDecl(job, y, "y", makeRecordOf(job.types(), {{"a", I}}));
    codegen::createSharedVarDecl(job, arr, "v", job.types().makeArray(rec, 2));
    codegen::createInParam(job, ptr, "p", job.types().makePointer(rec));
    EXPECT_EQ(x.getCode(), name + " _x;\n");
    EXPECT_EQ(x.getInnerTypes(), name + " (* _p__x);\n");
    EXPECT_EQ(y.getCode(), name + " _y;\n");
    EXPECT_EQ(arr.getCode(), name + " (_v[2]);\n");
    EXPECT_EQ(ptr.getCode(), name + " (*_p)");
    Type* outer = makeRecordOf(job.types(), {{"inner", rec}});
    EXPECT_EQ(static_cast<RecordType*>(outer)->getStructText(), "struct \n{\n" + name + " _f_inner;\n}\n");
}

}  // namespace
