#include <gtest/gtest.h>

#include "fragment_support.hpp"
#include "test_support.hpp"

namespace {

struct DeclCase {
    const char* what;
    void (*emit)(JobState&, CodeFragment&, std::string, Type*);
    Type* type;
    Texts want;
};

void expectDeclarations(const std::vector<DeclCase>& cases) {
    for (const DeclCase& c : cases) {
        SCOPED_TRACE(c.what);
        // Old text in every column must not survive.
        Filled<> f("old");
        JobState job;
        c.emit(job, f, "x", c.type);
        EXPECT_EQ(textsOf(f), c.want);
    }
}

TEST(DeclarationEmitters, VariablesAndParametersOfBasicAndDerivedTypes) {
    Type* I = Type::integerType;
    Type* arr = Type::makeArray(I, 5);
    Type* ptr = Type::makePointer(I);
    JobState job;
    Type* named = Type::makeNamed(job, I, "Age");
    expectDeclarations({
        {"local", &codegen::createVarDecl, I,
         {"x : Integer", "int _x;\n", "int (* _p__x);\n", "local._p__x = &_x;\n"}},
        {"local array", &codegen::createVarDecl, arr,
         {"x : ", "int (_x[5]);\n", "int ((* _p__x)[5]);\n", "local._p__x = &_x;\n"}},
        {"local of named type", &codegen::createVarDecl, named,
         {"x : Age", "_t_Age _x;\n", "_t_Age (* _p__x);\n", "local._p__x = &_x;\n"}},
        {"local control", &codegen::createVarDecl, Type::nmType,
         {"x : NM", "CONTROL _x;\n", "CONTROL (* _p__x);\n", "local._p__x = &_x;\n"}},
        {"shared", &codegen::createSharedVarDecl, ptr, {"x : Pointer(Integer)", "int (*_x);\n", "", ""}},
        {"value parameter", &codegen::createInParam, I, {"%INP/ x : Integer", "int _x", "", ""}},
        {"reference parameter", &codegen::createRefParam, I, {"%IOP/ x : Integer", "int  &_x", "", ""}},
        {"reference to pointer", &codegen::createRefParam, ptr,
         {"%IOP/ x : Pointer(Integer)", "int (* &_x)", "", ""}},
        // A reference to the whole array, not an array of references.
        {"reference to array", &codegen::createRefParam, arr, {"%IOP/ x : ", "int (( &_x)[5])", "", ""}},
        {"reference to array of arrays", &codegen::createRefParam, Type::makeArray(arr, 3),
         {"%IOP/ x : ", "int ((( &_x)[5])[3])", "", ""}},
    });
}

TEST(DeclarationEmitters, ChannelParametersNameTheElementType) {
    Type* I = Type::integerType;
    Type* in = Type::makeChannel(I, true);
    Type* out = Type::makeChannel(I, false);
    Texts want = {"%CHN/ x(*,anypros) : Integer", "Channel<int  > *_x", "", ""};
    expectDeclarations({{"input channel", &codegen::createChanParam, in, want},
                        {"output channel", &codegen::createChanParam, out, want}});
}

TEST(DeclarationEmitters, ConstantTakesTheValuesCppText) {
    Filled<> value(Texts{"-3", "-3", "", ""});
    Filled<> f("old");
    JobState job;
    codegen::createConstDecl(job, f, "k", Type::integerType, &value);
    EXPECT_EQ(textsOf(f), (Texts{"k : Integer", "const int _k = -3;\n", "", ""}));
}

TEST(DeclarationEmitters, MissingTypeIsWrittenAsUnknown) {
    CodeFragment f;
    JobState job;
    codegen::createVarDecl(job, f, "x", nullptr);
    EXPECT_EQ(f.getCode(), "UNKNOWN _x;\n");
}

// A record or union spelt in several places is one C++ type: a local and its
// frame member, arrays of and pointers to it, and two variables of it.
TEST(DeclarationEmitters, AnonymousRecordIsSpeltByOneNameEverywhere) {
    Type* I = Type::integerType;
    TopFragment top;
    Type* rec = makeRecordOf({{"a", I}});
    std::string name = rec->getCppBase();
    EXPECT_EQ(name, "_" + std::to_string(rec->getOrder()) + "_struct");
    CodeFragment x, y, arr, ptr;
    JobState job;
    codegen::createVarDecl(job, x, "x", rec);
    codegen::createVarDecl(job, y, "y", makeRecordOf({{"a", I}}));
    codegen::createSharedVarDecl(job, arr, "v", Type::makeArray(rec, 2));
    codegen::createInParam(job, ptr, "p", Type::makePointer(rec));
    EXPECT_EQ(x.getCode(), name + " _x;\n");
    EXPECT_EQ(x.getInnerTypes(), name + " (* _p__x);\n");
    EXPECT_EQ(y.getCode(), name + " _y;\n");
    EXPECT_EQ(arr.getCode(), name + " (_v[2]);\n");
    EXPECT_EQ(ptr.getCode(), name + " (*_p)");
    Type* outer = makeRecordOf({{"inner", rec}});
    EXPECT_EQ(static_cast<RecordType*>(outer)->getStructText(), "struct \n{\n" + name + " _f_inner;\n}\n");
}

}  // namespace
