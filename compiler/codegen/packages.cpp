// Package and agent classes, and type declarations.
#include <set>

#include "compiler/core/base.hpp"
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/symbols.hpp"
#include "compiler/core/types.hpp"
#include "compiler/codegen/codegen.hpp"
#include "compiler/codegen/emit_support.hpp"

namespace {
const int SELF_REFERENCE_NOT_RECORD = 2;  // QUVException::makeSemantic

// Whether father is the package named name or reaches it through its fathers.
bool leadsBackTo(const BlockNode* father, const std::string& name, std::set<const BlockNode*>& seen) {
    if (!father || !seen.insert(father).second)
        return false;
    if (father->getName() == name)
        return true;
    auto pack = dynamic_cast<const PackNode*>(father);
    if (!pack)
        return false;
    for (const BlockNode* grand : pack->getFathers())
        if (leadsBackTo(grand, name, seen))
            return true;
    return false;
}

// The base list of the class of package name. A class cannot derive from
// itself, so a father that is the package or leads back to it is left out.
std::string baseList(const std::string& name, const CodeFragment* bases) {
    auto derivation = dynamic_cast<const DerivationFragment*>(bases);
    if (!derivation)
        return bases ? bases->getCode() : std::string();
    std::string list;
    for (size_t i = 0; i < derivation->baseNames.size(); ++i) {
        const std::string& father = derivation->baseNames[i];
        bool cyclic = father == name;
        for (const BlockNode* node : derivation->fathers) {
            std::set<const BlockNode*> seen;
            if (node->getName() == father && leadsBackTo(node, name, seen))
                cyclic = true;
        }
        if (cyclic)
            continue;
        list += (list.empty() ? ": public " : ",") + CodeNames::className(father);
    }
    return list;
}

std::string codeOf(const CodeFragment* f) {
    return f ? f->getCode() : std::string();
}
std::string innerOf(const CodeFragment* f) {
    return f ? f->getInnerTypes() : std::string();
}
std::string protoOf(const CodeFragment* f) {
    return f ? f->getPrototypes() : std::string();
}
}  // namespace

void codegen::createPackClass(JobState&, CodeFragment& f, std::string name, const CodeFragment* bases, const CodeFragment* members,
                              const CodeFragment* procs) {
    const std::string NL = base::newline();
    f.innerTypes = innerOf(procs);
    f.prototypes = "class " + CodeNames::className(name) + baseList(name, bases) + base::openBrace() + "public:" + NL +
                   codeOf(members) + protoOf(procs) + base::closeBrace() + ";" + NL;
    f.code = codeOf(procs);
}

void codegen::createAgentClass(JobState&, CodeFragment& f, std::string name, const CodeFragment* bases,
                               const CodeFragment* members, const CodeFragment* procs, const CodeFragment* prosHead,
                               const CodeFragment* prosBody) {
    const std::string NL = base::newline();
    f.innerTypes = innerOf(procs) + innerOf(prosHead) + innerOf(prosBody);
    f.prototypes = "class " + CodeNames::agentClassName(name) + baseList(name, bases) + base::openBrace() +
                   "public:" + NL + codeOf(members) + protoOf(procs) + protoOf(prosHead) + protoOf(prosBody) +
                   base::closeBrace() + ";" + NL;
    f.code = codeOf(procs) + codeOf(prosBody) + codeOf(prosHead);
}

void codegen::createTypeDecl(JobState& job, CodeFragment& f, std::string name, Type* t, TypeNode* node) {
    const std::string NL = base::newline();
    const Type* type = emit::orUnknown(job, t);
    f.innerTypes.clear();
    f.prototypes.clear();
    f.typeset = name + " = " + type->getTypeset();
    if (node)
        node->setType(job, t ? t : job.types().unknownType());
    const std::string tn = CodeNames::typeName(name);

    auto record = dynamic_cast<const RecordType*>(type);
    if (node && node->isReferenced() && record) {
        // The type names itself: the tag is declared first, so that the
        // definitions of the records it holds and its own body can name it.
        std::string body = record->getStructText();
        size_t keywordEnd = body.find(' ');
        std::string keyword = body.substr(0, keywordEnd);
        f.code = keyword + " " + tn + ";" + NL + "typedef " + keyword + " " + tn + " " + tn + ";" + NL +
                 emit::recordDefinitions(job) + keyword + " " + tn + body.substr(keywordEnd + 1) + ";" + NL +
                 emit::recordEquality(tn, record);
        return;
    }
    if (node && node->isReferenced())
        QUVException(job).makeSemantic(SELF_REFERENCE_NOT_RECORD);
    f.code = "typedef " + CodeNames::declaration(tn, type) + ";" + NL;
}
