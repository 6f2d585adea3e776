// The actions of the walker's type, package and agent rules: constructed
// types, type declarations, and the fathers of packages and agents.
#include <algorithm>
#include <set>

#include "compiler/core/quv_ast.hpp"
#include "compiler/treewalk/treewalk.hpp"

namespace {

Type* orUnknown(const TypeRegistry& types, Type* t)
{
    return t ? t : types.unknownType();
}

// Whether `unit` is among the fathers of `father`, at any depth (or is it).
bool leadsTo(const BlockNode* father, const Node* unit)
{
    std::set<const BlockNode*> seen;
    std::vector<const BlockNode*> pending{father};
    while (!pending.empty()) {
        const BlockNode* next = pending.back();
        pending.pop_back();
        if (next == unit)
            return true;
        if (!seen.insert(next).second)
            continue;
        if (const PackNode* package = dynamic_cast<const PackNode*>(next))
            pending.insert(pending.end(), package->getFathers().begin(), package->getFathers().end());
    }
    return false;
}

// Whether a value of the type holds a String, a Stream or a control variable,
// which C++ keeps as objects with a constructor: a C++ union cannot hold one.
bool holdsObject(const Type* t, std::set<const Type*>& seen)
{
    if (!t || !seen.insert(t).second)
        return false;
    switch (t->getNumber()) {
    case Type::STRING:
    case Type::STREAM:
    case Type::CONTROL:
        return true;
    case Type::NAMED:
        return holdsObject(static_cast<const NamedType*>(t)->target, seen);
    case Type::ARRAY:
        return holdsObject(static_cast<const ArrayType*>(t)->elementType, seen);
    case Type::RECORD:
    case Type::UNION: {
        const RecordType* record = static_cast<const RecordType*>(t);
        for (int i = 0; i < record->getFieldCount(); ++i)
            if (holdsObject(record->getFieldType(i), seen))
                return true;
        return false;
    }
    default:
        return false;
    }
}

}  // namespace

Type* QUVTreeWalk::pointerTo(Type* target)
{
    return job->types().makePointer(orUnknown(job->types(), target));
}

Type* QUVTreeWalk::arrayOf(Type* element, const std::vector<int>& sizes)
{
    return job->types().makeArrayDims(orUnknown(job->types(), element), sizes);
}

// The type takes the list it is made from; when an equal type was made
// before, that one is used and the new list goes.
Type* QUVTreeWalk::recordOf(FieldListFragment* fields, bool isUnion)
{
    if (!fields)
        return nullptr;
    Type* t = isUnion ? job->types().makeUnion(*fields) : job->types().makeRecord(*fields);
    const RecordType* record = dynamic_cast<const RecordType*>(t);
    if (record)
        job->noteRecord(record);
    for (int i = 0; isUnion && record && i < record->getFieldCount(); ++i) {
        std::set<const Type*> seen;
        if (!holdsObject(record->getFieldType(i), seen))
            continue;
        QUVException diagnostic(*job);
        diagnostic.makeUnsupported("Union field " + record->getFieldName(i) + " has type " +
                                   record->getFieldType(i)->getTypeset() +
                                   ": a union cannot hold a String, a Stream or a control variable, nor a value "
                                   "that holds one; use a record");
    }
    return t;
}

// The list takes the field's entry unless the name is there already; a field
// that failed brings no entry and adds nothing.
void QUVTreeWalk::addField(FieldListFragment* fields, FieldFragment& item)
{
    if (!item.entry)
        return;
    if (fields)
        codegen::createFieldList(*job, *fields, item);
    item.entry.reset();
}

void QUVTreeWalk::declareType(CodeFragment* f, const std::string& name, Type* t, Node* node)
{
    TypeNode* definition = dynamic_cast<TypeNode*>(node);
    if (!definition)
        return;
    codegen::createTypeDecl(*job, *f, name, orUnknown(job->types(), t), definition);
}

// A unit is never its own father, directly or through its fathers: such a
// father is reported and left out of the base classes and of the fathers
// searched for names. A name of another kind than a package or an agent has
// been reported by the resolution and is left out too.
void QUVTreeWalk::addFather(DerivationFragment* bases, const std::string& name, Node* father, Node* unit)
{
    if (!father) {
        codegen::createDerivation(*job, *bases, name, nullptr);
        return;
    }
    PackNode* package = dynamic_cast<PackNode*>(father);
    if (!package)
        return;
    if (unit && leadsTo(package, unit)) {
        reportSemantic("package " + name + " can't be a father of itself");
        return;
    }
    codegen::createDerivation(*job, *bases, name, package);
}

void QUVTreeWalk::setFathers(Node* unit, const DerivationFragment& bases)
{
    if (PackNode* package = dynamic_cast<PackNode*>(unit))
        package->setFathers(bases.fathers);
}

// A name that could not be read opened no block.
void QUVTreeWalk::leaveUnit(Node* unit, int kind)
{
    if (unit)
        symbols->exitBlock(kind);
}
