#include "program_model.hpp"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <stdexcept>

namespace quvgen {

TypeRef basicType(Kind k)
{
    auto t = std::make_shared<Type>();
    t->kind = k;
    return t;
}

Value shaped(const TypeRef& t, bool zero)
{
    Value v;
    v.kind = t->kind;
    v.known = zero;
    switch (t->kind) {
    case Kind::Record:
    case Kind::Union:
        for (const Field& f : t->fields)
            v.items.push_back(shaped(f.type, zero));
        break;
    case Kind::Array: {
        std::size_t n = 1;
        for (int d : t->dims)
            n *= static_cast<std::size_t>(d);
        v.items.assign(n, shaped(t->element, zero));
        break;
    }
    default: break;
    }
    return v;
}

namespace {
Value knownOf(Kind k)
{
    Value r;
    r.kind = k;
    r.known = true;
    return r;
}
}  // namespace

Value intValue(std::int32_t v)
{
    Value r = knownOf(Kind::Int);
    r.i = v;
    return r;
}

Value floatValue(float v)
{
    Value r = knownOf(Kind::Float);
    r.f = v;
    return r;
}

Value stringValue(const std::string& v)
{
    Value r = knownOf(Kind::String);
    r.s = v;
    return r;
}

Value boolValue(bool v)
{
    Value r = knownOf(Kind::Bool);
    r.b = v;
    return r;
}

Value* Frame::declare(const std::string& name, Value v)
{
    own.push_back(std::move(v));
    names[name] = &own.back();
    return &own.back();
}

namespace {

Value* find(const Frame* f, const std::string& name)
{
    const auto it = f->names.find(name);
    if (it != f->names.end())
        return it->second;
    if (f->up)
        if (Value* v = find(f->up, name))
            return v;
    for (const Frame* father : f->fathers)
        if (Value* v = find(father, name))
            return v;
    return nullptr;
}

std::int32_t wrap(std::int64_t v)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}

float asFloat(const Value& v)
{
    return v.kind == Kind::Float ? v.f : static_cast<float>(v.i);
}

float finite(float f)
{
    // Infinities and NaNs print in forms the C++ library and the compiler's
    // folding of constants may not agree on: such a run is not predicted.
    if (!std::isfinite(f))
        throw Unpredictable{"a Float beyond its range"};
    return f;
}

std::string lower(const std::string& s)
{
    std::string r;
    for (char c : s)
        r += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return r;
}

Expr wrapped(const Expr& e, int least)
{
    return e.prec < least ? bracketed(e) : e;
}

Value arithmetic(const std::string& op, const Value& a, const Value& b)
{
    if (a.kind == Kind::String)
        return stringValue(a.s + b.s);
    if (a.kind == Kind::Float || b.kind == Kind::Float) {
        const float x = asFloat(a), y = asFloat(b);
        if (op == "+")
            return floatValue(finite(x + y));
        if (op == "-")
            return floatValue(finite(x - y));
        if (op == "*")
            return floatValue(finite(x * y));
        if (y == 0)
            throw Unpredictable{"a Float divided by zero"};
        return floatValue(finite(x / y));
    }
    const std::int64_t x = a.i, y = b.i;
    if (op == "+")
        return intValue(wrap(x + y));
    if (op == "-")
        return intValue(wrap(x - y));
    if (op == "*")
        return intValue(wrap(x * y));
    if (y == 0)
        throw Unpredictable{"an Int divided by zero"};
    return intValue(wrap(op == "/" ? x / y : x % y));
}

bool compared(const std::string& op, const Value& a, const Value& b)
{
    int order = 0;
    if (a.kind == Kind::String) {
        order = a.s.compare(b.s);
    } else if (a.kind == Kind::Float || b.kind == Kind::Float) {
        const float x = asFloat(a), y = asFloat(b);
        order = x < y ? -1 : x > y ? 1 : 0;
    } else if (a.kind == Kind::Int) {
        order = a.i < b.i ? -1 : a.i > b.i ? 1 : 0;
    } else {
        order = a.b == b.b ? 0 : a.b ? 1 : -1;
    }
    if (op == "<")
        return order < 0;
    if (op == "=<")
        return order <= 0;
    if (op == ">")
        return order > 0;
    if (op == ">=")
        return order >= 0;
    if (op == "=")
        return order == 0;
    return order != 0;
}

}  // namespace

Value* Machine::lookup(const std::string& name) const
{
    Value* v = frame ? find(frame, name) : nullptr;
    if (!v)
        throw std::logic_error("quvgen: the model has no variable " + name);
    return v;
}

void Machine::step()
{
    if (++steps_ > 5000000)
        throw std::logic_error("quvgen: the model of the program does not end");
}

void run(Machine& m, const Actions& actions)
{
    for (const Action& a : actions)
        a(m);
}

const Value& known(const Value& v)
{
    if (!v.known)
        throw Unpredictable{"a value read before it was set"};
    return v;
}

std::string shown(const Value& v)
{
    known(v);
    switch (v.kind) {
    case Kind::Int: return std::to_string(v.i);
    case Kind::Float: {
        std::ostringstream out;
        out << finite(v.f);
        return out.str();
    }
    case Kind::String: return v.s;
    case Kind::Bool:
    case Kind::Logic: return v.b ? "1" : "0";
    default: break;
    }
    throw std::logic_error("quvgen: a value without a text");
}

void store(Value& to, const Value& from)
{
    if (to.kind == Kind::Int && from.kind == Kind::Float) {
        to.known = from.known;
        if (from.known) {
            if (!(from.f > -2147483648.0f && from.f < 2147483648.0f))
                throw Unpredictable{"a Float beyond the Int range stored in an Int"};
            to.i = static_cast<std::int32_t>(from.f);
        }
        return;
    }
    if (to.kind == Kind::Float && from.kind == Kind::Int) {
        to.known = from.known;
        to.f = static_cast<float>(from.i);
        return;
    }
    const Kind kind = to.kind;
    to = from;
    to.kind = kind;
}

Expr constant(Kind kind, const std::string& text, const Value& v)
{
    return {text, kPrimary, kind, [v](Machine&) { return v; }};
}

Expr bracketed(const Expr& e)
{
    Expr r = e;
    r.text = "(" + e.text + ")";
    r.prec = kPrimary;
    return r;
}

Expr binary(const Expr& a, const std::string& op, const Expr& b)
{
    const std::string o = lower(op);
    int prec = kAdditive;
    Kind kind = a.kind == Kind::Float || b.kind == Kind::Float ? Kind::Float : a.kind;
    if (o == "*" || o == "/" || o == "mod")
        prec = kMultiplicative;
    else if (o == "$c")
        prec = kAnd, kind = Kind::Bool;
    else if (o == "$v")
        prec = kOr, kind = Kind::Bool;
    else if (o != "+" && o != "-")
        prec = kRelation, kind = Kind::Bool;
    // Left-associative: the right operand binds tighter; comparisons do not chain.
    const Expr l = wrapped(a, prec == kRelation ? prec + 1 : prec), r = wrapped(b, prec + 1);
    Expr e;
    e.text = l.text + " " + op + " " + r.text;
    e.prec = prec;
    e.kind = kind;
    const auto x = l.eval, y = r.eval;
    if (prec == kAnd || prec == kOr) {
        const bool isAnd = prec == kAnd;
        e.eval = [x, y, isAnd](Machine& m) {
            const Value first = x(m);
            // C++ evaluates the second operand only when the first does not decide.
            if (first.known && first.b != isAnd)
                return boolValue(first.b);
            const Value second = y(m);
            if (!first.known || !second.known) {
                Value v = boolValue(false);
                v.known = false;
                return v;
            }
            return boolValue(second.b);
        };
    } else if (prec == kRelation) {
        e.eval = [x, y, o](Machine& m) {
            const Value p = x(m), q = y(m);
            Value v = boolValue(p.known && q.known && compared(o, p, q));
            v.known = p.known && q.known;
            return v;
        };
    } else {
        const std::string which = o == "mod" ? "%" : o;
        e.eval = [x, y, which, kind](Machine& m) {
            const Value p = x(m), q = y(m);
            if (!p.known || !q.known) {
                Value v;
                v.kind = kind;
                return v;
            }
            return arithmetic(which, p, q);
        };
    }
    return e;
}

Expr negated(const Expr& e)
{
    const auto x = e.eval;
    return {"-(" + e.text + ")", kUnary, e.kind, [x](Machine& m) {
                Value v = x(m);
                if (v.kind == Kind::Float)
                    v.f = -v.f;
                else
                    v.i = wrap(-static_cast<std::int64_t>(v.i));
                return v;
            }};
}

Expr notted(const Expr& e)
{
    const auto x = e.eval;
    return {"~(" + e.text + ")", kUnary, Kind::Bool, [x](Machine& m) {
                Value v = x(m);
                v.b = !v.b;
                return v;
            }};
}

Expr choice(const std::string& ifWord, const Expr& c, const std::string& thenWord, const Expr& a,
            const std::string& elseWord, const Expr& b)
{
    const Expr otherwise = wrapped(b, kPrimary);
    const Kind kind = a.kind == b.kind ? a.kind : Kind::Float;
    const auto test = c.eval, yes = a.eval, no = otherwise.eval;
    return {ifWord + " " + c.text + " " + thenWord + " " + a.text + " " + elseWord + " " + otherwise.text, kUnary, kind,
            [test, yes, no, kind](Machine& m) {
                const Value t = known(test(m));
                Value v = shaped(basicType(kind), false);
                store(v, t.b ? yes(m) : no(m));
                return v;
            }};
}

Place variable(const std::string& name, const TypeRef& type)
{
    return {name, type, [name](Machine& m) { return m.lookup(name); }};
}

Place fieldOf(const Place& p, std::size_t field)
{
    const auto base = p.at;
    return {p.text + "." + p.type->fields[field].name, p.type->fields[field].type,
            [base, field](Machine& m) { return &base(m)->items.at(field); }};
}

Place elementOf(const Place& p, const std::vector<int>& index)
{
    std::string text = p.text;
    std::size_t flat = 0;
    for (std::size_t d = 0; d < index.size(); ++d) {
        text += "[" + std::to_string(index[d]) + "]";
        flat = flat * static_cast<std::size_t>(p.type->dims[d]) + static_cast<std::size_t>(index[d]);
    }
    const auto base = p.at;
    return {text, p.type->element, [base, flat](Machine& m) { return &base(m)->items.at(flat); }};
}

Place throughPointer(const Place& pointer, std::size_t field, bool arrow)
{
    const TypeRef& record = pointer.type->element;
    const std::string& name = record->fields[field].name;
    const auto base = pointer.at;
    return {arrow ? pointer.text + "->" + name : "(*" + pointer.text + ")." + name, record->fields[field].type,
            [base, field](Machine& m) {
                Value* p = base(m);
                if (!p->known || !p->target)
                    throw Unpredictable{"a pointer followed before it was set"};
                return &p->target->items.at(field);
            }};
}

Expr read(const Place& p)
{
    const auto at = p.at;
    return {p.text, kPrimary, p.type->kind, [at](Machine& m) { return *at(m); }};
}

float floatLiteral(const std::string& text)
{
    return std::strtof(text.c_str(), nullptr);
}

}  // namespace quvgen
