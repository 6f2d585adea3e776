// Declarations of one name: local, shared and constant variables, and the
// three kinds of formal parameter.
#include "compiler/core/base.hpp"
#include "compiler/core/types.hpp"
#include "compiler/codegen/codegen.hpp"
#include "compiler/codegen/emit_support.hpp"

namespace {
std::string typesetOf(const std::string& name, const Type* t) {
    return name + " : " + emit::orUnknown(t)->getTypeset();
}

// The declarator of a reference parameter: an array type's bound follows the
// name directly, so the reference is put in parentheses to refer to the whole
// array instead of declaring an array of references.
std::string referenceDeclarator(const std::string& cppName, const Type* t) {
    std::string suffix = t->getDeclSuffix();
    if (!suffix.empty() && suffix[0] == '[')
        return "( &" + cppName + ")";
    return " &" + cppName;
}
}  // namespace

void CodeFragment::createVarDecl(std::string name, Type* t) {
    const Type* type = emit::orUnknown(t);
    std::string c = CodeNames::varName(name);
    typeset = typesetOf(name, type);
    code = CodeNames::declaration(c, type) + ";" + base::newline();
    innerTypes = CodeNames::pointerDeclaration(c, type);
    prototypes = CodeNames::pointerInit(c);
}

void CodeFragment::createSharedVarDecl(std::string name, Type* t) {
    const Type* type = emit::orUnknown(t);
    typeset = typesetOf(name, type);
    code = CodeNames::declaration(CodeNames::varName(name), type) + ";" + base::newline();
    innerTypes.clear();
    prototypes.clear();
}

void CodeFragment::createConstDecl(std::string name, Type* t, const CodeFragment* value) {
    const Type* type = emit::orUnknown(t);
    typeset = typesetOf(name, type);
    code = "const " + CodeNames::declaration(CodeNames::varName(name), type) + " = " + value->getCode() + ";" +
           base::newline();
    innerTypes.clear();
    prototypes.clear();
}

void CodeFragment::createInParam(std::string name, Type* t) {
    const Type* type = emit::orUnknown(t);
    typeset = "%INP/ " + typesetOf(name, type);
    code = CodeNames::declaration(CodeNames::paramName(name), type);
    innerTypes.clear();
    prototypes.clear();
}

void CodeFragment::createRefParam(std::string name, Type* t) {
    const Type* type = emit::orUnknown(t);
    typeset = "%IOP/ " + typesetOf(name, type);
    code = CodeNames::declaration(referenceDeclarator(CodeNames::paramName(name), type), type);
    innerTypes.clear();
    prototypes.clear();
}

void CodeFragment::createChanParam(std::string name, Type* t) {
    const Type* type = emit::orUnknown(t);
    // The typeset text names what the channel carries, not the channel type.
    auto channel = dynamic_cast<const ChannelType*>(type);
    const Type* element = channel ? emit::orUnknown(channel->elementType) : type;
    typeset = "%CHN/ " + name + "(*,anypros) : " + element->getTypeset();
    code = CodeNames::declaration(CodeNames::paramName(name), type);
    innerTypes.clear();
    prototypes.clear();
}
