// Random valid programs for the differential check: each seed gives one
// program, the same on every machine, that the compiler must accept without a
// diagnostic. Every construct is written only where the walker takes it: the
// expressions are typed, the loops and waits count a variable of their own to
// a bound, each channel joins two processes of one parallel statement, and a
// producer sends exactly as many values as its consumer receives, so a
// program that builds also ends.
//
// Each declaration and each statement stands on a line of its own, so a
// reducer that deletes lines keeps a program that still parses more often.
#include "random_program.hpp"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace quvgen {
namespace {

// splitmix64: the same numbers for a seed everywhere, unlike the standard
// library's distributions.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ULL + 0x1234567ULL) {}
    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 1 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T>
    const T& pick(const std::vector<T>& v) { return v[static_cast<std::size_t>(below(static_cast<int>(v.size())))]; }

private:
    std::uint64_t state_;
};

enum class Kind { Int, Float, String, Bool, Logic, Record, Array, Union, Pointer };

struct Type;
using TypeRef = std::shared_ptr<Type>;

struct Field {
    std::string name;
    TypeRef type;
};

struct Type {
    Kind kind = Kind::Int;
    std::string name;           // the %Type name, empty for a basic type
    std::vector<Field> fields;  // record, union
    TypeRef element;            // array element, pointer target
    std::vector<int> dims;      // array
    bool basic() const { return kind <= Kind::Logic; }
};

TypeRef basicType(Kind k)
{
    auto t = std::make_shared<Type>();
    t->kind = k;
    return t;
}

std::string keyword(Rng& rng, const char* word)
{
    // Keywords in one of their spellings.
    std::string w = word;
    switch (rng.below(3)) {
    case 0: return w;
    case 1: {
        std::string up;
        for (char c : w)
            up += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        return up;
    }
    default: {
        std::string low;
        for (char c : w)
            low += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        return low;
    }
    }
}

struct Var {
    std::string name;
    TypeRef type;
    bool writable = true;  // constants and %Inp/ parameters of a process read only
};

struct Procedure {
    std::string name;
    std::vector<std::pair<bool, Var>> params;  // true: %Iop/
};

struct Process {
    std::string name;
    std::vector<std::pair<bool, Var>> params;  // true: %Iop/
    bool hasIn = false, hasOut = false;         // one channel each way at most
    TypeRef inType, outType;
    int count = 0;                               // values sent or received
};

class Generator {
public:
    explicit Generator(std::uint64_t seed) : rng_(seed) {}
    // A record that points to itself holds its own reference: break the cycle.
    ~Generator()
    {
        for (const TypeRef& t : types_)
            t->fields.clear();
    }
    Generator(const Generator&) = delete;
    Generator& operator=(const Generator&) = delete;
    std::string program();

private:
    Rng rng_;
    int names_ = 0;
    int labels_ = 0;
    std::string out_;
    std::vector<TypeRef> types_;            // named types
    std::vector<Var> globals_;              // %Glob and %Var
    std::vector<Procedure> procedures_;     // top-level procedures, callable in order
    std::vector<Process> processes_;
    std::vector<std::string> packageProcs_; // callable procedures of packages
    bool syn_ = true;
    bool usesTimer_ = false;
    std::string stream_;  // the main body's file variable

    // The scope of the body being written.
    std::vector<Var> scope_;
    std::vector<Var> counters_;  // loop and wait counters, never assigned elsewhere
    int depth_ = 0;              // statement nesting
    std::string indent_ = "\t\t";
    std::size_t callable_ = 0;   // procedures a body may call

    // A new name: now and then a word that C++ or the run-time library holds
    // for itself, which the translation must keep apart from its own (none of
    // them a word of QUV/E in any letter case; "main" is given to a
    // procedure or a process now and then, apart from these).
    std::string fresh(const char* prefix)
    {
        static const std::vector<std::string> words = {
            "std", "new", "class", "this", "operator", "template", "printf", "local", "father", "errno",
            "NULL", "auto", "char", "double", "long", "short", "signed", "unsigned", "void", "volatile", "struct",
            "typedef", "namespace", "using", "public", "private", "friend", "virtual", "register", "switch", "case",
            "default", "goto", "sizeof", "static", "const", "inline", "for", "while", "do", "break", "continue",
            "try", "catch", "throw", "true", "false", "nullptr", "and", "or", "not", "xor", "compl", "CONTROL",
            "Channel", "quv_runtime", "cout", "endl", "size_t", "abs", "time", "exit_", "string_", "union_",
            "mutex", "thread", "assert", "EOF", "stdin", "stdout", "memcpy", "atoi", "rand", "signal",
            "ip", "call", "temp", "l", "t", "f", "p", "ch", "v", "local_type",
            // Names that "_" before them turns into a macro, a keyword or a library name of C++.
            "GNU_SOURCE", "LP64", "CONSOLE", "MBCS", "STDIO_H", "Complex", "Pragma", "Float32", "beginthread",
            "endthread", "tolower", "toupper",
            // Names that "_" before them turns into a name the link of a program brings.
            "start", "init", "fini", "edata", "end", "etext", "environ", "setjmp", "longjmp", "mcount", "flushlbf",
            "res", "obstack", "rtld_global", "r_debug", "sys_nerr"};
        // The beginnings of the translation's own names, each with the kinds
        // of name (by the prefixes here) whose translation it begins: put
        // before a name of such a kind drawn earlier, it makes the name the
        // translation once gave that one (t_T1 for a type T1, proc_p8_0 for a
        // procedure p8, u_t_T1 for the escaped t_T1).
        static const std::vector<std::pair<std::string, std::vector<std::string>>> prefixes = {
            {"t_", {"T", "Node"}}, {"f_", {"f"}},     {"class_", {"pk", "ag"}}, {"l_", {}},
            {"proc_", {"p", "q"}}, {"pros_", {"w"}},  {"next_temp_", {}},       {"d_", {"a"}},
            {"dt_", {"a"}},        {"do_", {"a"}},    {"p_", {"v", "a", "g"}},  {"i_", {}},
            {"u_", {"u_"}},        {"ch_", {"n"}},    {"global_instance_of_", {"pk", "ag"}}};
        if (keywords_ && rng_.chance(4)) {
            const std::string& w = rng_.pick(words);
            if (usedWords_.insert(w).second)
                return w;
        }
        if (keywords_ && !drawn_.empty() && rng_.chance(8)) {
            const auto& p = rng_.pick(prefixes);
            std::vector<std::string> bases;
            for (const std::string& kind : p.second)
                bases.insert(bases.end(), drawn_[kind].begin(), drawn_[kind].end());
            if (bases.empty())
                for (const auto& kind : drawn_)
                    bases.insert(bases.end(), kind.second.begin(), kind.second.end());
            std::string name = p.first + (p.first == "next_temp_" ? std::to_string(1 + rng_.below(4)) : rng_.pick(bases));
            if (p.first == "proc_" || p.first == "pros_")
                name += "_" + std::to_string(rng_.below(3));
            if (usedWords_.insert(name).second) {
                drawn_["u_"].push_back(name);
                return name;
            }
        }
        std::vector<std::string>& kind = drawn_[prefix];
        kind.push_back(prefix + std::to_string(++names_));
        return kind.back();
    }
    std::map<std::string, std::vector<std::string>> drawn_;  // the names fresh made, by their prefix
    bool keywords_ = false;
    bool oddLiteral_ = false;
    std::set<std::string> usedWords_;
    std::string label() { return "s" + std::to_string(++labels_); }
    void line(const std::string& text) { out_ += indent_ + text + "\n"; }

    TypeRef randomType(int level);
    std::string typeText(const TypeRef& t);
    TypeRef anyVarType();

    // Expressions and designators.
    std::vector<std::string> designators(const Var& v, bool writable, Kind want, int level);
    std::vector<std::string> designatorsOf(Kind want, bool writable);
    std::string literal(Kind k);
    std::string expr(Kind k, int level);
    std::string condition(int level);
    std::string equation();
    std::string equations(int max);

    // Statements.
    void statements(bool process, bool lastReturn);
    // Writes "%Loc [ LOCALS and the counters the body uses ]" and the %Stm part.
    void body(std::vector<Var> locals, const std::function<void()>& writeStatements, const std::string& extra = "");
    // A %Proc part of one procedure that adds its %Inp/ parameter to an Int
    // variable of the enclosing unit, and a call of it; empty when there is none.
    std::pair<std::string, std::string> nestedProcedure(const std::vector<Var>& locals);
    // An %Alg part: conditional elements, each going on to the next.
    void algorithm(bool lastReturn);
    std::string nested_;  // the %Proc part body() writes after the %Loc part
    bool alg_ = false;    // the body written is an %Alg part
    bool mixed_ = false;  // Int and Float mixed in one expression
    bool whole_ = false;  // records, unions and arrays assigned whole
    void statement(bool process);
    std::string builtinCall();
    std::string procedureCall(const Procedure& p);

    void declareTypes();
    void declareGlobals();
    void declareProcedures();
    void declareProcesses();
    void declarePackages();
    void mainBody();
    std::string varList(const std::vector<Var>& vars);
};

TypeRef Generator::randomType(int level)
{
    const int r = rng_.below(level > 1 ? 5 : 9);
    if (r < 5)
        return basicType(static_cast<Kind>(rng_.below(4)));
    if (r < 6 && !types_.empty())
        return rng_.pick(types_);
    return basicType(r == 8 ? Kind::Float : Kind::Int);
}

std::string Generator::typeText(const TypeRef& t)
{
    if (!t->name.empty())
        return t->name;
    switch (t->kind) {
    case Kind::Int: return keyword(rng_, "Int");
    case Kind::Float: return keyword(rng_, "Float");
    case Kind::String: return keyword(rng_, "String");
    case Kind::Bool: return keyword(rng_, "Bool");
    case Kind::Logic: return keyword(rng_, "Logic");
    default: break;
    }
    return "Int";
}

void Generator::declareTypes()
{
    const int count = rng_.below(5);
    if (count == 0 && !rng_.chance(5))
        return;
    std::vector<std::string> items;
    for (int i = 0; i < count; ++i) {
        auto t = std::make_shared<Type>();
        t->name = fresh("T");
        const int form = rng_.below(4);
        if (form == 0 || (form == 3 && types_.empty())) {
            t->kind = Kind::Record;
            const int n = 1 + rng_.below(3);
            std::string text = keyword(rng_, "Record") + "(";
            for (int f = 0; f < n; ++f) {
                Field field{fresh("f"), randomType(1)};
                text += (f ? "; " : "") + field.name + " : " + typeText(field.type);
                t->fields.push_back(field);
            }
            items.push_back(t->name + " = " + text + ")");
        } else if (form == 1) {
            t->kind = Kind::Array;
            t->element = basicType(static_cast<Kind>(rng_.below(3)));
            const int n = 1 + rng_.below(2);
            std::string dims;
            for (int d = 0; d < n; ++d) {
                t->dims.push_back(2 + rng_.below(3));
                dims += (d ? ", " : "") + std::to_string(t->dims.back());
            }
            items.push_back(t->name + " = " + keyword(rng_, "Array") + "(" + typeText(t->element) + "; " + dims + ")");
        } else if (form == 2) {
            t->kind = Kind::Union;
            // Never a String in a union: the compiler reports that (a union
            // holds no value that needs construction).
            t->fields.push_back({fresh("f"), basicType(Kind::Int)});
            t->fields.push_back({fresh("f"), basicType(Kind::Float)});
            items.push_back(t->name + " = " + keyword(rng_, "Union") + "(" + t->fields[0].name + " : Int; " +
                            t->fields[1].name + " : " + typeText(t->fields[1].type) + ")");
        } else {
            t->kind = Kind::Pointer;
            // A pointer to a record declared before it.
            TypeRef target;
            for (const TypeRef& c : types_)
                if (c->kind == Kind::Record)
                    target = c;
            if (!target) {
                t->kind = Kind::Array;
                t->element = basicType(Kind::Int);
                t->dims = {3};
                items.push_back(t->name + " = Array(Int; 3)");
            } else {
                t->element = target;
                items.push_back(t->name + " = " + keyword(rng_, "Point") + "(" + target->name + ")");
            }
        }
        types_.push_back(t);
    }
    if (rng_.chance(5)) {
        // A record that points to itself.
        auto t = std::make_shared<Type>();
        t->kind = Kind::Record;
        t->name = fresh("Node");
        auto link = std::make_shared<Type>();
        link->kind = Kind::Pointer;
        link->element = t;
        link->name = "Point(" + t->name + ")";
        t->fields = {{fresh("f"), link}, {fresh("f"), basicType(Kind::Int)}};
        items.push_back(t->name + " = Record(" + t->fields[0].name + " : Point(" + t->name + "); " +
                        t->fields[1].name + " : Int)");
        types_.push_back(t);
    }
    if (items.empty())
        return;
    line(std::string("%Type") + " [");
    for (std::size_t i = 0; i < items.size(); ++i)
        line("\t" + items[i] + (i + 1 < items.size() ? ";" : ""));
    line("]");
}

TypeRef Generator::anyVarType()
{
    if (!types_.empty() && rng_.chance(35))
        return rng_.pick(types_);
    return basicType(static_cast<Kind>(rng_.below(5)));
}

std::string Generator::varList(const std::vector<Var>& vars)
{
    std::string text;
    for (std::size_t i = 0; i < vars.size(); ++i)
        text += (i ? "; " : "") + vars[i].name + " : " + typeText(vars[i].type);
    return text;
}

std::string Generator::literal(Kind k)
{
    switch (k) {
    case Kind::Int: return std::to_string(rng_.below(50));
    case Kind::Float: return std::to_string(rng_.below(20)) + "." + std::to_string(rng_.below(100));
    case Kind::String: {
        if (oddLiteral_) {
            // Once in a program: a literal the lexer takes that C++ does not
            // take as it stands (several u in an escape, a line break in it).
            oddLiteral_ = false;
            return rng_.chance(50) ? "\"\\uuuu0041\"" : "\"two\nlines\"";
        }
        static const std::vector<std::string> texts = {"\"\"", "\"a\"", "\"text\"", "\"tab\\tx\"",
                                                       "\"q\\\"q\"", "\"\\101\"", "\"\\u0042\"", "\" \""};
        return rng_.pick(texts);
    }
    case Kind::Bool: {
        static const std::vector<std::string> texts = {"$T", "$F", "$t", "$f"};
        return rng_.pick(texts);
    }
    case Kind::Logic: {
        static const std::vector<std::string> texts = {"TT", "FF", "tt", "ff"};
        return rng_.pick(texts);
    }
    default: return "0";
    }
}

// The designators of V of kind WANT: the variable itself, its fields, its
// elements at indexes in range, and the fields through a pointer.
std::vector<std::string> Generator::designators(const Var& v, bool writable, Kind want, int level)
{
    std::vector<std::string> found;
    if (writable && !v.writable)
        return found;
    const TypeRef& t = v.type;
    if (t->kind == want && t->basic()) {
        found.push_back(v.name);
        return found;
    }
    if (level > 2)
        return found;
    if (t->kind == Kind::Record || t->kind == Kind::Union) {
        // A union is read through the field it was last written by: only the first.
        std::size_t n = t->kind == Kind::Union ? 1 : t->fields.size();
        for (std::size_t i = 0; i < n; ++i)
            for (const std::string& d : designators({v.name + "." + t->fields[i].name, t->fields[i].type, true}, writable,
                                                    want, level + 1))
                found.push_back(d);
    } else if (t->kind == Kind::Array && t->element->kind == want) {
        std::string d = v.name;
        for (int n : t->dims)
            d += "[" + std::to_string(rng_.below(n)) + "]";
        found.push_back(d);
    }
    return found;
}

std::vector<std::string> Generator::designatorsOf(Kind want, bool writable)
{
    std::vector<std::string> found;
    for (const std::vector<Var>* vars : {&globals_, &scope_})
        for (const Var& v : *vars)
            for (const std::string& d : designators(v, writable, want, 0))
                found.push_back(d);
    if (!writable)
        for (const Var& v : counters_)
            if (v.type->kind == want)
                found.push_back(v.name);
    return found;
}

// The names among DESIGNATORS: Feof, Getc, Getchar and Ungetchar take a name, not a designator.
std::vector<std::string> plainNames(const std::vector<std::string>& designators)
{
    std::vector<std::string> names;
    for (const std::string& d : designators)
        if (d.find_first_of(".[") == std::string::npos)
            names.push_back(d);
    return names;
}

std::string Generator::expr(Kind k, int level)
{
    const std::vector<std::string> names = designatorsOf(k, false);
    const int r = rng_.below(level > 2 ? 4 : 10);
    if (r < 2 || (r < 4 && names.empty()))
        return literal(k);
    if (r < 4)
        return rng_.pick(names);
    switch (k) {
    case Kind::Int:
        switch (r) {
        case 4: return expr(k, level + 1) + " + " + expr(k, level + 1);
        case 5: return expr(k, level + 1) + " - " + expr(k, level + 1);
        case 6: return expr(k, level + 1) + " * " + std::to_string(rng_.below(5));
        case 7: return "(" + expr(k, level + 1) + ") " + keyword(rng_, "mod") + " " + std::to_string(1 + rng_.below(7));
        case 8: return keyword(rng_, "If") + " " + condition(level + 1) + " " + keyword(rng_, "Then") + " " +
                       expr(k, level + 1) + " " + keyword(rng_, "Else") + " (" + expr(k, level + 1) + ")";
        default: return "-(" + expr(k, level + 1) + ") / " + std::to_string(1 + rng_.below(4));
        }
    case Kind::Float:
        switch (r) {
        case 4:
        case 5: return expr(k, level + 1) + " + " + expr(k, level + 1);
        case 6: return expr(k, level + 1) + " * " + literal(k);
        case 7: return "(" + expr(k, level + 1) + ") - " + expr(k, level + 1);
        case 8: return keyword(rng_, "If") + " " + condition(level + 1) + " " + keyword(rng_, "Then") + " " +
                       expr(k, level + 1) + " " + keyword(rng_, "Else") + " (" + expr(k, level + 1) + ")";
        default: return mixed_ ? expr(Kind::Int, level + 1) + " * " + literal(k) : "-(" + expr(k, level + 1) + ")";
        }
    case Kind::String:
        if (r == 9)
            return keyword(rng_, "If") + " " + condition(level + 1) + " " + keyword(rng_, "Then") + " " +
                   expr(k, level + 1) + " " + keyword(rng_, "Else") + " (" + expr(k, level + 1) + ")";
        return expr(k, level + 1) + " + " + expr(k, level + 1);
    case Kind::Bool:
        return condition(level + 1);
    default: return literal(k);
    }
}

std::string Generator::condition(int level)
{
    static const std::vector<std::string> ops = {"<", "=<", ">", ">=", "=", "/="};
    switch (rng_.below(level > 2 ? 3 : 8)) {
    case 6:
        if (mixed_)
            return "(" + expr(Kind::Int, level + 1) + " " + rng_.pick(ops) + " " + expr(Kind::Float, level + 1) + ")";
        return "(" + expr(Kind::String, level + 1) + " " + rng_.pick(ops) + " " + expr(Kind::String, level + 1) + ")";
    case 7: return "(" + expr(Kind::Bool, level + 2) + " = " + expr(Kind::Bool, level + 2) + ")";
    case 0: return "(" + expr(Kind::Int, level + 1) + " " + rng_.pick(ops) + " " + expr(Kind::Int, level + 1) + ")";
    case 1: return "(" + expr(Kind::Float, level + 1) + " " + rng_.pick(ops) + " " + expr(Kind::Float, level + 1) + ")";
    case 2: {
        const std::vector<std::string> names = designatorsOf(Kind::Bool, false);
        return names.empty() ? literal(Kind::Bool) : rng_.pick(names);
    }
    case 3: return condition(level + 1) + " $C " + condition(level + 1);
    case 4: return condition(level + 1) + " $V " + condition(level + 1);
    default: return "~(" + condition(level + 1) + ")";
    }
}

// One assignment of a writable designator.
std::string Generator::equation()
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        const Kind k = static_cast<Kind>(rng_.below(5));
        const std::vector<std::string> targets = designatorsOf(k, true);
        if (targets.empty())
            continue;
        const std::string target = rng_.pick(targets);
        if (k == Kind::Logic)
            return "$O " + target + " = " + literal(k);
        if (whole_ && rng_.chance(10)) {
            // A record, union or array assigned whole.
            std::vector<std::pair<std::string, std::string>> pairs;
            for (const std::vector<Var>* as : {&globals_, &scope_})
                for (const Var& a : *as)
                    if (a.writable && !a.type->basic() && a.type->kind != Kind::Pointer)
                        for (const std::vector<Var>* bs : {&globals_, &scope_})
                            for (const Var& b : *bs)
                                if (b.type == a.type && b.name != a.name)
                                    pairs.push_back({a.name, b.name});
            if (!pairs.empty()) {
                const auto& pr = rng_.pick(pairs);
                return "$O " + pr.first + " = " + pr.second;
            }
        }
        if (k == Kind::Int && callable_ > 0 && rng_.chance(10)) {
            // A value call: the procedure runs, then the expression is the value.
            const Procedure& p = procedures_[static_cast<std::size_t>(rng_.below(static_cast<int>(callable_)))];
            const std::string call = procedureCall(p);
            if (!call.empty())
                return "$O " + target + " = ? " + expr(k, 2) + " : " + call;
        }
        return "$O " + target + " = " + expr(k, 0);
    }
    return "";
}

std::string Generator::equations(int max)
{
    std::string text;
    const int n = 1 + rng_.below(max);
    for (int i = 0; i < n; ++i) {
        std::string e = equation();
        if (rng_.chance(8)) {
            const std::string a = equation(), b = equation();
            if (!a.empty() && !b.empty())
                e = ">> [ " + a + "; " + b + " ]";
        } else if (rng_.chance(6)) {
            // A variable of its own, used in the same element.
            const std::string name = fresh("d");
            const Kind dk = static_cast<Kind>(rng_.below(4));
            e = "$O " + keyword(rng_, "NewDec") + "(" + name + " : " + typeText(basicType(dk)) + ") ^ $O " + name + " = " +
                expr(dk, 2);
        }
        if (!e.empty())
            text += e + " ^ ";
    }
    return text;
}

std::string Generator::procedureCall(const Procedure& p)
{
    std::string args;
    std::vector<std::string> iops;  // one variable to one %Iop/ parameter
    for (std::size_t i = 0; i < p.params.size(); ++i) {
        const Var& formal = p.params[i].second;
        std::string actual;
        if (p.params[i].first) {
            // %Iop/: a variable of the formal's very type.
            std::vector<std::string> candidates;
            for (const std::vector<Var>* vars : {&globals_, &scope_})
                for (const Var& v : *vars)
                    if (v.writable && (v.type == formal.type ||
                                       (v.type->basic() && formal.type->basic() && v.type->kind == formal.type->kind)))
                        candidates.push_back(v.name);
            for (const std::string& used : iops)
                candidates.erase(std::remove(candidates.begin(), candidates.end(), used), candidates.end());
            if (candidates.empty())
                return "";
            iops.push_back(rng_.pick(candidates));
            actual = "%Iop/ " + iops.back();
        } else if (formal.type->basic()) {
            actual = "%Inp/ " + expr(formal.type->kind, 1);
        } else {
            std::vector<std::string> candidates;
            for (const std::vector<Var>* vars : {&globals_, &scope_})
                for (const Var& v : *vars)
                    if (v.type == formal.type)
                        candidates.push_back(v.name);
            if (candidates.empty())
                return "";
            actual = "%Inp/ " + rng_.pick(candidates);
        }
        args += (i ? "; " : "") + actual + " | " + formal.name;
    }
    return p.name + "(" + args + ")";
}

std::string Generator::builtinCall()
{
    const std::vector<std::string> ints = designatorsOf(Kind::Int, true);
    const std::vector<std::string> strings = designatorsOf(Kind::String, true);
    switch (rng_.below(6)) {
    case 0:
    case 1: {
        std::string args;
        const int n = 1 + rng_.below(3);
        for (int i = 0; i < n; ++i)
            args += (i ? ", " : "") + expr(static_cast<Kind>(rng_.below(4)), 1);
        return keyword(rng_, rng_.chance(50) ? "Writeln" : "Write") + "(" + args + ")";
    }
    case 2:
        if (!strings.empty())
            return keyword(rng_, "Itoc") + "(" + std::to_string(65 + rng_.below(26)) + ", " + rng_.pick(strings) + ")";
        break;
    case 3:
        if (!ints.empty())
            return keyword(rng_, "Strlen") + "(" + rng_.pick(ints) + ", " + expr(Kind::String, 1) + ")";
        break;
    case 4: {
        // Standard input is at its end when the programs run.
        const std::vector<std::string> names = plainNames(strings);
        if (!names.empty() && rng_.chance(60)) {
            const std::string sv = rng_.pick(names);
            return rng_.chance(50) ? keyword(rng_, "Getchar") + "(" + sv + ")" : keyword(rng_, "Ungetchar") + "(" + sv + ")";
        }
        if (!ints.empty())
            return keyword(rng_, "Read") + "(" + rng_.pick(ints) + ")";
        break;
    }
    default: break;
    }
    return keyword(rng_, "Writeln") + "(" + expr(Kind::Int, 1) + ")";
}

// One statement; every statement but the last of a list ends with NEXT.
void Generator::statement(bool process)
{
    const int r = rng_.below(depth_ > 1 ? 4 : 14);
    const std::string lb = label();
    if (r == 0 && callable_ > 0) {
        const std::string call = procedureCall(procedures_[static_cast<std::size_t>(rng_.below(static_cast<int>(callable_)))]);
        if (!call.empty()) {
            line("LB = " + lb + " => " + call + ";");
            return;
        }
    }
    if (r == 1) {
        line("LB = " + lb + " => " + builtinCall() + ";");
        return;
    }
    if (r == 2 && !packageProcs_.empty() && !process && false) {
        line("LB = " + lb + " => " + rng_.pick(packageProcs_) + "( );");
        return;
    }
    if (r == 4) {
        const std::string cond = condition(0);
        std::string text = "LB = " + lb + " ^ " + cond + " => ( " + equations(2) + "$OLB = NEXT";
        if (rng_.chance(70))
            text += " | " + equations(2) + "$OLB = NEXT";
        line(text + " );");
        return;
    }
    if (r == 5) {
        // A case statement with two guarded branches and a default.
        const std::string a = label(), b = label(), d = label();
        line("? [ LB = " + lb + " ^ " + condition(1) + " => $OLB = " + a + " | " + condition(1) + " => $OLB = " + b +
             " |~ => $OLB = " + d + ";");
        line("\tLB = " + a + " => " + equations(2) + "$OLB = EXIT;");
        line("\tLB = " + b + " => " + equations(2) + "$OLB = EXIT;");
        line("\tLB = " + d + " => " + equations(2) + "$OLB = EXIT ];");
        return;
    }
    if (r == 6) {
        // A loop bounded by a counter of its own.
        const std::string c = fresh("c");
        counters_.push_back({c, basicType(Kind::Int), false});
        line("LB = " + lb + " => $O " + c + " = 0 ^ $OLB = NEXT;");
        const std::string head = label();
        line("* [ LB = " + head + " ^ " + c + " < " + std::to_string(1 + rng_.below(3)) + " => ( $OLB = " + head +
             " | $OLB = EXIT )");
        ++depth_;
        const std::string saved = indent_;
        indent_ += "\t";
        const int n = rng_.below(3);
        for (int i = 0; i < n; ++i)
            statement(process);
        line("LB = " + label() + " => " + equations(1) + "$O " + c + " = " + c + " + 1 ^ $OLB = " + head + " ];");
        indent_ = saved;
        --depth_;
        return;
    }
    if (r == 7) {
        // A wait: the action repeats until its exit condition holds.
        const std::string c = fresh("c");
        counters_.push_back({c, basicType(Kind::Int), false});
        line("LB = " + lb + " => $O " + c + " = 0 ^ $OLB = NEXT;");
        const std::string w = label();
        const std::string guard = rng_.chance(50) ? " ^ " + c + " < 5" : "";
        line("LB = " + w + guard + " => $O ( " + equations(1) + "$O " + c + " = " + c + " + 1 ^ ^ LB = " + w + " ) $U ( " +
             c + " >= " + std::to_string(1 + rng_.below(3)) + " ^ $OLB = EXIT;");
        return;
    }
    if (r == 8) {
        line(">> ( LB = " + lb + " => " + equations(2) + "$OLB = NEXT );");
        return;
    }
    if (r == 9) {
        // A pointer set in one element and followed in the next: the equations of
        // one element read the values from before it.
        std::vector<std::pair<const Var*, const Var*>> pairs;
        for (const std::vector<Var>* ps : {&globals_, &scope_})
            for (const Var& p : *ps)
                if (p.type->kind == Kind::Pointer && p.writable)
                    for (const std::vector<Var>* rs : {&globals_, &scope_})
                        for (const Var& r : *rs)
                            if (r.type == p.type->element && r.writable)
                                pairs.push_back({&p, &r});
        if (!pairs.empty()) {
            const auto& pr = rng_.pick(pairs);
            const Var& p = *pr.first;
            const Field& f = rng_.pick(p.type->element->fields);
            line("LB = " + lb + " => $O " + p.name + " = &" + pr.second->name + " ^ $OLB = NEXT;");
            if (f.type->basic() && f.type->kind != Kind::Logic) {
                const std::string reach = rng_.chance(50) ? p.name + "->" + f.name : "(*" + p.name + ")." + f.name;
                line("LB = " + label() + " => $O " + reach + " = " + expr(f.type->kind, 1) + " ^ $OLB = NEXT;");
                line("LB = " + label() + " => " + keyword(rng_, "Writeln") + "(" + p.name + "->" + f.name + ");");
            }
            return;
        }
    }
    if (r == 10) {
        // A select whose last branch is always open.
        line("LB = " + lb + " => !! [ " + condition(1) + " |> " + equations(1) + "$OLB = EXIT, " + literal(Kind::Bool) +
             " |> $OLB = EXIT, $T |> $OLB = EXIT ];");
        return;
    }
    if (r == 11 && !stream_.empty()) {
        // A file written, closed, read back and closed.
        const std::string& f = stream_;
        const std::vector<std::string> ints = designatorsOf(Kind::Int, true);
        const std::vector<std::string> strings = plainNames(designatorsOf(Kind::String, true));
        const std::vector<std::string> bools = plainNames(designatorsOf(Kind::Bool, true));
        line("LB = " + lb + " => " + keyword(rng_, "Fopen") + "(" + f + ", \"oracle.txt\");");
        line("LB = " + label() + " => " + keyword(rng_, "Fwrite") + "(" + f + ", " + expr(Kind::Int, 1) + ", \" \");");
        line("LB = " + label() + " => " + keyword(rng_, "Fwriteln") + "(" + f + ", " + expr(Kind::String, 1) + ");");
        line("LB = " + label() + " => " + keyword(rng_, "Fclose") + "(" + f + ");");
        line("LB = " + label() + " => " + keyword(rng_, "Fopen") + "(" + f + ", \"oracle.txt\");");
        if (!ints.empty())
            line("LB = " + label() + " => " + keyword(rng_, "Fread") + "(" + f + ", " + rng_.pick(ints) + ");");
        if (!strings.empty()) {
            const std::string sv = rng_.pick(strings);
            line("LB = " + label() + " => " + keyword(rng_, "Getc") + "(" + f + ", " + sv + ");");
            line("LB = " + label() + " => " + keyword(rng_, "Ungetc") + "(" + f + ", " + sv + ");");
        }
        if (!bools.empty())
            line("LB = " + label() + " => " + keyword(rng_, "Feof") + "(" + f + ", " + rng_.pick(bools) + ");");
        line("LB = " + label() + " => " + keyword(rng_, "QUVEof") + "(" + f + ", \"x\");");
        line("LB = " + label() + " => " + keyword(rng_, "Fclose") + "(" + f + ");");
        return;
    }
    line("LB = " + lb + " => " + equations(3) + "$OLB = NEXT;");
}

void Generator::statements(bool process, bool lastReturn)
{
    const int n = 1 + rng_.below(6);
    for (int i = 0; i < n; ++i)
        statement(process);
    line("LB = " + label() + " => $OLB = " + (lastReturn ? keyword(rng_, "RETURN") : keyword(rng_, "STOP")));
}

void Generator::body(std::vector<Var> locals, const std::function<void()>& writeStatements, const std::string& extra)
{
    const std::string saved = indent_;
    if (!globals_.empty() && rng_.chance(15)) {
        // A local of a global's name and type, which hides it.
        const Var& g = rng_.pick(globals_);
        bool taken = false;
        for (const std::vector<Var>* vars : {static_cast<const std::vector<Var>*>(&scope_), static_cast<const std::vector<Var>*>(&locals)})
            for (const Var& v : *vars)
                taken = taken || v.name == g.name;
        if (!taken)
            locals.push_back({g.name, g.type, true});
    }
    scope_.insert(scope_.end(), locals.begin(), locals.end());
    counters_.clear();
    std::string text;
    out_.swap(text);
    indent_ += "\t";
    writeStatements();
    indent_ = saved;
    out_.swap(text);
    for (const Var& c : counters_)
        locals.push_back(c);
    if (!locals.empty() || !extra.empty())
        line(keyword(rng_, "%Loc") + " [ " + varList(locals) + (locals.empty() || extra.empty() ? "" : "; ") + extra + " ]");
    if (!nested_.empty())
        line(nested_);
    nested_.clear();
    line(keyword(rng_, alg_ ? "%Alg" : "%Stm") + " [");
    alg_ = false;
    out_ += text;
    line("]");
}

std::pair<std::string, std::string> Generator::nestedProcedure(const std::vector<Var>& locals)
{
    std::vector<std::string> targets;
    for (const std::vector<Var>* vars : {static_cast<const std::vector<Var>*>(&scope_), &locals})
        for (const Var& v : *vars)
            if (v.writable && v.type->kind == Kind::Int)
                targets.push_back(v.name);
    if (targets.empty())
        return {};
    const std::string name = fresh("p"), k = fresh("a");
    const std::string target = rng_.pick(targets);
    return {keyword(rng_, "%Proc") + " [ " + name + "(%Inp/ " + k + " : Int) == [ %Stm [ LB = i => $O " + target + " = " +
                target + " + " + k + " ^ $OLB = RETURN ] ] ]",
            name + "(%Inp/ " + std::to_string(rng_.below(9)) + " | " + k + ")"};
}

void Generator::algorithm(bool lastReturn)
{
    alg_ = true;
    const int n = 1 + rng_.below(5);
    std::vector<std::string> labels;
    for (int i = 0; i <= n; ++i)
        labels.push_back(label());
    for (int i = 0; i < n; ++i) {
        const std::string guard = rng_.chance(30) ? " ^ " + condition(1) : "";
        line("LB = " + labels[i] + guard + " => " + equations(3) + "$OLB = " + labels[i + 1] + ";");
    }
    line("LB = " + labels[n] + " => $OLB = " + (lastReturn ? keyword(rng_, "RETURN") : keyword(rng_, "STOP")));
}

void Generator::declareGlobals()
{
    if (rng_.chance(60)) {
        std::vector<std::string> items;
        const int n = 1 + rng_.below(4);
        for (int i = 0; i < n; ++i) {
            const Kind k = static_cast<Kind>(rng_.below(5));
            Var v{fresh("K"), basicType(k), false};
            std::string value = literal(k);
            if ((k == Kind::Int || k == Kind::Float) && rng_.chance(30))
                value = "-" + value;
            items.push_back(v.name + " = " + value + " : " + typeText(v.type));
            globals_.push_back(v);
        }
        line(std::string("%Glob") + " [");
        for (std::size_t i = 0; i < items.size(); ++i)
            line("\t" + items[i] + (i + 1 < items.size() ? ";" : ""));
        line("]");
    }
    if (rng_.chance(70)) {
        std::vector<Var> vars;
        const int n = 1 + rng_.below(4);
        for (int i = 0; i < n; ++i)
            vars.push_back({fresh("g"), anyVarType(), true});
        line(std::string("%Var") + " [ " + varList(vars) + " ]");
        globals_.insert(globals_.end(), vars.begin(), vars.end());
    }
}

void Generator::declareProcedures()
{
    const int n = rng_.below(4);
    if (n == 0)
        return;
    line(keyword(rng_, "%Proc") + " [");
    for (int i = 0; i < n; ++i) {
        Procedure p;
        p.name = fresh("p");
        // Now and then main, whose frame type must stay apart from the main body's.
        if (rng_.chance(2) && usedWords_.insert("main").second)
            p.name = "main";
        const int params = rng_.below(4);
        std::string head;
        for (int k = 0; k < params; ++k) {
            const bool iop = rng_.chance(40);
            TypeRef t = anyVarType();
            Var v{fresh("a"), t, true};
            p.params.push_back({iop, v});
            head += std::string(k ? "; " : "") + (iop ? keyword(rng_, "%Iop/") : keyword(rng_, "%Inp/")) + " " +
                    v.name + " : " + typeText(t);
        }
        line("\t" + p.name + "(" + head + ") == [");
        const std::string saved = indent_;
        indent_ += "\t\t";
        scope_.clear();
        counters_.clear();
        for (const auto& param : p.params)
            scope_.push_back(param.second);
        std::vector<Var> locals;
        const int nl = rng_.below(4);
        for (int k = 0; k < nl; ++k)
            locals.push_back({fresh("v"), anyVarType(), true});
        callable_ = procedures_.size();
        std::string call;
        if (rng_.chance(20))
            std::tie(nested_, call) = nestedProcedure(locals);
        const bool alg = call.empty() && rng_.chance(25);
        body(locals, [&] {
            if (!call.empty())
                line("LB = " + label() + " => " + call + ";");
            if (alg)
                algorithm(true);
            else
                statements(false, true);
        });
        indent_ = saved;
        line(std::string("]") + (i + 1 < n ? ";" : ""));
        procedures_.push_back(p);
    }
    line("]");
}

void Generator::declareProcesses()
{
    // Pairs of a producer and a consumer joined by a channel, and workers without one.
    const int pairs = rng_.below(3);
    const int workers = rng_.below(2);
    if (pairs + workers == 0)
        return;
    line(std::string("%Pros") + " [");
    std::vector<std::string> texts;
    const std::string saved = indent_;
    auto unit = [&](Process& pr, const std::string& head, bool producer, bool consumer) {
        std::string text;
        out_.swap(text);
        line("\t" + pr.name + "(" + head + ") == [");
        indent_ = saved + "\t\t";
        scope_.clear();
        counters_.clear();
        for (const auto& param : pr.params)
            scope_.push_back(param.second);
        std::vector<Var> locals = {{fresh("v"), basicType(Kind::Int), true}};
        const Var got{fresh("v"), pr.inType ? pr.inType : basicType(Kind::Int), true};
        if (consumer)
            locals.push_back(got);
        // What a producer of a record, union or array sends, and a Bool for the channel tests.
        const Var sent{fresh("v"), pr.outType ? pr.outType : basicType(Kind::Int), true};
        if (producer && !sent.type->basic())
            locals.push_back(sent);
        const Var ready{fresh("v"), basicType(Kind::Bool), true};
        locals.push_back(ready);
        const int nl = rng_.below(3);
        for (int k = 0; k < nl; ++k)
            locals.push_back({fresh("v"), anyVarType(), true});
        callable_ = procedures_.size();
        std::string call;
        // A procedure nested in a process, using the process's locals.
        if (rng_.chance(15))
            std::tie(nested_, call) = nestedProcedure(locals);
        body(locals, [&] {
            if (!call.empty())
                line("LB = " + label() + " => " + call + ";");
            const int n = rng_.below(3);
            for (int i = 0; i < n; ++i)
                statement(true);
            if (producer && rng_.chance(30))
                line("LB = " + label() + " => $O " + ready.name + " = out! ^ $OLB = NEXT;");
            if (consumer && rng_.chance(30))
                line("LB = " + label() + " => $O " + ready.name + " = inq? ^ $OLB = NEXT;");
            if (consumer && rng_.chance(30))
                line("LB = " + label() + " => !! [ inq? |> $OLB = EXIT, $T |> $OLB = EXIT ];");
            for (int i = 0; i < pr.count; ++i) {
                if (producer)
                    line("LB = " + label() + " => $O out ! " +
                         (sent.type->basic() ? expr(pr.outType->kind, 1) : sent.name) + " ^ $OLB = NEXT;");
                else if (consumer)
                    line("LB = " + label() + " => $O inq ? " + got.name + " ^ $OLB = NEXT;");
            }
            if (consumer && pr.count > 0 && got.type->basic() && got.type->kind != Kind::Logic)
                line("LB = " + label() + " => " + keyword(rng_, "Writeln") + "(\"got \", " + got.name + ");");
            line("LB = " + label() + " => $OLB = " + keyword(rng_, "STOP"));
        });
        indent_ = saved;
        line("]");
        out_.swap(text);
        texts.push_back(text);
    };
    auto params = [&](Process& pr) {
        std::string head;
        const int n = rng_.below(3);
        for (int k = 0; k < n; ++k) {
            const bool iop = rng_.chance(40);
            TypeRef t = iop || rng_.chance(20) ? anyVarType() : basicType(static_cast<Kind>(rng_.below(4)));
            Var v{fresh("a"), t, iop};
            pr.params.push_back({iop, v});
            head += std::string(k ? "; " : "") + (iop ? keyword(rng_, "%Iop/") : keyword(rng_, "%Inp/")) + " " + v.name +
                    " : " + typeText(t);
        }
        return head;
    };
    for (int i = 0; i < pairs; ++i) {
        // A channel of a basic type, now and then of Logic or of a record, union or array.
        TypeRef carried = basicType(static_cast<Kind>(rng_.below(4)));
        if (rng_.chance(10))
            carried = basicType(Kind::Logic);
        else if (rng_.chance(25))
            for (const TypeRef& t : types_)
                if (t->kind != Kind::Pointer && !t->name.empty() && t->name.compare(0, 4, "Node") != 0)
                    carried = t;
        const int count = 1 + rng_.below(3);
        Process producer, consumer;
        producer.name = fresh("w");
        producer.hasOut = true;
        producer.outType = carried;
        producer.count = count;
        std::string ph = params(producer);
        ph += std::string(ph.empty() ? "" : "; ") + keyword(rng_, "%Chn/") + " out(*, k : NM) : " + typeText(producer.outType);
        consumer.name = fresh("w");
        consumer.hasIn = true;
        consumer.inType = carried;
        consumer.count = count;
        std::string ch = params(consumer);
        ch += std::string(ch.empty() ? "" : "; ") + keyword(rng_, "%Chn/") + " inq(k : NM, *) : " + typeText(consumer.inType);
        unit(producer, ph, true, false);
        unit(consumer, ch, false, true);
        processes_.push_back(producer);
        processes_.push_back(consumer);
    }
    if (rng_.chance(20)) {
        // A process that starts two of another: parallel statements nest.
        Process leaf, mid;
        leaf.name = fresh("w");
        mid.name = fresh("w");
        const std::string n = fresh("a"), m = fresh("a"), c1 = fresh("n"), c2 = fresh("n"), total = fresh("v");
        const std::string r = fresh("a");
        texts.push_back(saved + "\t" + leaf.name + "(%Inp/ " + n + " : Int; %Iop/ " + r + " : Int) == [ %Stm [ LB = " +
                        label() + " => $O " + r + " = " + r + " + " + n + " ^ $OLB = NEXT; LB = " + label() +
                        " => $OLB = STOP ] ]\n");
        const std::string second = fresh("v");
        texts.push_back(saved + "\t" + mid.name + "(%Inp/ " + m + " : Int) == [\n" + saved + "\t\t%Loc [ " + c1 + ", " +
                        c2 + " : NM; " + total + ", " + second + " : Int ]\n" + saved + "\t\t%Stm [\n" + saved +
                        "\t\t\tLB = " + label() + " => $O " + c1 + " == " + leaf.name + " ^ $O " + c2 + " == " + leaf.name +
                        " ^ $O " + total + " = 0 ^ $O " + second + " = 0 ^ $OLB = NEXT;\n" + saved + "\t\t\tLB = " +
                        label() + " => || [ " + c1 + "(%Inp/ " + m + " | " + n + "; %Iop/ " + total + " | " + r + "); " +
                        c2 + "(%Inp/ 1 | " + n + "; %Iop/ " + second + " | " + r + ") ];\n" + saved + "\t\t\tLB = " +
                        label() + " => " + keyword(rng_, "Writeln") + "(\"nested \", " + total + ", \" \", " + second +
                        ");\n" + saved + "\t\t\tLB = " + label() + " => $OLB = STOP\n" + saved + "\t\t]\n" + saved +
                        "\t]\n");
        mid.params.push_back({false, {m, basicType(Kind::Int), false}});
        processes_.push_back(mid);
    }
    for (int i = 0; i < workers; ++i) {
        Process worker;
        worker.name = fresh("w");
        if (rng_.chance(3) && usedWords_.insert("main").second)
            worker.name = "main";
        const std::string head = params(worker);
        unit(worker, head, false, false);
        processes_.push_back(worker);
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        std::string t = texts[i];
        if (i + 1 < texts.size())
            t.insert(t.size() - 1, ";");
        out_ += t;
    }
    line("]");
}

void Generator::declarePackages()
{
    const int n = rng_.below(3);
    std::vector<std::string> packs;
    std::vector<std::string> items;
    for (int i = 0; i < n; ++i) {
        const std::string name = fresh("pk");
        std::string text = keyword(rng_, "%Pack") + " [ " + name + " :";
        if (!packs.empty() && rng_.chance(50))
            text += " %Father [ " + rng_.pick(packs) + " ]";
        if (rng_.chance(60)) {
            std::vector<Var> locals = {{fresh("v"), basicType(Kind::Int), true}};
            text += " %Loc [ " + varList(locals) + " ]";
            if (rng_.chance(70)) {
                const std::string proc = fresh("q");
                text += " %Proc [ " + proc + "( ) == [ %Stm [ LB = b => $O " + locals[0].name + " = " + locals[0].name +
                        " + 1 ^ $OLB = RETURN ] ] ]";
                packageProcs_.push_back(proc);
            }
        }
        packs.push_back(name);
        items.push_back(text + " ]");
    }
    for (std::size_t i = 0; i < items.size(); ++i)
        line(items[i] + (i + 1 < items.size() ? ";" : ""));
    if (rng_.chance(25)) {
        // An agent: a process with a package of its own.
        Process agent;
        agent.name = fresh("ag");
        Var m{fresh("a"), basicType(Kind::Int), false};
        agent.params.push_back({false, m});
        line("%Agt [");
        line("\t[ " + agent.name + "(%Inp/ " + m.name + " : Int) == [ %Stm [ LB = s => Writeln(\"agent \", " + m.name +
             "); LB = t => $OLB = STOP ] ]; %Pack [ " + fresh("pk") + " : %Loc [ " + fresh("v") + " : Int ] ] ]");
        line("]");
        processes_.push_back(agent);
    }
}

void Generator::mainBody()
{
    line("[");
    const std::string saved = indent_;
    indent_ += "\t";
    scope_.clear();
    counters_.clear();
    std::vector<Var> locals;
    const int nl = 1 + rng_.below(4);
    for (int k = 0; k < nl; ++k)
        locals.push_back({fresh("v"), anyVarType(), true});
    // A pointer and a record it can point to.
    for (const TypeRef& t : types_)
        if (t->kind == Kind::Pointer && rng_.chance(70)) {
            locals.push_back({fresh("v"), t, true});
            locals.push_back({fresh("v"), t->element, true});
        }
    // An actual of its own for every %Iop/ parameter of a process: two %Iop/
    // parameters of one parallel statement may not share a variable.
    std::vector<std::string> iopActuals;
    for (const Process& pr : processes_)
        for (const auto& param : pr.params)
            if (param.first || !param.second.type->basic()) {
                locals.push_back({fresh("v"), param.second.type, true});
                iopActuals.push_back(locals.back().name);
            }
    std::size_t nextIop = 0;
    std::vector<std::string> controls;
    for (std::size_t i = 0; i < processes_.size(); ++i)
        controls.push_back(fresh("n"));
    stream_ = fresh("f");
    std::string decl = stream_ + " : " + keyword(rng_, "Stream");
    for (std::size_t i = 0; i < controls.size(); ++i)
        decl += "; " + controls[i] + " : " + keyword(rng_, "NM");
    if (controls.size() == 1)
        decl += "; " + controls[0] + "b : " + keyword(rng_, "NM");
    callable_ = procedures_.size();
    // Standard input read now and then; it is at its end when the programs run.
    const bool input = rng_.chance(25);
    const Var text{fresh("v"), basicType(Kind::String), true}, number{fresh("v"), basicType(Kind::Int), true};
    if (input) {
        locals.push_back(text);
        locals.push_back(number);
    }
    body(locals, [&] {
    if (input) {
        line("LB = " + label() + " => " + keyword(rng_, "Getchar") + "(" + text.name + ");");
        line("LB = " + label() + " => " + keyword(rng_, "Ungetchar") + "(" + text.name + ");");
        line("LB = " + label() + " => " + keyword(rng_, "Read") + "(" + number.name + ");");
    }
    const int before = rng_.below(4);
    for (int i = 0; i < before; ++i)
        statement(false);
    if (!processes_.empty()) {
        std::string bind;
        for (std::size_t i = 0; i < processes_.size(); ++i)
            bind += "$O " + controls[i] + " == " + processes_[i].name + " ^ ";
        if (processes_.size() == 1)
            bind += "$O " + controls[0] + "b == " + processes_[0].name + " ^ ";
        line("LB = " + label() + " => " + bind + "$OLB = NEXT;");
        // One parallel statement starts them all, each producer beside its consumer.
        std::vector<std::string> starts;
        for (std::size_t i = 0; i < processes_.size(); ++i) {
            const Process& pr = processes_[i];
            std::string args;
            for (const auto& param : pr.params) {
                std::string actual;
                if (param.first) {
                    actual = "%Iop/ " + iopActuals[nextIop++];
                } else if (!param.second.type->basic()) {
                    actual = "%Inp/ " + iopActuals[nextIop++];
                } else {
                    // Nor may an %Inp/ parameter read the variable of an %Iop/ one.
                    const std::vector<Var> saved = scope_;
                    scope_.erase(std::remove_if(scope_.begin(), scope_.end(),
                                                [&](const Var& v) {
                                                    return std::find(iopActuals.begin(), iopActuals.end(), v.name) !=
                                                           iopActuals.end();
                                                }),
                                 scope_.end());
                    actual = "%Inp/ " + expr(param.second.type->kind, 2);
                    scope_ = saved;
                }
                args += (args.empty() ? "" : "; ") + actual + " | " + param.second.name;
            }
            if (pr.hasOut)
                args += (args.empty() ? "" : "; ") + std::string("%Chn/ ch") + std::to_string(i) + "(" + controls[i + 1] +
                        ", *) | out(" + controls[i + 1] + ", *)";
            if (pr.hasIn)
                args += (args.empty() ? "" : "; ") + std::string("%Chn/ ch") + std::to_string(i - 1) + "(*, " +
                        controls[i - 1] + ") | inq(*, " + controls[i - 1] + ")";
            std::string start;
            if (rng_.chance(5) && !pr.hasIn && !pr.hasOut) {
                start = keyword(rng_, "SetTimer") + "(" + std::to_string(1 + rng_.below(20)) + ") ";
                usesTimer_ = true;
            }
            // A count starts so many of a process without a channel.
            const std::string times =
                !pr.hasIn && !pr.hasOut && start.empty() && rng_.chance(20) ? "{" + std::to_string(1 + rng_.below(3)) + "}" : "";
            starts.push_back(start + controls[i] + times + "(" + args + ")");
        }
        if (starts.size() == 1) {
            // A parallel statement starts two at least: the lone process gets a second control.
            std::string second = starts[0];
            const std::size_t at = second.find(controls[0]);
            second.replace(at, controls[0].size(), controls[0] + "b");
            line("LB = " + label() + " => || [ " + starts[0] + "; " + second + " ];");
        } else {
            std::string text;
            for (std::size_t i = 0; i < starts.size(); ++i)
                text += (i ? "; " : "") + starts[i];
            line("LB = " + label() + " => || [ " + text + " ];");
        }
    }
    if (!processes_.empty() && rng_.chance(20)) {
        // A control deleted and bound again.
        line("LB = " + label() + " => $O " + keyword(rng_, "Delete") + "(" + controls[0] + ") ^ $O " + controls[0] + " == " +
             processes_[0].name + " ^ $OLB = NEXT;");
    }
    const int after = rng_.below(4);
    for (int i = 0; i < after; ++i)
        statement(false);
    line("LB = " + label() + " => $OLB = " + keyword(rng_, "RETURN"));
    }, decl);
    indent_ = saved;
    line("]");
}

std::string Generator::program()
{
    out_ = "// A random program written by quvgen.\n";
    out_ += std::string("%Prog") + " r == [ ]\n[\n";
    syn_ = rng_.chance(50);
    mixed_ = rng_.chance(30);
    keywords_ = rng_.chance(30);
    oddLiteral_ = rng_.chance(5);
    whole_ = rng_.chance(30);
    indent_ = "\t";
    line(syn_ ? keyword(rng_, "Syn") : keyword(rng_, "Asyn"));
    declareTypes();
    declareGlobals();
    declareProcedures();
    declareProcesses();
    declarePackages();
    mainBody();
    out_ += "].\n";
    return out_;
}

}  // namespace

std::string randomProgram(std::uint64_t seed)
{
    Generator g(seed);
    return g.program();
}

}  // namespace quvgen
