#include "compiler/core/types.hpp"

#include <algorithm>

#include "compiler/core/base.hpp"
#include "compiler/core/diagnostics.hpp"

// ---- registry ----------------------------------------------------------------

std::unique_ptr<Type> TypeRegistry::newBasicType(int n) {
    if (n < 0 || n > 7)
        throwInternalFailure("illegal type no", "Type::newBasicType()");
    return std::make_unique<BasicType>(n);
}

TypeRegistry::TypeRegistry() {
    for (int n = 0; n <= Type::CONTROL; ++n) {
        types.push_back(newBasicType(n));
        basic[n] = types.back().get();
    }
}

TypeRegistry::~TypeRegistry() = default;

Type* TypeRegistry::getTypeFromOrder(int order) const {
    size_t index = static_cast<unsigned>(order);
    if (types.empty() || index >= types.size())
        throwInternalFailure("illegal type order", "Type::getTypeFromOrder()");
    Type* t = types[index].get();
    if (static_cast<size_t>(t->order) != index)
        throwInternalFailure("type vector's order mismatch", "Type::getTypeFromOrder()");
    return t;
}

namespace {
// same() never holds between two type numbers, nor for a type whose structure
// reaches UNKNOWN or nothing (a type built on an undeclared name), so find()
// looks only where a match can be: a program with many such types, or with
// many types at all, is registered in linear time.
bool reachesUnknown(const Type* t);

bool fieldsReachUnknown(const RecordType* r) {
    for (int i = 0; i < r->getFieldCount(); ++i)
        if (reachesUnknown(r->getFieldType(i)))
            return true;
    return false;
}

// Walks a type the way same() does.
bool reachesUnknown(const Type* t) {
    for (;;) {
        if (!t || t->getNumber() == Type::UNKNOWN)
            return true;
        switch (t->getNumber()) {
        case Type::POINTER: t = static_cast<const PointerType*>(t)->pointee; break;
        case Type::CHANNEL: t = static_cast<const ChannelType*>(t)->elementType; break;
        case Type::ARRAY: t = static_cast<const ArrayType*>(t)->elementType; break;
        case Type::NAMED: t = static_cast<const NamedType*>(t)->target; break;
        case Type::RECORD: case Type::UNION: return fieldsReachUnknown(static_cast<const RecordType*>(t));
        default: return false;
        }
    }
}
}  // namespace

Type* TypeRegistry::find(Type* candidate) {
    if (candidate->number >= 0 && candidate->number <= 7)
        return getTypeFromOrder(candidate->number);
    const bool comparable_ = candidate->number <= Type::CHANNEL && !reachesUnknown(candidate);
    if (comparable_)
        for (Type* t : comparable[candidate->number])
            if (Type::same(candidate, t))
                return t;
    candidate->order = static_cast<int>(types.size());
    if (comparable_)
        comparable[candidate->number].push_back(candidate);
    return nullptr;
}

Type* TypeRegistry::makeFrom(std::unique_ptr<Type> candidate) {
    if (Type* registered = find(candidate.get()))
        return registered;
    types.push_back(std::move(candidate));
    return types.back().get();
}

Type* TypeRegistry::makePointer(Type* pointee) {
    return makeFrom(std::make_unique<PointerType>(pointee));
}

Type* TypeRegistry::makeArray(Type* element, int size) {
    return makeFrom(std::make_unique<ArrayType>(element, size));
}

Type* TypeRegistry::makeArrayDims(Type* element, const std::vector<int>& dims) {
    Type* t = element;
    for (int size : dims)
        t = makeArray(t, size);
    return t;
}

Type* TypeRegistry::makeChannel(Type* element, bool isInput) {
    return makeFrom(std::make_unique<ChannelType>(element, isInput));
}

Type* TypeRegistry::makeNamed(DiagnosticSink& job, Type* target, const std::string& name) {
    return makeFrom(std::make_unique<NamedType>(job, target, name));
}

Type* TypeRegistry::makeRecordKind(std::unique_ptr<RecordType> candidate, const FieldListFragment& fields) {
    auto t = static_cast<RecordType*>(makeFrom(std::move(candidate)));
    t->typeset = fields.getTypeset();
    t->takeRegisteredName();
    return t;
}

Type* TypeRegistry::makeRecord(FieldListFragment& fields) {
    return makeRecordKind(std::make_unique<RecordType>(std::move(fields.fields)), fields);
}

Type* TypeRegistry::makeUnion(FieldListFragment& fields) {
    return makeRecordKind(std::make_unique<UnionType>(std::move(fields.fields)), fields);
}

// ---- comparisons ---------------------------------------------------------------

namespace {
// Records and unions match field by field, in order: equal names, and field types
// that match under the given comparison.
bool fieldsMatch(const Type* a, const Type* b, bool (*compare)(const Type*, const Type*)) {
    auto ra = static_cast<const RecordType*>(a);
    auto rb = static_cast<const RecordType*>(b);
    if (ra->getFieldCount() != rb->getFieldCount())
        return false;
    for (int i = 0; i < ra->getFieldCount(); ++i)
        if (ra->getFieldName(i) != rb->getFieldName(i) || !compare(ra->getFieldType(i), rb->getFieldType(i)))
            return false;
    return true;
}
}  // namespace

bool Type::same(const Type* a, const Type* b) {
    for (;;) {
        if (!a || !b || a->number == UNKNOWN || b->number == UNKNOWN || a->number != b->number)
            return false;
        switch (a->number) {
        case INTEGER: case FLOAT: case STRING: case LOGIC: case BOOLEAN: case STREAM: case CONTROL:
            return true;
        case POINTER:
            a = static_cast<const PointerType*>(a)->pointee;
            b = static_cast<const PointerType*>(b)->pointee;
            break;
        case CHANNEL: {
            auto ca = static_cast<const ChannelType*>(a);
            auto cb = static_cast<const ChannelType*>(b);
            if (ca->isInput != cb->isInput)
                return false;
            a = ca->elementType;
            b = cb->elementType;
            break;
        }
        case RECORD: case UNION:
            return fieldsMatch(a, b, same);
        case ARRAY: {
            auto aa = static_cast<const ArrayType*>(a);
            auto ab = static_cast<const ArrayType*>(b);
            if (aa->size != ab->size)
                return false;
            a = aa->elementType;
            b = ab->elementType;
            break;
        }
        case NAMED: {
            auto na = static_cast<const NamedType*>(a);
            auto nb = static_cast<const NamedType*>(b);
            if (na->name != nb->name)
                return false;
            a = na->target;
            b = nb->target;
            break;
        }
        default:
            throwInternalFailure("illegal type no", "Type::same()");
        }
    }
}

const Type* Type::resolveNames(const Type* t) {
    while (t && t->number == NAMED) {
        auto named = static_cast<const NamedType*>(t);
        const bool standIn = named->completion && named->target && named->target->number == UNKNOWN;
        t = standIn ? named->completion : named->target;
    }
    return t;
}

bool Type::equal(const Type* a, const Type* b) {
    for (;;) {
        a = resolveNames(a);
        b = resolveNames(b);
        if (!a || !b)
            return false;
        if (a->number == UNKNOWN || b->number == UNKNOWN)
            return true;
        if (a->number != b->number)
            return false;
        switch (a->number) {
        case INTEGER: case FLOAT: case STRING: case LOGIC: case BOOLEAN: case STREAM: case CONTROL:
            return true;
        case POINTER:
            a = static_cast<const PointerType*>(a)->pointee;
            b = static_cast<const PointerType*>(b)->pointee;
            break;
        case RECORD: case UNION: {
            // A record reached again through its own fields (a completed
            // stand-in): two such records are one type only when they are the
            // same record, as their C++ structs are.
            thread_local std::vector<std::pair<const Type*, const Type*>> open;
            const std::pair<const Type*, const Type*> pair(a, b);
            if (std::find(open.begin(), open.end(), pair) != open.end())
                return a == b;
            open.push_back(pair);
            const bool match = fieldsMatch(a, b, equal);
            open.pop_back();
            return match;
        }
        case ARRAY: {
            auto aa = static_cast<const ArrayType*>(a);
            auto ab = static_cast<const ArrayType*>(b);
            if (aa->size != ab->size)
                return false;
            a = aa->elementType;
            b = ab->elementType;
            break;
        }
        default:
            throwInternalFailure("illegal type no", "Type::equal()");
        }
    }
}

bool Type::equalsBasic(const Type* t, Number basic) {
    t = resolveNames(t);
    return t && (t->number == UNKNOWN || basic == UNKNOWN || t->number == basic);
}

bool Type::isdefSize(const Type* t) {
    for (;;) {
        if (t->number >= UNKNOWN && t->number <= POINTER)
            return true;
        switch (t->number) {
        case ARRAY:
            t = static_cast<const ArrayType*>(t)->elementType;
            break;
        case RECORD: case UNION: {
            auto r = static_cast<const RecordType*>(t);
            for (int i = 0; i < r->getFieldCount(); ++i)
                if (!isdefSize(r->getFieldType(i)))
                    return false;
            return true;
        }
        case NAMED:
            t = static_cast<const NamedType*>(t)->target;
            break;
        default:
            throwInternalFailure("illegal type no", "Type::isdefSize()");
        }
    }
}

// ---- the kinds ----------------------------------------------------------------------

BasicType::BasicType(int n) : Type(n) {
    static const char* const cpp[] = {"UNKNOWN", "int", "float", "std::string", "bool", "bool", "STREAM", "CONTROL"};
    static const char* const quv[] = {"", "Integer", "Float", "String", "Logic", "BOOL", "STREAM", "NM"};
    if (n < 0 || n > 7)
        throwInternalFailure("illegal typeno", "BasicType::BasicType()");
    order = n;
    cppBase = cpp[n];
    typeset = quv[n];
}

PointerType::PointerType(Type* p) : Type(POINTER), pointee(p) {
    typeset = "Pointer(" + p->getTypeset() + ")";
    cppBase = p->getCppBase();
    declPrefix = p->getDeclPrefix() + "(*";
    declSuffix = ")" + p->getDeclSuffix();
}

ArrayType::ArrayType(Type* element, int size_) : Type(ARRAY), size(size_), elementType(element) {
    cppBase = element->getCppBase();
    declPrefix = element->getDeclPrefix() + "(";
    declSuffix = element->getDeclSuffix() + "[" + std::to_string(size) + "])";
}

RecordType::RecordType(std::unique_ptr<FieldList> list) : Type(RECORD), fields(std::move(list)) {
    std::string names;
    for (int i = 0; i < getFieldCount(); ++i)
        names += (i ? ";" : "") + getFieldName(i);
    typeset = "Record(" + names + ")";
    setStructText("struct ");
}

void RecordType::setStructText(const std::string& keyword) {
    std::string text = keyword + base::openBrace();
    for (int i = 0; i < getFieldCount(); ++i) {
        text += CodeNames::declaration((*fields)[i]->getCode(), getFieldType(i)) + base::semicolon();
        if (i + 1 < getFieldCount())
            text += base::newline();
    }
    structText = text + base::closeBrace();
    cppBase = structText;
}

void RecordType::takeRegisteredName() {
    cppBase = "_" + std::to_string(order) + (number == UNION ? "_union" : "_struct");
}

std::string RecordType::getFieldName(int i) const {
    if (i < 0 || i >= getFieldCount())
        throwInternalFailure("illegal index", "RecordType::getFieldName()");
    return (*fields)[i]->getTypeset();
}

Type* RecordType::getFieldType(int i) const {
    if (i < 0 || i >= getFieldCount())
        throwInternalFailure("illegal index", "RecordType::getFieldName()");
    return (*fields)[i]->getType();
}

UnionType::UnionType(std::unique_ptr<FieldList> list) : RecordType(std::move(list)) {
    number = UNION;
    setStructText("union ");
}

NamedType::NamedType(DiagnosticSink& job, Type* t, const std::string& n) : Type(NAMED), name(n), target(t) {
    cppBase = CodeNames::typeName(n);
    if (isdefSize(t)) {
        typeset = n;
    } else {
        QUVException e(job);
        e.makeSemantic(1);
    }
}

void NamedType::complete(Type* declared) {
    // A declaration naming itself (Node = Node) completes nothing: following
    // it would never end.
    for (const Type* t = declared; t && t->number == NAMED;) {
        if (t == this)
            return;
        auto named = static_cast<const NamedType*>(t);
        t = named->completion && named->target && named->target->number == UNKNOWN ? named->completion : named->target;
    }
    completion = declared;
}

ChannelType::ChannelType(Type* element, bool input) : Type(CHANNEL), elementType(element), isInput(input) {
    cppBase = "Channel<" + element->getCppBase() + " " + element->getDeclPrefix() + " " + element->getDeclSuffix() +
              ">";
    declPrefix = "*";
}

// ---- field records ---------------------------------------------------------

FieldEntry::FieldEntry(const std::string& name, Type* t) : type(t) {
    typeset = name;
    code = CodeNames::fieldName(name);
}

namespace CodeNames {

std::string pointerDeclaration(std::string n, const Type* t) {
    return t->getCppBase() + " " + t->getDeclPrefix() + "(* _p_" + n + ")" + t->getDeclSuffix() + ";" +
           base::newline();
}

std::string declaration(const std::string& n, const Type* t) {
    return t->getCppBase() + " " + t->getDeclPrefix() + n + t->getDeclSuffix();
}

}  // namespace CodeNames
