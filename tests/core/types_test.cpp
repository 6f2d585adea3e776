#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "test_support.hpp"

namespace {

class TypesTest : public ::testing::Test {
protected:
    DriverScope scope;
    JobState& job = scope.driver;
    Type* I = Type::integerType;
    Type* F = Type::floatType;
};

TEST_F(TypesTest, BasicTypesHoldTheFirstEightEntries) {
    const char* cpp[] = {"UNKNOWN", "int", "float", "std::string", "bool", "bool", "STREAM", "CONTROL"};
    const char* quv[] = {"", "Integer", "Float", "String", "Logic", "BOOL", "STREAM", "NM"};
    Type* globals[] = {Type::unknownType, Type::integerType, Type::floatType, Type::stringType,
                       Type::logicType,   Type::boolType,    Type::streamType, Type::nmType};
    for (int n = 0; n < 8; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(Type::getTypeFromOrder(n), globals[n]);
        EXPECT_EQ(globals[n]->getNumber(), n);
        EXPECT_EQ(globals[n]->getOrder(), n);
        EXPECT_EQ(globals[n]->getCppBase(), cpp[n]);
        EXPECT_EQ(globals[n]->getTypeset(), quv[n]);
    }
}

TEST_F(TypesTest, DeclarationsOfEveryKind) {
    Type* arr5 = Type::makeArray(I, 5);
    Type* rec = makeRecordOf({{"a", I}, {"b", F}});
    Type* uni = makeUnionOf({{"a", I}});
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
        {"pointer", Type::makePointer(I), "Pointer(Integer)", "int (*x)"},
        {"pointer to pointer", Type::makePointer(Type::makePointer(I)), "Pointer(Pointer(Integer))", "int (*(*x))"},
        {"array", arr5, "", "int (x[5])"},
        {"array of arrays", Type::makeArrayDims(I, {5, 3}), "", "int ((x[5])[3])"},
        {"channel", Type::makeChannel(I, true), "", "Channel<int  > *x"},
        {"named", Type::makeNamed(job, I, "Age"), "Age", "_t_Age x"},
        {"record", rec, "\n[\na : Integer;\nb : Float", recName + " x"},
        {"union", uni, "\n[\na : Integer", uniName + " x"},
        {"pointer to array", Type::makePointer(arr5), "Pointer()", "int ((*x)[5])"},
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
    size_t before = Type::typeVector.size();
    Type* p1 = Type::makePointer(I);
    EXPECT_EQ(Type::makePointer(I), p1);
    EXPECT_NE(Type::makeArray(I, 5), Type::makeArray(I, 6));
    EXPECT_NE(Type::makeChannel(I, true), Type::makeChannel(I, false));
    Type* r1 = makeRecordOf({{"p", I}, {"q", F}});
    Type* r2 = Type::makeRecord(fieldList({{"p", I}, {"q", F}}));
    EXPECT_EQ(r1, r2);
    Type* swapped = makeRecordOf({{"q", F}, {"p", I}});
    EXPECT_NE(swapped, r1);
    EXPECT_NE(makeUnionOf({{"p", I}, {"q", F}}), r1);
    EXPECT_EQ(Type::makeArrayDims(F, {}), F);
    for (size_t i = 0; i < Type::typeVector.size(); ++i) {
        EXPECT_EQ(Type::typeVector[i]->getOrder(), static_cast<int>(i));
        for (size_t j = 8; j < i; ++j)
            EXPECT_FALSE(Type::same(Type::typeVector[i], Type::typeVector[j])) << i << " and " << j;
    }
    EXPECT_GT(Type::typeVector.size(), before);
}

TEST_F(TypesTest, RemakingARecordTakesTheNewFragmentText) {
    FieldListFragment* first = fieldList({{"m", I}});
    FieldListFragment* second = fieldList({{"m", I}});
    Type* a = Type::makeRecord(first);
    // A fragment whose text differs: the registered type takes the later text.
    FieldList* list = second->fields;
    FieldListFragment third(list);
    Type* b = Type::makeRecord(&third);
    EXPECT_EQ(a, b);
    EXPECT_EQ(b->getTypeset(), "");
}

TEST_F(TypesTest, SameAndEqualFollowTheirTables) {
    Type* named = Type::makeNamed(job, I, "N");
    Type* arrI = Type::makeArray(I, 4);
    Type* arrN = Type::makeArray(named, 4);
    Type* rec = makeRecordOf({{"a", I}});
    Type* recCase = makeRecordOf({{"A", I}});
    Type* uni = makeUnionOf({{"a", I}});
    Type* chIn = Type::makeChannel(I, true);
    struct Case {
        const char* what;
        Type* a;
        Type* b;
        bool same;
        bool equal;
    } cases[] = {
        {"int int", I, I, true, true},
        {"int float", I, F, false, false},
        {"logic bool", Type::logicType, Type::boolType, false, false},
        {"named and its definition", named, I, false, true},
        {"arrays of equal elements", arrI, arrN, false, true},
        {"array sizes", arrI, Type::makeArray(I, 5), false, false},
        {"record and union", rec, uni, false, false},
        {"field name case", rec, recCase, false, false},
        {"unknown with itself", Type::unknownType, Type::unknownType, false, true},
        {"unknown with a channel", Type::unknownType, chIn, false, true},
        {"pointers", Type::makePointer(named), Type::makePointer(I), false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Type::same(c.a, c.b), c.same);
        EXPECT_EQ(Type::equal(c.a, c.b), c.equal);
    }
    EXPECT_FALSE(Type::equal(nullptr, I));
    EXPECT_FALSE(Type::equal(I, nullptr));
    EXPECT_TRUE(Type::same(chIn, Type::makeChannel(I, true)));
}

TEST_F(TypesTest, InternalFailures) {
    Type* ch = Type::makeChannel(F, false);
    auto rec = static_cast<RecordType*>(makeRecordOf({{"a", I}}));
    struct Case {
        const char* what;
        std::function<void()> call;
        std::string details;
    } cases[] = {
        {"equal on channels", [&] { Type::equal(ch, ch); }, "illegal type no in function Type::equal()"},
        {"isdefSize of a channel", [&] { Type::isdefSize(ch); }, "illegal type no in function Type::isdefSize()"},
        {"order past the end", [] { Type::getTypeFromOrder(100000); },
         "illegal type order in function Type::getTypeFromOrder()"},
        {"negative order", [] { Type::getTypeFromOrder(-1); },
         "illegal type order in function Type::getTypeFromOrder()"},
        {"basic type number", [] { Type::newBasicType(8); }, "illegal type no in function Type::newBasicType()"},
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
    Type* rec = makeRecordOf({{"next", Type::makePointer(Type::makeNamed(job, Type::unknownType, "L"))}});
    Type* named = Type::makeNamed(job, rec, "L");
    EXPECT_EQ(named->getTypeset(), "L");
    EXPECT_EQ(named->getCppBase(), "_t_L");
    EXPECT_EQ(Type::makeNamed(job, I, "N"), Type::makeNamed(job, I, "N"));
    // The unknown type is not even the same as itself, so a type built on it is registered anew.
    EXPECT_NE(Type::makeNamed(job, rec, "L"), named);
    EXPECT_TRUE(job.records().empty());
    // A channel has no size to speak of: naming one is an internal failure, not a silent type.
    EXPECT_THROW(Type::makeNamed(job, Type::makeChannel(I, true), "C"), QUVRunTimeException);
}

// A record whose field points to its own type, declared as the walker does:
// the name's stand-in first, the record over it, then the declaration's type.
TEST_F(TypesTest, ASelfReferencingRecordIsReachedThroughItsField) {
    auto declare = [&](const std::string& name) {
        auto node = new TypeNode(job, name, DEF_TYPE, 1, 1, nullptr);
        Type* link = Type::makePointer(node->getType());
        node->setType(job, makeRecordOf({{"link", link}, {"value", I}}));
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
    EXPECT_TRUE(Type::equal(link, Type::makePointer(nodeType)));
    EXPECT_TRUE(Type::equal(nodeType, link->checkDeref(job)));
    EXPECT_FALSE(Type::equal(link, other.second));
    EXPECT_FALSE(Type::equal(nodeType, other.first->getType()));
    EXPECT_FALSE(Type::equal(link, Type::makePointer(I)));
    EXPECT_TRUE(job.records().empty());
    EXPECT_EQ(link->checkArrow(job, "missing"), Type::unknownType);
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
    GeneratorNumbering own;
    JobState separate("s.e", own);
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
    FieldList fields;
    FieldListFragment fragment(&fields);
    FieldListFragment* list = &fragment;
    std::vector<std::unique_ptr<FieldEntry>> entries;
    for (const auto& f : std::vector<std::pair<std::string, Type*>>{{"a", I}, {"b", F}, {"a", F}}) {
        FieldFragment item;
        item.createFieldDecl(f.first, f.second);
        entries.emplace_back(item.entry);
        list->createFieldList(job, &item);
    }
    EXPECT_EQ(list->count, 3);
    EXPECT_EQ(list->fields->size(), 2u);
    ASSERT_EQ(job.records().size(), 1u);
    EXPECT_EQ(job.records()[0].getDetails(),
              "field with the same name has been declared in current record/union!");
    EXPECT_EQ(list->getCode(), "_f_a;\n_f_b;\n_f_a;\n");
}

}  // namespace
