// The QUV/E type system: every type is registered once in its TypeRegistry, so
// types are shared and compared by pointer within it; Type::same is structural
// identity, Type::equal compatibility (named types seen through, the unknown
// type matches all).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "compiler/core/code_fragment.hpp"

class RecordType;
class DiagnosticSink;
class JobState;
class TypeRegistry;

// One field of a record or union: its QUV/E name, its C++ name and its type (not owned).
class FieldEntry : public CodeFragment {
public:
    FieldEntry(const std::string& name, Type* type);
    Type* getType() const { return type; }

private:
    Type* type;
};

typedef std::vector<std::unique_ptr<FieldEntry>> FieldList;

// The fragment of one field declaration, carrying the entry of the declared
// field until a field list takes it.
class FieldFragment : public CodeFragment {
public:
    std::unique_ptr<FieldEntry> entry;
};

// The fields of one record or union being declared; the type made from it
// takes the list.
class FieldListFragment : public CodeFragment {
public:
    FieldListFragment() : fields(std::make_unique<FieldList>()) {}
    std::unique_ptr<FieldList> fields;
    int count = 0;
};

namespace CodeNames {
// Declarations from a type: without ";", and the frame member that points at n.
std::string declaration(const std::string& n, const Type* t);
std::string pointerDeclaration(std::string n, const Type* t);
}  // namespace CodeNames

class Type : public CodeFragment {
public:
    // Type numbers (ORDER: the basic types 0..7 are also their registry orders).
    enum Number {
        UNKNOWN = 0, INTEGER, FLOAT, STRING, LOGIC, BOOLEAN, STREAM, CONTROL,
        POINTER, UNION, RECORD, ARRAY, NAMED, CHANNEL
    };

    ~Type() override = default;

    int getNumber() const { return number; }
    int getOrder() const { return order; }
    std::string getCppBase() const { return cppBase; }
    std::string getDeclPrefix() const { return declPrefix; }
    std::string getDeclSuffix() const { return declSuffix; }

    static bool same(const Type* a, const Type* b);
    static bool equal(const Type* a, const Type* b);
    static bool isdefSize(const Type* t);
    // equal(t, the basic type numbered basic), for a caller without the registry.
    static bool equalsBasic(const Type* t, Number basic);

    // Operator typing rules, called on the (left or only) operand's type; the
    // types they give are the job's.
    Type* checkEq(JobState& job, Type* r);
    Type* checkNe(JobState& job, Type* r);
    Type* checkLt(JobState& job, Type* r);
    Type* checkLe(JobState& job, Type* r);
    Type* checkGt(JobState& job, Type* r);
    Type* checkGe(JobState& job, Type* r);
    Type* checkAnd(JobState& job, Type* r);
    Type* checkOr(JobState& job, Type* r);
    Type* checkAdd(JobState& job, Type* r);
    Type* checkSub(JobState& job, Type* r);
    Type* checkMul(JobState& job, Type* r);
    Type* checkDiv(JobState& job, Type* r);
    Type* checkMod(JobState& job, Type* r);
    Type* checkNeg(JobState& job);
    Type* checkDeref(JobState& job);
    Type* checkNot(JobState& job);
    Type* checkCanSend(JobState& job);
    Type* checkCanRecv(JobState& job);
    Type* checkAddressOf(JobState& job);
    Type* self();
    Type* checkIfThenElse(JobState& job, Type* thenType, Type* elseType);
    Type* checkIndex(JobState& job, Type* index);
    Type* checkArrow(JobState& job, const std::string& field);
    Type* checkField(JobState& job, const std::string& field);
    bool checkAssign(JobState& job, Type* r);
    bool checkReceive(JobState& job, Type* r);
    bool checkSend(JobState& job, Type* r);
    bool checkEquation(JobState& job);
    bool checkDelete(JobState& job);

protected:
    explicit Type(int number_) : number(number_) {}

    int number;
    int order = 0;
    std::string cppBase;
    std::string declPrefix;
    std::string declSuffix;

private:
    static const Type* resolveNames(const Type* t);
    friend class NamedType;
    friend class TypeRegistry;
    Type* checkComparison(JobState& job, const std::string& op, Type* r);
    Type* checkArithmetic(JobState& job, const std::string& op, Type* r, bool allowString);
    bool eqAccepts(const TypeRegistry& types, Type* r);
};

class BasicType : public Type {
public:
    explicit BasicType(int number);
};

class PointerType : public Type {
public:
    explicit PointerType(Type* pointee);
    Type* pointee;
};

class ArrayType : public Type {
public:
    ArrayType(Type* element, int size);
    int size;
    Type* elementType;
};

class RecordType : public Type {
public:
    explicit RecordType(std::unique_ptr<FieldList> fields);
    std::string getFieldName(int i) const;
    Type* getFieldType(int i) const;
    int getFieldCount() const { return fields ? static_cast<int>(fields->size()) : 0; }
    // "struct" or "union" with the member list in braces; the C++ base text is the type's name.
    std::string getStructText() const { return structText; }
    const std::unique_ptr<FieldList> fields;

protected:
    void setStructText(const std::string& keyword);
    // Names a registered record after its place in the registry: no QUV/E name
    // gives "_" followed by a digit.
    void takeRegisteredName();
    std::string structText;
    friend class TypeRegistry;
};

class UnionType : public RecordType {
public:
    explicit UnionType(std::unique_ptr<FieldList> fields);
};

class NamedType : public Type {
public:
    NamedType(DiagnosticSink& job, Type* target, const std::string& name);
    std::string getName() const { return name; }
    // The declaration's own type once its type expression is walked, for the
    // stand-in a name gets when it is declared: a record field that points to
    // the record being declared keeps the stand-in, and reaches the fields
    // through this. Comparisons and the registry do not follow it, so a
    // self-referencing record is no cycle to them.
    void complete(Type* declared);
    std::string name;
    Type* target;
    Type* completion = nullptr;
};

class ChannelType : public Type {
public:
    ChannelType(Type* element, bool isInput);
    Type* elementType;
    bool isInput;
};

// The types of one compile session, each registered once, so that a type made
// again is the one made before and types compare by pointer. It owns them and
// the field lists of its records and unions: they live as long as it does.
// Its order numbers name the records in generated code, so they count on
// across every job that shares it.
class TypeRegistry {
public:
    // The basic types take the orders 0..7, their type numbers.
    TypeRegistry();
    ~TypeRegistry();
    TypeRegistry(const TypeRegistry&) = delete;
    TypeRegistry& operator=(const TypeRegistry&) = delete;

    Type* unknownType() const { return basic[Type::UNKNOWN]; }
    Type* integerType() const { return basic[Type::INTEGER]; }
    Type* floatType() const { return basic[Type::FLOAT]; }
    Type* stringType() const { return basic[Type::STRING]; }
    Type* logicType() const { return basic[Type::LOGIC]; }
    Type* boolType() const { return basic[Type::BOOLEAN]; }
    Type* streamType() const { return basic[Type::STREAM]; }
    Type* nmType() const { return basic[Type::CONTROL]; }

    // How many types are registered; their orders are 0 up to this.
    size_t size() const { return types.size(); }
    Type* getTypeFromOrder(int order) const;
    static std::unique_ptr<Type> newBasicType(int number);

    Type* makePointer(Type* pointee);
    Type* makeArray(Type* element, int size);
    Type* makeArrayDims(Type* element, const std::vector<int>& dims);
    Type* makeChannel(Type* element, bool isInput);
    Type* makeNamed(DiagnosticSink& job, Type* target, const std::string& name);
    // Takes the fragment's field list: the new type keeps it, or it goes
    // when an equal type was made before.
    Type* makeRecord(FieldListFragment& fields);
    Type* makeUnion(FieldListFragment& fields);

private:
    // The registered type that is the same as candidate, or null when
    // candidate is registered now.
    Type* find(Type* candidate);
    Type* makeFrom(std::unique_ptr<Type> candidate);
    Type* makeRecordKind(std::unique_ptr<RecordType> candidate, const FieldListFragment& fields);

    std::vector<std::unique_ptr<Type>> types;
    Type* basic[Type::CONTROL + 1];
    // The registered types that `Type::same` can match, by type number and in
    // the order of registration (see find).
    std::vector<Type*> comparable[Type::CHANNEL + 1];
};
