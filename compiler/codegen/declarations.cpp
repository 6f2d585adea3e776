// Declarations of one name: local, shared and constant variables, the three
// kinds of formal parameter, and the fields of records and unions.
#include "compiler/core/base.hpp"
#include "compiler/core/types.hpp"
#include "compiler/codegen/codegen.hpp"
#include "compiler/codegen/emit_support.hpp"

namespace {
std::string typesetOf(const std::string& name, const Type* t) {
    return name + " : " + t->getTypeset();
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

void codegen::createVarDecl(JobState& job, CodeFragment& f, std::string name, Type* t) {
    const Type* type = emit::orUnknown(job, t);
    std::string c = CodeNames::varName(name);
    f.typeset = typesetOf(name, type);
    f.code = CodeNames::declaration(c, type) + ";" + base::newline();
    f.innerTypes = CodeNames::pointerDeclaration(c, type);
    f.prototypes = CodeNames::pointerInit(c);
}

void codegen::createSharedVarDecl(JobState& job, CodeFragment& f, std::string name, Type* t) {
    const Type* type = emit::orUnknown(job, t);
    f.typeset = typesetOf(name, type);
    f.code = CodeNames::declaration(CodeNames::varName(name), type) + ";" + base::newline();
    f.innerTypes.clear();
    f.prototypes.clear();
}

void codegen::createConstDecl(JobState& job, CodeFragment& f, std::string name, Type* t, const CodeFragment* value) {
    const Type* type = emit::orUnknown(job, t);
    f.typeset = typesetOf(name, type);
    f.code = "const " + CodeNames::declaration(CodeNames::varName(name), type) + " = " + value->getCode() + ";" +
             base::newline();
    f.innerTypes.clear();
    f.prototypes.clear();
}

void codegen::createInParam(JobState& job, CodeFragment& f, std::string name, Type* t) {
    const Type* type = emit::orUnknown(job, t);
    f.typeset = "%INP/ " + typesetOf(name, type);
    f.code = CodeNames::declaration(CodeNames::paramName(name), type);
    f.innerTypes.clear();
    f.prototypes.clear();
}

void codegen::createRefParam(JobState& job, CodeFragment& f, std::string name, Type* t) {
    const Type* type = emit::orUnknown(job, t);
    f.typeset = "%IOP/ " + typesetOf(name, type);
    f.code = CodeNames::declaration(referenceDeclarator(CodeNames::paramName(name), type), type);
    f.innerTypes.clear();
    f.prototypes.clear();
}

void codegen::createChanParam(JobState& job, CodeFragment& f, std::string name, Type* t) {
    const Type* type = emit::orUnknown(job, t);
    // The typeset text names what the channel carries, not the channel type.
    auto channel = dynamic_cast<const ChannelType*>(type);
    const Type* element = channel ? emit::orUnknown(job, channel->elementType) : type;
    f.typeset = "%CHN/ " + name + "(*,anypros) : " + element->getTypeset();
    f.code = CodeNames::declaration(CodeNames::paramName(name), type);
    f.innerTypes.clear();
    f.prototypes.clear();
}

// ---- fields of records and unions ---------------------------------------

void codegen::createFieldDecl(JobState&, FieldFragment& f, const std::string& name, Type* t) {
    f.innerTypes.clear();
    f.prototypes.clear();
    f.entry = std::make_unique<FieldEntry>(name, t);
    f.typeset = name + " : " + (t ? t->getTypeset() : std::string());
    f.code = CodeNames::fieldName(name);
}

void codegen::createFieldList(JobState& job, FieldListFragment& list, FieldFragment& item) {
    if (list.count == 0)
        list.typeset = base::openBracket() + item.getTypeset();
    else
        list.typeset += ";" + base::newline() + item.getTypeset();
    ++list.count;
    list.code += item.getCode() + ";" + base::newline();
    if (!item.entry)
        return;
    for (const std::unique_ptr<FieldEntry>& e : *list.fields) {
        if (e->getTypeset() == item.entry->getTypeset()) {
            emit::report(job, 16);
            return;
        }
    }
    list.fields->push_back(std::move(item.entry));
}
