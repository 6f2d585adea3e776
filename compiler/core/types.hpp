// The QUV/E type system: every type is registered once in Type::typeVector, so
// types are shared and compared by pointer; Type::same is structural identity,
// Type::equal compatibility (named types seen through, the unknown type matches all).
#pragma once
#include <string>
#include <vector>

#include "compiler/core/code_fragment.hpp"

class RecordType;
class DiagnosticSink;

// One field of a record or union: its QUV/E name, its C++ name and its type (not owned).
class FieldEntry : public CodeFragment {
public:
    FieldEntry(const std::string& name, Type* type);
    Type* getType() const { return type; }

private:
    Type* type;
};

typedef std::vector<FieldEntry*> FieldList;

// The fragment of one field declaration, carrying the entry of the declared field.
class FieldFragment : public CodeFragment {
public:
    void createFieldDecl(const std::string& name, Type* t);
    FieldEntry* entry = nullptr;
};

// The fields of one record or union being declared; the type made from it keeps the list.
class FieldListFragment : public CodeFragment {
public:
    explicit FieldListFragment(FieldList* list) : fields(list) {}
    // Adds one field; a field name already in the list is reported and left out of it.
    void createFieldList(DiagnosticSink& job, const FieldFragment* item);
    FieldList* fields;
    int count = 0;
};

namespace CodeNames {
// Declarations from a type: without ";", and the frame member that points at n.
std::string declaration(const std::string& n, const Type* t);
std::string pointerDeclaration(std::string n, const Type* t);

FieldEntry* fieldTempName(const std::string& name, Type* t);
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

    // Never destroyed: types stay valid until deleteAll, even during static destruction.
    static std::vector<Type*>& typeVector;
    static Type* unknownType;
    static Type* integerType;
    static Type* floatType;
    static Type* stringType;
    static Type* logicType;
    static Type* boolType;
    static Type* streamType;
    static Type* nmType;

    static bool same(const Type* a, const Type* b);
    static bool equal(const Type* a, const Type* b);
    static bool isdefSize(const Type* t);
    static Type* getTypeFromOrder(int order);
    static Type* newBasicType(int number);
    static bool initBasicTypes();
    static Type* find(Type* candidate);
    static Type* makePointer(Type* pointee);
    static Type* makeArray(Type* element, int size);
    static Type* makeArrayDims(Type* element, const std::vector<int>& dims);
    static Type* makeChannel(Type* element, bool isInput);
    static Type* makeNamed(DiagnosticSink& job, Type* target, const std::string& name);
    static Type* makeRecord(const FieldListFragment* fields);
    static Type* makeUnion(const FieldListFragment* fields);
    static void deleteAll();

    // Operator typing rules, called on the (left or only) operand's type.
    Type* checkEq(DiagnosticSink& job, Type* r);
    Type* checkNe(DiagnosticSink& job, Type* r);
    Type* checkLt(DiagnosticSink& job, Type* r);
    Type* checkLe(DiagnosticSink& job, Type* r);
    Type* checkGt(DiagnosticSink& job, Type* r);
    Type* checkGe(DiagnosticSink& job, Type* r);
    Type* checkAnd(DiagnosticSink& job, Type* r);
    Type* checkOr(DiagnosticSink& job, Type* r);
    Type* checkAdd(DiagnosticSink& job, Type* r);
    Type* checkSub(DiagnosticSink& job, Type* r);
    Type* checkMul(DiagnosticSink& job, Type* r);
    Type* checkDiv(DiagnosticSink& job, Type* r);
    Type* checkMod(DiagnosticSink& job, Type* r);
    Type* checkNeg(DiagnosticSink& job);
    Type* checkDeref(DiagnosticSink& job);
    Type* checkNot(DiagnosticSink& job);
    Type* checkCanSend(DiagnosticSink& job);
    Type* checkCanRecv(DiagnosticSink& job);
    Type* checkAddressOf();
    Type* self();
    Type* checkIfThenElse(DiagnosticSink& job, Type* thenType, Type* elseType);
    Type* checkIndex(DiagnosticSink& job, Type* index);
    Type* checkArrow(DiagnosticSink& job, const std::string& field);
    Type* checkField(DiagnosticSink& job, const std::string& field);
    bool checkAssign(DiagnosticSink& job, Type* r);
    bool checkReceive(DiagnosticSink& job, Type* r);
    bool checkSend(DiagnosticSink& job, Type* r);
    bool checkEquation(DiagnosticSink& job);
    bool checkDelete(DiagnosticSink& job);

protected:
    explicit Type(int number_) : number(number_) {}

    int number;
    int order = 0;
    std::string cppBase;
    std::string declPrefix;
    std::string declSuffix;

private:
    static Type* makeFrom(Type* candidate);
    static Type* makeRecordKind(RecordType* candidate, const FieldListFragment* fields);
    static const Type* resolveNames(const Type* t);
    friend class NamedType;
    Type* checkComparison(DiagnosticSink& job, const std::string& op, Type* r);
    Type* checkArithmetic(DiagnosticSink& job, const std::string& op, Type* r, bool allowString);
    bool eqAccepts(Type* r);
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
    explicit RecordType(FieldList* fields);
    std::string getFieldName(int i) const;
    Type* getFieldType(int i) const;
    int getFieldCount() const { return fields ? static_cast<int>(fields->size()) : 0; }
    // "struct" or "union" with the member list in braces; the C++ base text is the type's name.
    std::string getStructText() const { return structText; }
    FieldList* fields;  // kept, never freed: the list belongs to the code generator

protected:
    void setStructText(const std::string& keyword);
    // Names a registered record after its place in the registry: no QUV/E name
    // gives "_" followed by a digit.
    void takeRegisteredName();
    std::string structText;
    friend class Type;
};

class UnionType : public RecordType {
public:
    explicit UnionType(FieldList* fields);
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
