// Code fragments: the four texts built side by side for every translated
// construct (typeset QUV/E, C++ code, inner type declarations, prototypes),
// and the naming functions that turn QUV/E names into C++ names.
#pragma once
#include <string>
#include <vector>

class Type;

class CodeFragment {
public:
    CodeFragment() = default;
    virtual ~CodeFragment() = default;

    std::string getTypeset() const { return typeset; }
    std::string getCode() const { return code; }
    std::string getInnerTypes() const { return innerTypes; }
    std::string getPrototypes() const { return prototypes; }

protected:
    std::string typeset;     // [0] the construct printed again as QUV/E source
    std::string code;        // [1] its C++ code
    std::string innerTypes;  // [2] inner type declarations
    std::string prototypes;  // [3] prototypes and type definitions that precede the code
};

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
    void createFieldList(const FieldFragment* item);
    FieldList* fields;
    int count = 0;
};

// The code generator's record of an expression or parameter: its name, definition type and type.
class Expression : public CodeFragment {
public:
    Expression(const std::string& name, Type* type, int attribute);
    int getAttribute() const { return attribute; }
    Type* getType() const { return type; }

private:
    int attribute;
    Type* type;
};

namespace CodeNames {
std::string fieldName(const std::string& n);
std::string typeName(const std::string& n);
std::string procName(const std::string& n);
std::string prosName(const std::string& n);
std::string declaration(const std::string& n, const Type* t);
FieldEntry* fieldTempName(const std::string& name, Type* t);
// Kind names (GBK): reference kinds 0..8, definition kinds 0..15; empty outside.
std::string refKindName(int k);
std::string defKindName(int k);
}
