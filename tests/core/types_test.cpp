#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "test_support.hpp"
#include "compiler/codegen/codegen.hpp"
#include "tests/support/own_session.hpp"

namespace {

class TypesTest : public ::testing::Test {
protected:
    DriverScope scope;
    JobState& job = scope.driver;
    Type* I = job.types().integerType();
    Type* F = job.types().floatType();
};

TEST_F(TypesTest, BasicTypesHoldTheFirstEightEntries) {
    const char* cpp[] = {"UNKNOWN", "int", "float", "std::string", "bool", "bool", "STREAM", "CONTROL"};
    const char* quv[] = {"", "Integer", "Float", "String", "Logic", "BOOL", "STREAM", "NM"};
    Type* globals[] = {job.types().unknownType(), job.types().integerType(), job.types().floatType(), job.types().stringType(),
                       job.types().logicType(),   job.types().boolType(),    job.types().streamType(), job.types().nmType()};
    for (int n = 0; n < 8; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(job.types().getTypeFromOrder(n), globals[n]);
        EXPECT_EQ(globals[n]->getNumber(), n);
        EXPECT_EQ(globals[n]->getOrder(), n);
        EXPECT_EQ(globals[n]->getCppBase(), cpp[n]);
        EXPECT_EQ(globals[n]->getTypeset(), quv[n]);
    }
}

TEST_F(TypesTest, DeclarationsOfEveryKind) {
    Type* arr5 = job.types().makeArray(I, 5);
    Type* rec = makeRecordOf(job.types(), {{"a", I}, {"b", F}});
    Type* uni = makeUnionOf(job.types(), {{"a", I}});
    // A record or union is spelt by its one C++ name, made from its registry place.
    std::string recName = "_" + std::to_string(rec->getOrder()) + "_struct";
    std::string uniName = "_" + std::to_string(uni->getOrder()) + "_union";
    struct Case {
        const char* what;
        Type* type;
        std::string quv;
        std::string declaration;
    } cases[] = {
        {"int", I, "Integer", "int x"},
        {"pointer", job.types().makePointer(I), "Pointer(Integer)", "int (*x)"},
        {"pointer to pointer", job.types().makePointer(job.types().makePointer(I)), "Pointer(Pointer(Integer))", "int (*(*x))"},
        {"array", arr5, "", "int (x[5])"},
        {"array of arrays", job.types().makeArrayDims(I, {5, 3}), "", "int ((x[5])[3])"},
        {"channel", job.types().makeChannel(I, true), "", "Channel<int  > *x"},
        {"named", job.types().makeNamed(job, I, "Age"), "Age", "_t_Age x"},
        {"record", rec, "\n[\na : Integer;\nb : Float", recName + " x"},
        {"union", uni, "\n[\na : Integer", uniName + " x"},
        {"pointer to array", job.types().makePointer(arr5), "Pointer()", "int ((*x)[5])"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.type->getTypeset(), c.quv);
        EXPECT_EQ(CodeNames::declaration("x", c.type), c.declaration);
    }
    EXPECT_EQ(static_cast<RecordType*>(rec)->getStructText(), "struct \n{\nint _f_a;\nfloat _f_b;\n}\n");
    EXPECT_EQ(static_cast<RecordType*>(uni)->getStructText(), "union \n{\nint _f_a;\n}\n");
    EXPECT_TRUE(job.records().empty());
}

TEST_F(TypesTest, RegistryHoldsEachDistinctTypeOnce) {
    size_t before = job.types().size();
    Type* p1 = job.types().makePointer(I);
    EXPECT_EQ(job.types().makePointer(I), p1);
    EXPECT_NE(job.types().makeArray(I, 5), job.types().makeArray(I, 6));
    EXPECT_NE(job.types().makeChannel(I, true), job.types().makeChannel(I, false));
    Type* r1 = makeRecordOf(job.types(), {{"p", I}, {"q", F}});
    Type* r2 = job.types().makeRecord(*fieldList({{"p", I}, {"q", F}}));
    EXPECT_EQ(r1, r2);
    Type* swapped = makeRecordOf(job.types(), {{"q", F}, {"p", I}});
    EXPECT_NE(swapped, r1);
    EXPECT_NE(makeUnionOf(job.types(), {{"p", I}, {"q", F}}), r1);
    EXPECT_EQ(job.types().makeArrayDims(F, {}), F);
    for (size_t i = 0; i < job.types().size(); ++i) {
        EXPECT_EQ(job.types().getTypeFromOrder(static_cast<int>(i))->getOrder(), static_cast<int>(i));
        for (size_t j = 8; j < i; ++j)
            EXPECT_FALSE(Type::same(job.types().getTypeFromOrder(static_cast<int>(i)), job.types().getTypeFromOrder(static_cast<int>(j)))) << i << " and " << j;
    }
    EXPECT_GT(job.types().size(), before);
}

TEST_F(TypesTest, RemakingARecordTakesTheNewFragmentText) {
    std::unique_ptr<FieldListFragment> first = fieldList({{"m", I}});
    std::unique_ptr<FieldListFragment> second = fieldList({{"m", I}});
    Type* a = job.types().makeRecord(*first);
    // A fragment whose text differs: the registered type takes the later text.
    FieldListFragment third;
    third.fields = std::move(second->fields);
    Type* b = job.types().makeRecord(third);
    EXPECT_EQ(a, b);
    EXPECT_EQ(b->getTypeset(), "");
}

TEST_F(TypesTest, SameAndEqualFollowTheirTables) {
    Type* named = job.types().makeNamed(job, I, "N");
    Type* arrI = job.types().makeArray(I, 4);
    Type* arrN = job.types().makeArray(named, 4);
    Type* rec = makeRecordOf(job.types(), {{"a", I}});
    Type* recCase = makeRecordOf(job.types(), {{"A", I}});
    Type* uni = makeUnionOf(job.types(), {{"a", I}});
    Type* chIn = job.types().makeChannel(I, true);
    struct Case {
        const char* what;
        Type* a;
        Type* b;
        bool same;
        bool equal;
    } cases[] = {
        {"int int", I, I, true, true},
        {"int float", I, F, false, false},
        {"logic bool", job.types().logicType(), job.types().boolType(), false, false},
        {"named and its definition", named, I, false, true},
        {"arrays of equal elements", arrI, arrN, false, true},
        {"array sizes", arrI, job.types().makeArray(I, 5), false, false},
        {"record and union", rec, uni, false, false},
        {"field name case", rec, recCase, false, false},
        {"unknown with itself", job.types().unknownType(), job.types().unknownType(), false, true},
        {"unknown with a channel", job.types().unknownType(), chIn, false, true},
        {"pointers", job.types().makePointer(named), job.types().makePointer(I), false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Type::same(c.a, c.b), c.same);
        EXPECT_EQ(Type::equal(c.a, c.b), c.equal);
    }
    EXPECT_FALSE(Type::equal(nullptr, I));
    EXPECT_FALSE(Type::equal(I, nullptr));
    EXPECT_TRUE(Type::same(chIn, job.types().makeChannel(I, true)));
}

TEST_F(TypesTest, InternalFailures) {
    Type* ch = job.types().makeChannel(F, false);
    auto rec = static_cast<RecordType*>(makeRecordOf(job.types(), {{"a", I}}));
    struct Case {
        const char* what;
        std::function<void()> call;
        std::string details;
    } cases[] = {
        {"equal on channels", [&] { Type::equal(ch, ch); }, "illegal type no in function Type::equal()"},
        {"isdefSize of a channel", [&] { Type::isdefSize(ch); }, "illegal type no in function Type::isdefSize()"},
        {"order past the end", [&] { job.types().getTypeFromOrder(100000); },
         "illegal type order in function Type::getTypeFromOrder()"},
        {"negative order", [&] { job.types().getTypeFromOrder(-1); },
         "illegal type order in function Type::getTypeFromOrder()"},
        {"basic type number", [] { TypeRegistry::newBasicType(8); }, "illegal type no in function Type::newBasicType()"},
        {"field -1", [&] { rec->getFieldName(-1); }, "illegal index in function RecordType::getFieldName()"},
        {"field past the end", [&] { rec->getFieldType(1); }, "illegal index in function RecordType::getFieldName()"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.call();
            ADD_FAILURE() << "nothing thrown";
        } catch (const QUVRunTimeException& e) {
            EXPECT_EQ(e.getDetails(), c.details);
            EXPECT_EQ(e.getNumber(), 20);
        }
    }
}

TEST_F(TypesTest, NamedTypesSeeThroughToTheirTargets) {
    Type* rec = makeRecordOf(job.types(), {{"next", job.types().makePointer(job.types().makeNamed(job, job.types().unknownType(), "L"))}});
    Type* named = job.types().makeNamed(job, rec, "L");
    EXPECT_EQ(named->getTypeset(), "L");
    EXPECT_EQ(named->getCppBase(), "_t_L");
    EXPECT_EQ(job.types().makeNamed(job, I, "N"), job.types().makeNamed(job, I, "N"));
    // The unknown type is not even the same as itself, so a type built on it is registered anew.
    EXPECT_NE(job.types().makeNamed(job, rec, "L"), named);
    EXPECT_TRUE(job.records().empty());
    // A channel has no size to speak of: naming one is an internal failure, not a silent type.
    EXPECT_THROW(job.types().makeNamed(job, job.types().makeChannel(I, true), "C"), QUVRunTimeException);
}

// A record whose field points to its own type, declared as the walker does:
// the name's stand-in first, the record over it, then the declaration's type.
TEST_F(TypesTest, ASelfReferencingRecordIsReachedThroughItsField) {
    auto declare = [&](const std::string& name) {
        auto node = new TypeNode(job, name, DEF_TYPE, 1, 1, nullptr);
        Type* link = job.types().makePointer(node->getType());
        node->setType(job, makeRecordOf(job.types(), {{"link", link}, {"value", I}}));
        return std::make_pair(std::unique_ptr<TypeNode>(node), link);
    };
    auto node = declare("Node");
    auto other = declare("Other");
    Type* nodeType = node.first->getType();
    Type* link = node.second;
    // a.link->value and a.link->link->value.
    EXPECT_EQ(link->checkArrow(job, "value"), I);
    EXPECT_EQ(link->checkArrow(job, "link")->checkArrow(job, "value"), I);
    EXPECT_EQ(link->checkDeref(job)->checkField(job, "link"), link);
    // &b into a.link, for b of the declared type; not a pointer to Other,
    // whose C++ struct is another, nor a pointer to Integer.
    EXPECT_TRUE(Type::equal(link, job.types().makePointer(nodeType)));
    EXPECT_TRUE(Type::equal(nodeType, link->checkDeref(job)));
    EXPECT_FALSE(Type::equal(link, other.second));
    EXPECT_FALSE(Type::equal(nodeType, other.first->getType()));
    EXPECT_FALSE(Type::equal(link, job.types().makePointer(I)));
    EXPECT_TRUE(job.records().empty());
    EXPECT_EQ(link->checkArrow(job, "missing"), job.types().unknownType());
    EXPECT_EQ(job.records().size(), 1u);

    // A name declared as itself completes nothing, and resolving it ends.
    TypeNode self(job, "Self", DEF_TYPE, 1, 1, nullptr);
    Type* standIn = self.getType();
    self.setType(job, standIn);
    EXPECT_EQ(static_cast<NamedType*>(standIn)->completion, nullptr);
    EXPECT_TRUE(Type::equal(self.getType(), standIn));
}

TEST_F(TypesTest, CodeNamesCountersAndKindNames) {
    std::string first = CodeNames::procName(job.numbering, "f");
    std::string second = CodeNames::procName(job.numbering, "f");
    int n = std::stoi(first.substr(first.rfind('_') + 1));
    EXPECT_EQ(first, "_proc_f_" + std::to_string(n));
    EXPECT_EQ(second, "_proc_f_" + std::to_string(n + 1));
    EXPECT_EQ(CodeNames::prosName(job.numbering, "p").substr(0, 8), "_pros_p_");
    // A job given a numbering of its own counts on it alone.
    CompileSession own;
    JobState separate(own, "s.e");
    EXPECT_EQ(CodeNames::procName(separate.numbering, "g"), "_proc_g_0");
    EXPECT_EQ(CodeNames::prosName(separate.numbering, "q"), "_pros_q_0");
    EXPECT_EQ(CodeNames::procName(job.numbering, "f"), "_proc_f_" + std::to_string(n + 2));
    EXPECT_EQ(CodeNames::typeName("T"), "_t_T");
    EXPECT_EQ(CodeNames::refKindName(0), gbkBytes("包块/代理"));
    EXPECT_EQ(CodeNames::refKindName(8), gbkBytes("文件变量"));
    EXPECT_EQ(CodeNames::defKindName(0), gbkBytes("工程"));
    EXPECT_EQ(CodeNames::defKindName(15), gbkBytes("输出通道"));
    EXPECT_EQ(CodeNames::defKindName(16), "");
}

TEST_F(TypesTest, RepeatedFieldIsReportedAndKeptOutOfTheList) {
    FieldListFragment fragment;
    FieldListFragment* list = &fragment;
    for (const auto& f : std::vector<std::pair<std::string, Type*>>{{"a", I}, {"b", F}, {"a", F}}) {
        FieldFragment item;
        codegen::createFieldDecl(job, item, f.first, f.second);
        codegen::createFieldList(job, *list, item);
    }
    EXPECT_EQ(list->count, 3);
    EXPECT_EQ(list->fields->size(), 2u);
    ASSERT_EQ(job.records().size(), 1u);
    EXPECT_EQ(job.records()[0].getDetails(),
              "field with the same name has been declared in current record/union!");
    EXPECT_EQ(list->getCode(), "_f_a;\n_f_b;\n_f_a;\n");
}

}  // namespace
