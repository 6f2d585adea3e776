// Random valid programs for the differential check: each seed gives one
// program, the same on every machine, that the compiler must accept without a
// diagnostic, together with the exact output it must print. Every construct is
// written only where the walker takes it: the expressions are typed, the loops
// and waits count a variable of their own to a bound, each channel joins two
// processes of one parallel statement, and a producer sends exactly as many
// values as its consumer receives, so a program that builds also ends.
//
// The generator knows what each statement does (program_model.hpp), so the
// program's output is computed as the program is written. For that output to
// be the only one the program can print: every local is set before it is
// read; the processes of the parallel statement share no variable (they see
// the constants, their own parameters and locals, and what their channels
// bring), except the one shared variable an agent may own; one process at
// most prints, while the main body waits for them all; channel tests only set
// variables nobody reads; standard input is at its end.
//
// Each declaration and each statement stands on a line of its own, so a
// reducer that deletes lines keeps a program that still parses more often.
// Statements and equations carry marks: the program without some of them is
// written, and its output computed, from the same draws.
#include "random_program.hpp"

#include "program_model.hpp"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
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

// Marks in the text being written: "\1" ID "\2" before a piece that can be
// left out, "\3" after it.
std::string openMark(int id) { return "\1" + std::to_string(id) + "\2"; }
const char* const kCloseMark = "\3";

// The text without the marked pieces WITHOUT, and without the marks.
std::string unmarked(const std::string& text, const std::set<int>& without)
{
    std::string out;
    int skipping = 0;  // depth of marks inside a left-out piece, 0 when writing
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\1') {
            const std::size_t end = text.find('\2', i);
            const int id = std::stoi(text.substr(i + 1, end - i - 1));
            i = end;
            if (skipping > 0 || without.count(id))
                ++skipping;
        } else if (c == '\3') {
            if (skipping > 0)
                --skipping;
        } else if (skipping == 0) {
            out += c;
        }
    }
    return out;
}

// The items of a declaration section, each ending in its line break, with
// the ";" that separates one from the next before that break.
std::string sectionItems(const std::vector<std::string>& texts)
{
    std::string out;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        std::string t = texts[i];
        if (i + 1 < texts.size())
            t.insert(t.size() - 1, ";");
        out += t;
    }
    return out;
}

struct Var {
    std::string name;
    TypeRef type;
    bool writable = true;   // constants and %Inp/ parameters of a process read only
    bool readable = true;   // a channel test's target is never read
    bool shared = false;    // a %Var variable
    Value start;            // a global's value before the main body runs
    std::string literal;    // the text of a constant's literal
};

// What a run of a procedure or process body needs: its locals, made unknown
// at each start, and its statements.
struct Unit {
    std::vector<Var> locals;
    Actions body;
};
using UnitRef = std::shared_ptr<Unit>;

struct Procedure {
    std::string name;
    std::vector<std::pair<bool, Var>> params;  // true: %Iop/
    bool pure = true;        // touches no shared variable, file or output: processes may call it
    bool nested = false;     // its frame's father is its caller's
    std::string package;     // the package it belongs to, empty for the program
    std::string literal;     // a Float literal that is always its actual
    bool fromMain = false;   // the main body calls it once
    UnitRef unit = std::make_shared<Unit>();
};
using ProcedureRef = std::shared_ptr<Procedure>;

struct Process {
    std::string name;
    std::vector<std::pair<bool, Var>> params;  // true: %Iop/
    bool hasIn = false, hasOut = false;         // one channel each way at most
    TypeRef inType, outType;
    int count = 0;                               // values sent or received
    int times = 0;                               // a count of copies started, 0 for one
    int file = 0;                                // the source that declares it
    bool printer = false;                        // the one process that prints
    // An agent's package and its fathers, nearest first, each with its variables.
    std::vector<std::pair<std::string, std::vector<Var>>> packages;
    UnitRef unit = std::make_shared<Unit>();
};
using ProcessRef = std::shared_ptr<Process>;

// One assignment of an element: every value of an element is computed before
// any is stored, as the translation does.
struct Eq {
    std::string text;
    int mark = 0;              // 0: never left out
    std::string declared;      // a NewDec's variable, declared before the element's values
    TypeRef declaredType;
    Place target;
    Expr value;
};

struct Element {
    std::string text;          // the equations, each followed by " ^ "
    std::vector<Eq> eqs;
};

Action elementAction(const std::vector<Eq>& eqs)
{
    return [eqs](Machine& m) {
        m.step();
        std::vector<Value> values;
        for (const Eq& q : eqs) {
            if (m.dropped(q.mark))
                continue;
            if (!q.declared.empty() && !m.frame->names.count(q.declared))
                m.frame->declare(q.declared, shaped(q.declaredType, false));
            values.push_back(q.value.eval(m));
        }
        std::size_t i = 0;
        for (const Eq& q : eqs)
            if (!m.dropped(q.mark))
                store(*q.target.at(m), values[i++]);
    };
}

// The actual of a parameter: a variable for %Iop/, else a value.
struct Actual {
    bool ref = false;
    Place place;
    Expr value;
};

// Runs UNIT in FRAME, whose parameters are bound; its locals start unknown.
void runUnit(Machine& m, const Unit& unit, Frame& frame)
{
    for (const Var& v : unit.locals)
        if (!frame.names.count(v.name))
            frame.declare(v.name, shaped(v.type, false));
    Frame* saved = m.frame;
    m.frame = &frame;
    run(m, unit.body);
    m.frame = saved;
}

// Binds the formals of a call or a process start to ACTUALS, computed before.
void bindParams(Frame& frame, const std::vector<std::pair<bool, Var>>& formals, const std::vector<Value>& values,
                const std::vector<Value*>& refs)
{
    for (std::size_t i = 0; i < formals.size(); ++i) {
        const Var& formal = formals[i].second;
        if (formals[i].first) {
            frame.bind(formal.name, refs[i]);
        } else {
            Value v = shaped(formal.type, false);
            store(v, values[i]);
            frame.declare(formal.name, v);
        }
    }
}

void evaluateActuals(Machine& m, const std::vector<Actual>& actuals, std::vector<Value>& values, std::vector<Value*>& refs)
{
    for (const Actual& a : actuals) {
        refs.push_back(a.ref ? a.place.at(m) : nullptr);
        values.push_back(a.ref ? Value() : a.value.eval(m));
    }
}

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
    void program();
    // What the program prints without the pieces WITHOUT; throws Unpredictable.
    std::string output(const std::set<int>& without) const;
    std::vector<std::pair<std::string, std::string>> sources(const std::set<int>& without) const;
    std::vector<int> marks() const
    {
        std::vector<int> all;
        for (int i = 1; i <= marks_; ++i)
            all.push_back(i);
        return all;
    }

private:
    Rng rng_;
    int names_ = 0;
    int labels_ = 0;
    int marks_ = 0;
    std::string out_;
    std::vector<TypeRef> types_;             // named types
    std::vector<Var> globals_;               // %Glob and %Var of the source being written
    std::vector<std::vector<Var>> fileGlobals_;  // of each source, the main one first
    std::vector<ProcedureRef> procedures_;   // top-level procedures, callable in order
    std::vector<ProcessRef> processes_;
    std::vector<std::string> dprogs_;        // the texts of the %DProg sources
    UnitRef main_ = std::make_shared<Unit>();
    bool syn_ = true;

    // The context of the body being written.
    std::vector<Var> scope_;
    std::vector<Var> counters_;  // loop and wait counters, never assigned elsewhere
    int depth_ = 0;              // statement nesting
    std::string indent_ = "\t\t";
    std::size_t callable_ = 0;   // procedures a body may call
    bool shared_ = true;         // shared variables may be used
    std::set<std::string> hidden_;  // globals a package member's name hides
    bool print_ = true;          // the body may print
    bool pure_ = false;          // the body calls pure procedures only
    std::string stream_, streamFile_;  // the file variable in reach and its file
    Actions* acts_ = nullptr;    // where the statements being written go
    Element init_;               // the setting of the locals, written first
    bool initPending_ = false;
    int file_ = 0;               // the source being written

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
    bool mixed_ = false;  // Int and Float mixed in one expression
    bool whole_ = false;  // records, unions and arrays assigned whole
    std::set<std::string> usedWords_;
    std::string label() { return "s" + std::to_string(++labels_); }
    void line(const std::string& text) { out_ += indent_ + text + "\n"; }
    void act(Action a) { acts_->push_back(std::move(a)); }
    // Writes what WRITE writes as a piece that can be left out, with the statements it makes.
    void droppable(const std::function<void()>& write);
    Element marked(const std::vector<Eq>& eqs);

    TypeRef randomType(int level);
    std::string typeText(const TypeRef& t);
    TypeRef anyVarType();
    TypeRef basicOnly(const TypeRef& t) const { return file_ > 0 && !t->basic() ? basicType(Kind::Int) : t; }

    // Expressions and designators.
    bool visible(const Var& v) const
    {
        if (hidden_.count(v.name))
            return false;
        return !v.shared || shared_;
    }
    void designators(const Place& p, Kind want, int level, std::vector<Place>& found);
    std::vector<Place> designatorsOf(Kind want, bool writable);
    std::string intText(int v);
    Expr intLiteral(int v) { return constant(Kind::Int, intText(v), intValue(v)); }
    Expr literal(Kind k);
    Expr expr(Kind k, int level);
    Expr condition(int level);
    std::optional<Eq> equation();
    Element equations(int max);
    Element initialisation(const std::vector<Var>& locals);
    void writeInit(const std::string& next);

    // Statements.
    void statements(bool lastReturn);
    // Writes "%Loc [ LOCALS and the counters the body uses ]" and the %Stm part;
    // UNIT gets the locals and the statements.
    void body(Unit& unit, std::vector<Var> locals, const std::function<void()>& writeStatements,
              const std::string& extra = "");
    // A %Proc part of one procedure that adds its %Inp/ parameter to an Int
    // variable of the enclosing unit, or uses the enclosing unit's file, and a
    // call of it; empty when there is none.
    struct NestedCall {
        std::string declaration, call;
        Action run;
    };
    std::optional<NestedCall> nestedProcedure(const std::vector<Var>& locals);
    std::string nested_;  // the %Proc part body() writes after the %Loc part
    bool alg_ = false;    // the body written is an %Alg part
    // An %Alg part: conditional elements, each going on to the next.
    void algorithm(bool lastReturn);
    void statement();
    void statementOf(int r, const std::string& lb);
    bool builtinCall(const std::string& lb);
    // A call of P from the body being written; empty when no actual fits.
    std::optional<std::pair<std::string, Action>> procedureCall(const ProcedureRef& p);
    std::vector<ProcedureRef> callable() const;
    void fileStatement(const std::string& lb);
    void floatLiterals(const std::string& lb);
    void writeln(const std::string& lb, const std::vector<Expr>& items, bool newline = true);

    void declareTypes();
    void declareGlobals(bool dprog);
    void declareProcedures();
    void startingProcedure(Procedure& p);
    ProcessRef adder_;  // the process the starting procedure starts
    void declareProcesses();
    void processUnit(Process& pr, const std::string& head, std::string& text);
    void declarePackages();
    void mainBody();
    std::string varList(const std::vector<Var>& vars);
    bool agent_ = false;
    int pairs_ = 0, workers_ = 0;
    bool mid_ = false;
    bool project_ = false;
    int printer_ = -1;    // which process, in the order of declaration, prints
    int processCount_ = 0;
    bool printerNext() { return processCount_++ == printer_; }
    bool input_ = false;
};

void Generator::droppable(const std::function<void()>& write)
{
    const int id = ++marks_;
    out_ += openMark(id);
    auto inner = std::make_shared<Actions>();
    Actions* saved = acts_;
    acts_ = inner.get();
    write();
    acts_ = saved;
    out_ += kCloseMark;
    act([id, inner](Machine& m) {
        if (!m.dropped(id))
            run(m, *inner);
    });
}

// Gives each equation of EQS a mark and the text of the element.
Element Generator::marked(const std::vector<Eq>& eqs)
{
    Element e;
    for (Eq q : eqs) {
        q.mark = ++marks_;
        e.text += openMark(q.mark) + q.text + " ^ " + kCloseMark;
        e.eqs.push_back(q);
    }
    return e;
}

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
    if (file_ == 0 && !types_.empty() && rng_.chance(35))
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

// An Int literal's text: now and then with leading zeros, which keep its
// decimal value ("010" is ten, "09" nine).
std::string Generator::intText(int v)
{
    const std::string digits = std::to_string(v);
    if (rng_.chance(2))
        return (rng_.chance(30) ? "00" : "0") + digits;
    return digits;
}

Expr Generator::literal(Kind k)
{
    switch (k) {
    case Kind::Int: return intLiteral(rng_.below(50));
    case Kind::Float: {
        const std::string text = std::to_string(rng_.below(20)) + "." + std::to_string(rng_.below(100));
        return constant(Kind::Float, text, floatValue(floatLiteral(text)));
    }
    case Kind::String: {
        if (oddLiteral_) {
            // Once in a program: a literal the lexer takes that C++ does not
            // take as it stands (several u in an escape, a line break in it).
            oddLiteral_ = false;
            return rng_.chance(50) ? constant(Kind::String, "\"\\uuuu0041\"", stringValue("A"))
                                   : constant(Kind::String, "\"two\nlines\"", stringValue("two\nlines"));
        }
        // Each text with the value C++ gives it.
        static const std::vector<std::pair<std::string, std::string>> texts = {
            {"\"\"", ""},           {"\"a\"", "a"},     {"\"text\"", "text"},  {"\"tab\\tx\"", "tab\tx"},
            {"\"q\\\"q\"", "q\"q"}, {"\"\\101\"", "A"}, {"\"\\u0042\"", "B"}, {"\" \"", " "}};
        const auto& t = rng_.pick(texts);
        return constant(Kind::String, t.first, stringValue(t.second));
    }
    case Kind::Bool: {
        static const std::vector<std::string> texts = {"$T", "$F", "$t", "$f"};
        const std::string& t = rng_.pick(texts);
        return constant(Kind::Bool, t, boolValue(t == "$T" || t == "$t"));
    }
    case Kind::Logic: {
        static const std::vector<std::string> texts = {"TT", "FF", "tt", "ff"};
        const std::string& t = rng_.pick(texts);
        Value v = boolValue(t == "TT" || t == "tt");
        v.kind = Kind::Logic;
        return constant(Kind::Logic, t, v);
    }
    default: break;
    }
    return intLiteral(0);
}

// The designators of kind WANT within P: the variable itself, its fields, its
// elements at indexes in range.
void Generator::designators(const Place& p, Kind want, int level, std::vector<Place>& found)
{
    const TypeRef& t = p.type;
    if (t->kind == want && t->basic()) {
        found.push_back(p);
        return;
    }
    if (level > 2)
        return;
    if (t->kind == Kind::Record || t->kind == Kind::Union) {
        // A union is read through the field it was last written by: only the first.
        const std::size_t n = t->kind == Kind::Union ? 1 : t->fields.size();
        for (std::size_t i = 0; i < n; ++i)
            designators(fieldOf(p, i), want, level + 1, found);
    } else if (t->kind == Kind::Array && t->element->kind == want) {
        std::vector<int> index;
        for (int n : t->dims)
            index.push_back(rng_.below(n));
        found.push_back(elementOf(p, index));
    }
}

std::vector<Place> Generator::designatorsOf(Kind want, bool writable)
{
    std::vector<Place> found;
    for (const std::vector<Var>* vars : {&globals_, &scope_})
        for (const Var& v : *vars) {
            if ((writable && !v.writable) || !v.readable || (vars == &globals_ && !visible(v)))
                continue;
            designators(variable(v.name, v.type), want, 0, found);
        }
    if (!writable)
        for (const Var& v : counters_)
            if (v.type->kind == want)
                found.push_back(variable(v.name, v.type));
    return found;
}

// The names among DESIGNATORS: Feof, Getc, Getchar and Ungetchar take a name, not a designator.
std::vector<Place> plainNames(const std::vector<Place>& designators)
{
    std::vector<Place> names;
    for (const Place& d : designators)
        if (d.text.find_first_of(".[") == std::string::npos)
            names.push_back(d);
    return names;
}

Expr Generator::expr(Kind k, int level)
{
    const std::vector<Place> names = designatorsOf(k, false);
    const int r = rng_.below(level > 2 ? 4 : 10);
    if (r < 2 || (r < 4 && names.empty()))
        return literal(k);
    if (r < 4)
        return read(rng_.pick(names));
    auto ifThenElse = [&] {
        const std::string i = keyword(rng_, "If");
        const Expr c = condition(level + 1);
        const std::string t = keyword(rng_, "Then");
        const Expr a = expr(k, level + 1);
        const std::string e = keyword(rng_, "Else");
        return choice(i, c, t, a, e, bracketed(expr(k, level + 1)));
    };
    // Operands are drawn left to right.
    auto two = [&](const std::string& op) {
        const Expr a = expr(k, level + 1);
        return binary(a, op, expr(k, level + 1));
    };
    auto times = [&](bool byLiteral) {
        const Expr a = expr(k, level + 1);
        return binary(a, "*", byLiteral ? literal(k) : intLiteral(rng_.below(5)));
    };
    switch (k) {
    case Kind::Int:
        switch (r) {
        case 4: return two("+");
        case 5: return two("-");
        case 6: return times(false);
        case 7: {
            const Expr a = bracketed(expr(k, level + 1));
            const std::string mod = keyword(rng_, "mod");
            return binary(a, mod, intLiteral(1 + rng_.below(7)));
        }
        case 8: return ifThenElse();
        default: {
            const Expr a = negated(expr(k, level + 1));
            return binary(a, "/", intLiteral(1 + rng_.below(4)));
        }
        }
    case Kind::Float:
        switch (r) {
        case 4:
        case 5: return two("+");
        case 6: return times(true);
        case 7: {
            const Expr a = bracketed(expr(k, level + 1));
            return binary(a, "-", expr(k, level + 1));
        }
        case 8: return ifThenElse();
        default:
            if (mixed_) {
                const Expr a = expr(Kind::Int, level + 1);
                return binary(a, "*", literal(k));
            }
            return negated(expr(k, level + 1));
        }
    case Kind::String:
        if (r == 9)
            return ifThenElse();
        return two("+");
    case Kind::Bool:
        return condition(level + 1);
    default: return literal(k);
    }
}

Expr Generator::condition(int level)
{
    static const std::vector<std::string> ops = {"<", "=<", ">", ">=", "=", "/="};
    auto compare = [&](Kind a, Kind b, int at) {
        const Expr x = expr(a, at);
        const std::string& op = rng_.pick(ops);
        return bracketed(binary(x, op, expr(b, at)));
    };
    switch (rng_.below(level > 2 ? 3 : 8)) {
    case 6:
        if (mixed_)
            return compare(Kind::Int, Kind::Float, level + 1);
        return compare(Kind::String, Kind::String, level + 1);
    case 7: {
        const Expr a = expr(Kind::Bool, level + 2);
        return bracketed(binary(a, "=", expr(Kind::Bool, level + 2)));
    }
    case 0: return compare(Kind::Int, Kind::Int, level + 1);
    case 1: return compare(Kind::Float, Kind::Float, level + 1);
    case 2: {
        const std::vector<Place> names = designatorsOf(Kind::Bool, false);
        return names.empty() ? literal(Kind::Bool) : read(rng_.pick(names));
    }
    case 3: {
        const Expr a = condition(level + 1);
        return binary(a, "$C", condition(level + 1));
    }
    case 4: {
        const Expr a = condition(level + 1);
        return binary(a, "$V", condition(level + 1));
    }
    default: return notted(condition(level + 1));
    }
}

// One assignment of a writable designator.
std::optional<Eq> Generator::equation()
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        const Kind k = static_cast<Kind>(rng_.below(5));
        const std::vector<Place> targets = designatorsOf(k, true);
        if (targets.empty())
            continue;
        const Place target = rng_.pick(targets);
        if (k == Kind::Logic) {
            const Expr v = literal(k);
            return Eq{"$O " + target.text + " = " + v.text, 0, "", nullptr, target, v};
        }
        if (whole_ && rng_.chance(10)) {
            // A record, union or array assigned whole.
            std::vector<std::pair<const Var*, const Var*>> pairs;
            for (const std::vector<Var>* as : {&globals_, &scope_})
                for (const Var& a : *as)
                    if (a.writable && !a.type->basic() && a.type->kind != Kind::Pointer && (as == &scope_ || visible(a)))
                        for (const std::vector<Var>* bs : {&globals_, &scope_})
                            for (const Var& b : *bs)
                                if (b.type == a.type && b.name != a.name && b.readable && (bs == &scope_ || visible(b)))
                                    pairs.push_back({&a, &b});
            if (!pairs.empty()) {
                const auto& pr = rng_.pick(pairs);
                const Place to = variable(pr.first->name, pr.first->type);
                const Expr from = read(variable(pr.second->name, pr.second->type));
                return Eq{"$O " + to.text + " = " + from.text, 0, "", nullptr, to, from};
            }
        }
        const std::vector<ProcedureRef> procs = callable();
        if (k == Kind::Int && !procs.empty() && rng_.chance(10)) {
            // A value call: the procedure runs, then the expression is the value.
            const ProcedureRef& p = rng_.pick(procs);
            const Expr value = expr(k, 2);
            const auto call = procedureCall(p);
            if (call) {
                const Action run = call->second;
                const auto eval = value.eval;
                Expr e{"? " + value.text + " : " + call->first, kPrimary, Kind::Int, [run, eval](Machine& m) {
                           run(m);
                           return eval(m);
                       }};
                return Eq{"$O " + target.text + " = " + e.text, 0, "", nullptr, target, e};
            }
        }
        const Expr value = expr(k, 0);
        return Eq{"$O " + target.text + " = " + value.text, 0, "", nullptr, target, value};
    }
    return std::nullopt;
}

Element Generator::equations(int max)
{
    Element element;
    const int n = 1 + rng_.below(max);
    for (int i = 0; i < n; ++i) {
        std::string text;
        std::vector<Eq> eqs;
        if (rng_.chance(8)) {
            const auto a = equation(), b = equation();
            if (a && b) {
                text = ">> [ " + a->text + "; " + b->text + " ]";
                eqs = {*a, *b};
            }
        } else if (rng_.chance(6)) {
            // A variable of its own, used in the same element.
            const std::string name = fresh("d");
            const Kind dk = static_cast<Kind>(rng_.below(4));
            const TypeRef t = basicType(dk);
            const std::string nd = keyword(rng_, "NewDec");
            const std::string tt = typeText(t);
            const Expr value = expr(dk, 2);
            text = "$O " + nd + "(" + name + " : " + tt + ") ^ $O " + name + " = " + value.text;
            eqs = {Eq{"", 0, name, t, variable(name, t), value}};
        } else if (const auto e = equation()) {
            text = e->text;
            eqs = {*e};
        }
        if (eqs.empty())
            continue;
        const int id = ++marks_;
        element.text += openMark(id) + text + " ^ " + kCloseMark;
        for (Eq& q : eqs) {
            q.mark = id;
            element.eqs.push_back(q);
        }
    }
    return element;
}

// An element that sets every part of LOCALS that can be read.
Element Generator::initialisation(const std::vector<Var>& locals)
{
    std::vector<Eq> eqs;
    std::function<void(const Place&)> set = [&](const Place& p) {
        const TypeRef& t = p.type;
        if (t->basic()) {
            const Expr v = literal(t->kind);
            eqs.push_back(Eq{"$O " + p.text + " = " + v.text, 0, "", nullptr, p, v});
        } else if (t->kind == Kind::Record) {
            for (std::size_t i = 0; i < t->fields.size(); ++i)
                set(fieldOf(p, i));
        } else if (t->kind == Kind::Union) {
            set(fieldOf(p, 0));
        } else if (t->kind == Kind::Array) {
            std::vector<int> index(t->dims.size(), 0);
            for (;;) {
                set(elementOf(p, index));
                std::size_t d = index.size();
                while (d > 0 && ++index[d - 1] == t->dims[d - 1])
                    index[--d] = 0;
                if (d == 0)
                    break;
            }
        }
    };
    for (const Var& v : locals)
        if (v.readable && v.type->kind != Kind::Pointer)
            set(variable(v.name, v.type));
    return marked(eqs);
}

// Writes the element that sets the locals, going on to NEXT.
void Generator::writeInit(const std::string& next)
{
    if (!initPending_)
        return;
    initPending_ = false;
    if (init_.eqs.empty()) {
        if (next != "NEXT")
            line("LB = " + label() + " => $OLB = " + next + ";");
        return;
    }
    line("LB = " + label() + " => " + init_.text + "$OLB = " + next + ";");
    act(elementAction(init_.eqs));
}

std::vector<ProcedureRef> Generator::callable() const
{
    std::vector<ProcedureRef> found;
    if (file_ != 0)
        return found;
    for (std::size_t i = 0; i < callable_ && i < procedures_.size(); ++i)
        if (!pure_ || procedures_[i]->pure)
            found.push_back(procedures_[i]);
    return found;
}

// Runs a procedure whose actuals the caller computed; its frame's father is
// its caller's frame for a nested procedure, its package's for a package's,
// else the program's.
void callProcedure(Machine& m, const Procedure& p, const std::vector<Value>& values, const std::vector<Value*>& refs)
{
    Frame f;
    f.up = p.nested ? m.frame : !p.package.empty() ? m.instance.at(p.package) : m.files.at(0);
    bindParams(f, p.params, values, refs);
    runUnit(m, *p.unit, f);
}

Action callAction(const ProcedureRef& p, const std::vector<Actual>& actuals)
{
    return [p, actuals](Machine& m) {
        m.step();
        std::vector<Value> values;
        std::vector<Value*> refs;
        evaluateActuals(m, actuals, values, refs);
        callProcedure(m, *p, values, refs);
    };
}

std::optional<std::pair<std::string, Action>> Generator::procedureCall(const ProcedureRef& p)
{
    std::string args;
    std::vector<Actual> actuals;
    std::vector<std::string> iops;  // one variable to one %Iop/ parameter
    for (std::size_t i = 0; i < p->params.size(); ++i) {
        const Var& formal = p->params[i].second;
        std::string actual;
        Actual a;
        if (p->params[i].first) {
            // %Iop/: a variable of the formal's very type.
            std::vector<const Var*> candidates;
            for (const std::vector<Var>* vars : {&globals_, &scope_})
                for (const Var& v : *vars)
                    if (v.writable && v.readable && (vars == &scope_ || visible(v)) &&
                        (v.type == formal.type ||
                         (v.type->basic() && formal.type->basic() && v.type->kind == formal.type->kind)) &&
                        std::find(iops.begin(), iops.end(), v.name) == iops.end())
                        candidates.push_back(&v);
            if (candidates.empty())
                return std::nullopt;
            const Var& chosen = *rng_.pick(candidates);
            iops.push_back(chosen.name);
            a.ref = true;
            a.place = variable(chosen.name, chosen.type);
            actual = "%Iop/ " + chosen.name;
        } else if (!p->literal.empty()) {
            a.value = constant(Kind::Float, p->literal, floatValue(floatLiteral(p->literal)));
            actual = "%Inp/ " + p->literal;
        } else if (formal.type->basic()) {
            a.value = expr(formal.type->kind, 1);
            actual = "%Inp/ " + a.value.text;
        } else {
            std::vector<const Var*> candidates;
            for (const std::vector<Var>* vars : {&globals_, &scope_})
                for (const Var& v : *vars)
                    if (v.type == formal.type && v.readable && (vars == &scope_ || visible(v)))
                        candidates.push_back(&v);
            if (candidates.empty())
                return std::nullopt;
            const Var& chosen = *rng_.pick(candidates);
            a.value = read(variable(chosen.name, chosen.type));
            actual = "%Inp/ " + chosen.name;
        }
        actuals.push_back(a);
        args += (i ? "; " : "") + actual + " | " + formal.name;
    }
    return std::make_pair(p->name + "(" + args + ")", callAction(p, actuals));
}

void Generator::writeln(const std::string& lb, const std::vector<Expr>& items, bool newline)
{
    std::string args;
    for (const Expr& e : items)
        args += (args.empty() ? "" : ", ") + e.text;
    line("LB = " + lb + " => " + keyword(rng_, newline ? "Writeln" : "Write") + "(" + args + ");");
    std::vector<std::function<Value(Machine&)>> values;
    for (const Expr& e : items)
        values.push_back(e.eval);
    act([values, newline](Machine& m) {
        m.step();
        std::string text;
        for (const auto& v : values)
            text += shown(v(m));
        m.out += text + (newline ? "\n" : "");
    });
}

bool Generator::builtinCall(const std::string& lb)
{
    const std::vector<Place> ints = designatorsOf(Kind::Int, true);
    const std::vector<Place> strings = designatorsOf(Kind::String, true);
    switch (rng_.below(6)) {
    case 0:
    case 1: {
        if (!print_)
            break;
        std::vector<Expr> items;
        const int n = 1 + rng_.below(3);
        for (int i = 0; i < n; ++i)
            items.push_back(expr(static_cast<Kind>(rng_.below(4)), 1));
        writeln(lb, items, rng_.chance(50));
        return true;
    }
    case 2:
        if (!strings.empty()) {
            const int code = 65 + rng_.below(26);
            const Place target = rng_.pick(strings);
            line("LB = " + lb + " => " + keyword(rng_, "Itoc") + "(" + intText(code) + ", " + target.text + ");");
            act([target, code](Machine& m) { store(*target.at(m), stringValue(std::string(1, static_cast<char>(code)))); });
            return true;
        }
        break;
    case 3:
        if (!ints.empty()) {
            const Place target = rng_.pick(ints);
            const Expr s = expr(Kind::String, 1);
            line("LB = " + lb + " => " + keyword(rng_, "Strlen") + "(" + target.text + ", " + s.text + ");");
            const auto eval = s.eval;
            act([target, eval](Machine& m) {
                const Value v = eval(m);
                Value n = intValue(static_cast<std::int32_t>(v.s.size()));
                n.known = v.known;
                store(*target.at(m), n);
            });
            return true;
        }
        break;
    default: break;
    }
    if (!print_)
        return false;
    writeln(lb, {expr(Kind::Int, 1)});
    return true;
}

// A file written, closed, read back and closed; or, now and then, a file
// that cannot be opened (its folder is missing), which Feof finds at its end.
void Generator::fileStatement(const std::string& lb)
{
    const std::string& f = stream_;
    const std::vector<Place> ints = designatorsOf(Kind::Int, true);
    const std::vector<Place> strings = plainNames(designatorsOf(Kind::String, true));
    const std::vector<Place> bools = plainNames(designatorsOf(Kind::Bool, true));
    if (print_ && !bools.empty() && rng_.chance(25)) {
        const Place b = rng_.pick(bools);
        line("LB = " + lb + " => " + keyword(rng_, "Fopen") + "(" + f + ", \"nodir/" + streamFile_ + "\");");
        if (!ints.empty())
            line("LB = " + label() + " => " + keyword(rng_, "Fread") + "(" + f + ", " + rng_.pick(ints).text + ");");
        line("LB = " + label() + " => " + keyword(rng_, "Feof") + "(" + f + ", " + b.text + ");");
        act([b](Machine& m) { store(*b.at(m), boolValue(true)); });
        writeln(label(), {read(b)});
        line("LB = " + label() + " => " + keyword(rng_, "Fclose") + "(" + f + ");");
        return;
    }
    const Expr number = expr(Kind::Int, 1), text = expr(Kind::String, 1);
    line("LB = " + lb + " => " + keyword(rng_, "Fopen") + "(" + f + ", \"" + streamFile_ + "\");");
    line("LB = " + label() + " => " + keyword(rng_, "Fwrite") + "(" + f + ", " + number.text + ", \" \");");
    line("LB = " + label() + " => " + keyword(rng_, "Fwriteln") + "(" + f + ", " + text.text + ");");
    line("LB = " + label() + " => " + keyword(rng_, "Fclose") + "(" + f + ");");
    line("LB = " + label() + " => " + keyword(rng_, "Fopen") + "(" + f + ", \"" + streamFile_ + "\");");
    // What is read back does not depend on what the file held before: the
    // number written first is read first, then the blank after it.
    std::optional<Place> number2, character, end;
    if (!ints.empty()) {
        number2 = rng_.pick(ints);
        line("LB = " + label() + " => " + keyword(rng_, "Fread") + "(" + f + ", " + number2->text + ");");
    }
    if (!strings.empty()) {
        character = rng_.pick(strings);
        line("LB = " + label() + " => " + keyword(rng_, "Getc") + "(" + f + ", " + character->text + ");");
        line("LB = " + label() + " => " + keyword(rng_, "Ungetc") + "(" + f + ", " + character->text + ");");
    }
    if (!bools.empty()) {
        end = rng_.pick(bools);
        line("LB = " + label() + " => " + keyword(rng_, "Feof") + "(" + f + ", " + end->text + ");");
    }
    line("LB = " + label() + " => " + keyword(rng_, "QUVEof") + "(" + f + ", \"x\");");
    line("LB = " + label() + " => " + keyword(rng_, "Fclose") + "(" + f + ");");
    const auto written = number.eval, line2 = text.eval;
    act([written, line2, number2, character, end](Machine& m) {
        m.step();
        const Value n = written(m);
        line2(m);
        if (number2)
            store(*number2->at(m), n);
        if (character)
            store(*character->at(m), stringValue(" "));
        if (end)
            store(*end->at(m), boolValue(false));
    });
}

// A Float variable set from a literal and compared with it, the Float
// constants compared with their literals, and arithmetic on literals alone:
// each literal is a float, as the variables are. Now and then the ends of
// the Int range beside them.
void Generator::floatLiterals(const std::string& lb)
{
    std::vector<Expr> items;
    auto add = [&](const Expr& e) {
        if (!items.empty())
            items.push_back(constant(Kind::String, "\" \"", stringValue(" ")));
        items.push_back(e);
    };
    const std::vector<Place> floats = designatorsOf(Kind::Float, true);
    const Expr lit = literal(Kind::Float);
    if (!floats.empty()) {
        const Place target = rng_.pick(floats);
        line("LB = " + lb + " => $O " + target.text + " = " + lit.text + " ^ $OLB = NEXT;");
        act(elementAction({Eq{"", 0, "", nullptr, target, lit}}));
        add(binary(read(target), "=", lit));
        if (rng_.chance(40))
            add(binary(read(target), "/=", lit));
        if (rng_.chance(40)) {
            const Expr ten = constant(Kind::Float, "10.0", floatValue(10.0f));
            add(binary(binary(read(target), "*", ten), "=", binary(lit, "*", ten)));
        }
    }
    for (const Var& g : globals_)
        if (!g.literal.empty() && g.type->kind == Kind::Float && visible(g) && rng_.chance(60)) {
            const bool negative = g.literal[0] == '-';
            const std::string digits = negative ? g.literal.substr(1) : g.literal;
            const Expr c = constant(Kind::Float, digits, floatValue(floatLiteral(digits)));
            add(binary(read(variable(g.name, g.type)), "=", negative ? negated(c) : c));
        }
    switch (rng_.below(4)) {
    case 3: {
        // Sums and products that hold in float and fail in double.
        const Expr tenth = constant(Kind::Float, "0.1", floatValue(floatLiteral("0.1")));
        const Expr sum = rng_.chance(50) ? binary(tenth, "*", constant(Kind::Float, "3.0", floatValue(3.0f)))
                                         : binary(tenth, "+", constant(Kind::Float, "0.2", floatValue(floatLiteral("0.2"))));
        add(bracketed(binary(sum, "=", constant(Kind::Float, "0.3", floatValue(floatLiteral("0.3"))))));
        break;
    }
    case 0: {
        const Expr a = constant(Kind::Float, "16777217.0", floatValue(floatLiteral("16777217.0")));
        add(binary(a, "-", constant(Kind::Float, "16777216.0", floatValue(16777216.0f))));
        break;
    }
    case 1: {
        const Expr a = literal(Kind::Float), b = literal(Kind::Float);
        const Expr product = binary(a, "*", b);
        add(bracketed(binary(product, "=", literal(Kind::Float))));
        add(binary(binary(a, "*", b), "-", literal(Kind::Float)));
        break;
    }
    default: {
        const Expr a = literal(Kind::Float);
        add(binary(a, "+", intLiteral(rng_.below(9))));
        break;
    }
    }
    if (rng_.chance(20)) {
        // The ends of the Int range, the greatest with leading zeros.
        add(constant(Kind::Int, "0" + intText(2147483647), intValue(2147483647)));
        Expr least = constant(Kind::Int, "-2147483648", intValue(-2147483647 - 1));
        least.prec = kUnary;
        add(least);
    }
    writeln(floats.empty() ? lb : label(), items);
}

// One statement; every statement but the last of a list ends with NEXT.
void Generator::statement()
{
    const int r = rng_.below(depth_ > 1 ? 4 : 15);
    const std::string lb = label();
    droppable([&] { statementOf(r, lb); });
}

Eq increment(const Place& counter)
{
    return Eq{"", 0, "", nullptr, counter, binary(read(counter), "+", constant(Kind::Int, "1", intValue(1)))};
}

void Generator::statementOf(int r, const std::string& lb)
{
    if (r == 0) {
        const std::vector<ProcedureRef> procs = callable();
        if (!procs.empty())
            if (const auto call = procedureCall(rng_.pick(procs))) {
                line("LB = " + lb + " => " + call->first + ";");
                act(call->second);
                return;
            }
    }
    if (r == 1 && builtinCall(lb))
        return;
    if (r == 4) {
        const Expr cond = condition(0);
        const Element yes = equations(2);
        std::string text = "LB = " + lb + " ^ " + cond.text + " => ( " + yes.text + "$OLB = NEXT";
        Action no;
        if (rng_.chance(70)) {
            const Element e = equations(2);
            text += " | " + e.text + "$OLB = NEXT";
            no = elementAction(e.eqs);
        }
        line(text + " );");
        const Action a = elementAction(yes.eqs);
        const auto test = cond.eval;
        act([test, a, no](Machine& m) {
            if (known(test(m)).b)
                a(m);
            else if (no)
                no(m);
        });
        return;
    }
    if (r == 5) {
        // A case statement with two guarded branches and a default.
        const std::string a = label(), b = label(), d = label();
        const Expr first = condition(1);
        const Expr second = condition(1);
        line("? [ LB = " + lb + " ^ " + first.text + " => $OLB = " + a + " | " + second.text + " => $OLB = " + b +
             " |~ => $OLB = " + d + ";");
        std::vector<Action> branches;
        for (const std::string& l : {a, b, d}) {
            const Element e = equations(2);
            line("\tLB = " + l + " => " + e.text + "$OLB = EXIT" + (l == d ? " ];" : ";"));
            branches.push_back(elementAction(e.eqs));
        }
        const auto x = first.eval, y = second.eval;
        act([x, y, branches](Machine& m) {
            if (known(x(m)).b)
                branches[0](m);
            else if (known(y(m)).b)
                branches[1](m);
            else
                branches[2](m);
        });
        return;
    }
    if (r == 6 || r == 7) {
        // A loop bounded by a counter of its own, or a wait: the action
        // repeats until its exit condition holds.
        const std::string c = fresh("c");
        counters_.push_back({c, basicType(Kind::Int), false});
        const Place counter = variable(c, counters_.back().type);
        line("LB = " + lb + " => $O " + c + " = 0 ^ $OLB = NEXT;");
        act(elementAction({Eq{"", 0, "", nullptr, counter, constant(Kind::Int, "0", intValue(0))}}));
        if (r == 7) {
            const std::string w = label();
            const bool guarded = rng_.chance(50);
            Element e = equations(1);
            e.eqs.push_back(increment(counter));
            const int bound = 1 + rng_.below(3);
            line("LB = " + w + (guarded ? " ^ " + c + " < 5" : "") + " => $O ( " + e.text + "$O " + c + " = " + c +
                 " + 1 ^ ^ LB = " + w + " ) $U ( " + c + " >= " + intText(bound) + " ^ $OLB = EXIT;");
            const Action once = elementAction(e.eqs);
            act([counter, guarded, bound, once](Machine& m) {
                if (guarded && known(*counter.at(m)).i >= 5)
                    return;
                do
                    once(m);
                while (known(*counter.at(m)).i < bound);
            });
            return;
        }
        const std::string head = label();
        const int bound = 1 + rng_.below(3);
        line("* [ LB = " + head + " ^ " + c + " < " + intText(bound) + " => ( $OLB = " + head + " | $OLB = EXIT )");
        ++depth_;
        const std::string saved = indent_;
        indent_ += "\t";
        auto inner = std::make_shared<Actions>();
        Actions* outer = acts_;
        acts_ = inner.get();
        const int n = rng_.below(3);
        for (int i = 0; i < n; ++i)
            statement();
        acts_ = outer;
        Element last = equations(1);
        last.eqs.push_back(increment(counter));
        line("LB = " + label() + " => " + last.text + "$O " + c + " = " + c + " + 1 ^ $OLB = " + head + " ];");
        indent_ = saved;
        --depth_;
        const Action tail = elementAction(last.eqs);
        act([counter, bound, inner, tail](Machine& m) {
            while (known(*counter.at(m)).i < bound) {
                run(m, *inner);
                tail(m);
            }
        });
        return;
    }
    if (r == 8) {
        const Element e = equations(2);
        line(">> ( LB = " + lb + " => " + e.text + "$OLB = NEXT );");
        act(elementAction(e.eqs));
        return;
    }
    if (r == 9) {
        // A pointer set in one element and followed in the next: the equations of
        // one element read the values from before it.
        std::vector<std::pair<const Var*, const Var*>> pairs;
        for (const std::vector<Var>* ps : {&globals_, &scope_})
            for (const Var& p : *ps)
                if (p.type->kind == Kind::Pointer && p.writable && (ps == &scope_ || visible(p)))
                    for (const std::vector<Var>* rs : {&globals_, &scope_})
                        for (const Var& r : *rs)
                            if (r.type == p.type->element && r.writable && (rs == &scope_ || visible(r)))
                                pairs.push_back({&p, &r});
        if (!pairs.empty()) {
            const auto& pr = rng_.pick(pairs);
            const Place p = variable(pr.first->name, pr.first->type);
            const std::string recordName = pr.second->name;
            const std::size_t field = static_cast<std::size_t>(rng_.below(static_cast<int>(p.type->element->fields.size())));
            line("LB = " + lb + " => $O " + p.text + " = &" + recordName + " ^ $OLB = NEXT;");
            const Expr address{"&" + recordName, kPrimary, Kind::Pointer, [recordName](Machine& m) {
                                   Value v;
                                   v.kind = Kind::Pointer;
                                   v.known = true;
                                   v.target = m.lookup(recordName);
                                   return v;
                               }};
            act(elementAction({Eq{"", 0, "", nullptr, p, address}}));
            const TypeRef& ft = p.type->element->fields[field].type;
            if (ft->basic() && ft->kind != Kind::Logic) {
                const Place reach = throughPointer(p, field, rng_.chance(50));
                const Expr value = expr(ft->kind, 1);
                line("LB = " + label() + " => $O " + reach.text + " = " + value.text + " ^ $OLB = NEXT;");
                act(elementAction({Eq{"", 0, "", nullptr, reach, value}}));
                if (print_)
                    writeln(label(), {read(throughPointer(p, field, true))});
            }
            return;
        }
    }
    if (r == 10) {
        // A select whose last branch is always open.
        const Expr c = condition(1);
        const Element e = equations(1);
        const Expr open = literal(Kind::Bool);
        line("LB = " + lb + " => !! [ " + c.text + " |> " + e.text + "$OLB = EXIT, " + open.text +
             " |> $OLB = EXIT, $T |> $OLB = EXIT ];");
        const Action a = elementAction(e.eqs);
        const auto test = c.eval;
        act([test, a](Machine& m) {
            if (known(test(m)).b)
                a(m);
        });
        return;
    }
    if (r == 11 && !stream_.empty()) {
        fileStatement(lb);
        return;
    }
    if (r == 12 && print_) {
        floatLiterals(lb);
        return;
    }
    const Element e = equations(3);
    line("LB = " + lb + " => " + e.text + "$OLB = NEXT;");
    act(elementAction(e.eqs));
}

void Generator::statements(bool lastReturn)
{
    writeInit("NEXT");
    const int n = 1 + rng_.below(6);
    for (int i = 0; i < n; ++i)
        statement();
    line("LB = " + label() + " => $OLB = " + (lastReturn ? keyword(rng_, "RETURN") : keyword(rng_, "STOP")));
}

void Generator::body(Unit& unit, std::vector<Var> locals, const std::function<void()>& writeStatements,
                     const std::string& extra)
{
    const std::string saved = indent_;
    if (!globals_.empty() && rng_.chance(15)) {
        // A local of a global's name and type, which hides it.
        const Var& g = rng_.pick(globals_);
        bool taken = false;
        for (const std::vector<Var>* vars : {static_cast<const std::vector<Var>*>(&scope_), static_cast<const std::vector<Var>*>(&locals)})
            for (const Var& v : *vars)
                taken = taken || v.name == g.name;
        if (!taken && g.type->kind != Kind::Pointer)
            locals.push_back({g.name, g.type, true});
    }
    scope_.insert(scope_.end(), locals.begin(), locals.end());
    counters_.clear();
    init_ = initialisation(locals);
    initPending_ = true;
    std::string text;
    out_.swap(text);
    indent_ += "\t";
    Actions* outer = acts_;
    acts_ = &unit.body;
    writeStatements();
    acts_ = outer;
    initPending_ = false;
    indent_ = saved;
    out_.swap(text);
    for (const Var& c : counters_)
        locals.push_back(c);
    unit.locals = locals;
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

std::optional<Generator::NestedCall> Generator::nestedProcedure(const std::vector<Var>& locals)
{
    auto p = std::make_shared<Procedure>();
    p->nested = true;
    p->pure = pure_;
    if (!stream_.empty() && rng_.chance(70)) {
        // A procedure that uses the file of the unit around it, with variables
        // of its own and of that unit.
        const std::string name = fresh("p"), k = fresh("a");
        p->name = name;
        p->params = {{false, {k, basicType(Kind::Int), false}}};
        const std::vector<Var> savedScope = scope_, savedCounters = counters_;
        const Element savedInit = init_;
        const bool savedPending = initPending_;
        const std::string savedIndent = indent_;
        scope_.insert(scope_.end(), locals.begin(), locals.end());
        scope_.push_back(p->params[0].second);
        std::vector<Var> own;
        for (Kind kind : {Kind::Int, Kind::String, Kind::Bool})
            if (rng_.chance(60))
                own.push_back({fresh("v"), basicType(kind), true});
        std::string text;
        out_.swap(text);
        indent_ += "\t";
        line(name + "(%Inp/ " + k + " : Int) == [");
        indent_ += "\t";
        body(*p->unit, own, [&] {
            writeInit("NEXT");
            droppable([&] { fileStatement(label()); });
            if (rng_.chance(50))
                statement();
            line("LB = " + label() + " => $OLB = " + keyword(rng_, "RETURN"));
        });
        indent_ = savedIndent + "\t";
        line("]");
        out_.swap(text);
        indent_ = savedIndent;
        scope_ = savedScope;
        counters_ = savedCounters;
        init_ = savedInit;
        initPending_ = savedPending;
        const Expr digit = intLiteral(rng_.below(9));
        Actual a;
        a.value = digit;
        return NestedCall{keyword(rng_, "%Proc") + " [\n" + text + indent_ + "]",
                          name + "(%Inp/ " + digit.text + " | " + k + ")", callAction(p, {a})};
    }
    std::vector<const Var*> targets;
    for (const std::vector<Var>* vars : {static_cast<const std::vector<Var>*>(&scope_), &locals})
        for (const Var& v : *vars)
            if (v.writable && v.readable && v.type->kind == Kind::Int)
                targets.push_back(&v);
    if (targets.empty())
        return std::nullopt;
    const std::string name = fresh("p"), k = fresh("a");
    const Var& target = *rng_.pick(targets);
    p->name = name;
    p->params = {{false, {k, basicType(Kind::Int), false}}};
    const Place t = variable(target.name, target.type);
    p->unit->body.push_back(elementAction(
        {Eq{"", 0, "", nullptr, t, binary(read(t), "+", read(variable(k, basicType(Kind::Int))))}}));
    const Expr digit = intLiteral(rng_.below(9));
    Actual a;
    a.value = digit;
    return NestedCall{keyword(rng_, "%Proc") + " [ " + name + "(%Inp/ " + k + " : Int) == [ %Stm [ LB = i => $O " +
                          target.name + " = " + target.name + " + " + k + " ^ $OLB = RETURN ] ] ]",
                      name + "(%Inp/ " + digit.text + " | " + k + ")", callAction(p, {a})};
}

void Generator::algorithm(bool lastReturn)
{
    alg_ = true;
    const int n = 1 + rng_.below(5);
    std::vector<std::string> labels;
    for (int i = 0; i <= n; ++i)
        labels.push_back(label());
    if (!init_.eqs.empty())
        writeInit(labels[0]);
    initPending_ = false;
    // Now and then an element declares with NewDec a variable of a global's
    // name: the elements above it mean the global, those below it the new variable.
    const Var* global = nullptr;
    int declaredAt = -1;
    if (rng_.chance(60)) {
        std::vector<const Var*> candidates;
        for (const Var& g : globals_) {
            bool taken = false;
            for (const std::vector<Var>* vars : {&scope_, &counters_})
                for (const Var& v : *vars)
                    taken = taken || v.name == g.name;
            if (!taken && visible(g) && g.type->basic() && g.type->kind != Kind::Logic)
                candidates.push_back(&g);
        }
        if (!candidates.empty()) {
            global = rng_.pick(candidates);
            declaredAt = n > 1 ? 1 + rng_.below(n - 1) : 0;
        }
    }
    for (int i = 0; i < n; ++i) {
        const bool guarded = i != declaredAt && rng_.chance(30);
        Expr guard;
        if (guarded)
            guard = condition(1);
        if (i == declaredAt)
            hidden_.insert(global->name);
        Element e = equations(3);
        if (i + 1 == declaredAt) {
            // The element above the NewDec reads the global that the new variable hides below.
            // An Int takes a Float, and a Float an Int, as C++ converts them.
            const Kind k = global->type->kind;
            std::vector<Place> targets;
            for (const Kind tk : {Kind::Int, Kind::Float, Kind::String, Kind::Bool})
                if (tk == k || (k <= Kind::Float && tk <= Kind::Float))
                    for (const Place& p : designatorsOf(tk, true))
                        if (p.text != global->name)
                            targets.push_back(p);
            if (!targets.empty()) {
                const Place to = rng_.pick(targets);
                const Expr from = read(variable(global->name, global->type));
                const Element r = marked({Eq{"$O " + to.text + " = " + from.text, 0, "", nullptr, to, from}});
                e.text = r.text + e.text;
                e.eqs.insert(e.eqs.begin(), r.eqs[0]);
            }
        }
        if (i == declaredAt) {
            const Expr value = expr(global->type->kind, 2);
            const std::string nd = keyword(rng_, "NewDec");
            const Eq q{"", 0, global->name, global->type, variable(global->name, global->type), value};
            const Element d = marked({q});
            e.text = openMark(d.eqs[0].mark) + "$O " + nd + "(" + global->name + " : " + typeText(global->type) + ") ^ $O " +
                     global->name + " = " + value.text + " ^ " + kCloseMark + e.text;
            e.eqs.insert(e.eqs.begin(), d.eqs[0]);
            hidden_.erase(global->name);
        }
        std::string at = labels[i];
        if (i == declaredAt && print_) {
            // Printed just above the NewDec, the global shows which variable the name reached.
            writeln(at, {read(variable(global->name, global->type))});
            at = label();
        }
        line("LB = " + at + (guarded ? " ^ " + guard.text : "") + " => " + e.text + "$OLB = " + labels[i + 1] + ";");
        const Action a = elementAction(e.eqs);
        const auto test = guard.eval;
        // An element whose guard fails goes on to the next one below it, which is the one it names.
        act([guarded, test, a](Machine& m) {
            if (!guarded || known(test(m)).b)
                a(m);
        });
    }
    line("LB = " + labels[n] + " => $OLB = " + (lastReturn ? keyword(rng_, "RETURN") : keyword(rng_, "STOP")));
}

void Generator::declareGlobals(bool dprog)
{
    if (rng_.chance(60)) {
        std::vector<std::string> items;
        const int n = 1 + rng_.below(4);
        for (int i = 0; i < n; ++i) {
            const Kind k = static_cast<Kind>(rng_.below(5));
            Var v{fresh("K"), basicType(k), false};
            // Now and then an Int constant given a Float literal, which it truncates.
            Expr value = literal(k == Kind::Int && rng_.chance(10) ? Kind::Float : k);
            if ((k == Kind::Int || k == Kind::Float) && rng_.chance(30))
                value = Expr{"-" + value.text, kUnary, value.kind, negated(value).eval};
            v.start = shaped(v.type, true);
            static const std::set<int> none;
            Machine scratch(none);
            store(v.start, known(value.eval(scratch)));
            v.literal = value.text;
            items.push_back(v.name + " = " + value.text + " : " + typeText(v.type));
            globals_.push_back(v);
        }
        line(std::string("%Glob") + " [");
        for (std::size_t i = 0; i < items.size(); ++i)
            line("\t" + items[i] + (i + 1 < items.size() ? ";" : ""));
        line("]");
    }
    if (rng_.chance(dprog ? 30 : 70)) {
        std::vector<Var> vars;
        const int n = 1 + rng_.below(4);
        for (int i = 0; i < n; ++i) {
            Var v{fresh("g"), anyVarType(), true};
            v.shared = true;
            v.start = shaped(v.type, true);
            vars.push_back(v);
        }
        line(std::string("%Var") + " [ " + varList(vars) + " ]");
        globals_.insert(globals_.end(), vars.begin(), vars.end());
    }
}

void Generator::declareProcedures()
{
    const int n = rng_.below(4);
    const bool floatFormal = rng_.chance(20);
    // A procedure whose nested procedure binds, and it or the procedure starts,
    // controls of the procedure: they reach its variables through the frames.
    const bool starter = rng_.chance(12);
    if (n == 0 && !floatFormal && !starter)
        return;
    line(keyword(rng_, "%Proc") + " [");
    std::vector<std::string> texts;
    for (int i = 0; i < n + (floatFormal ? 1 : 0) + (starter ? 1 : 0); ++i) {
        auto p = std::make_shared<Procedure>();
        std::string text;
        out_.swap(text);
        const std::string saved = indent_;
        if (starter && i == n + (floatFormal ? 1 : 0)) {
            startingProcedure(*p);
        } else if (i == n) {
            // A Float formal compared with the literal that is its actual.
            p->name = fresh("p");
            p->pure = false;
            p->literal = literal(Kind::Float).text;
            p->fromMain = true;
            const Var x{fresh("a"), basicType(Kind::Float), true};
            p->params.push_back({false, x});
            line("\t" + p->name + "(" + keyword(rng_, "%Inp/") + " " + x.name + " : " + typeText(x.type) + ") == [");
            indent_ += "\t\t";
            scope_ = {x};
            print_ = true;
            const Expr lit = constant(Kind::Float, p->literal, floatValue(floatLiteral(p->literal)));
            const Expr ten = constant(Kind::Float, "10.0", floatValue(10.0f));
            body(*p->unit, {}, [&] {
                writeInit("NEXT");
                writeln(label(), {binary(read(variable(x.name, x.type)), "=", lit), constant(Kind::String, "\" \"", stringValue(" ")),
                                  binary(binary(read(variable(x.name, x.type)), "*", ten), "=", binary(lit, "*", ten))});
                line("LB = " + label() + " => $OLB = " + keyword(rng_, "RETURN"));
            });
        } else {
            p->name = fresh("p");
            // Now and then main, whose frame type must stay apart from the main body's.
            if (rng_.chance(2) && usedWords_.insert("main").second)
                p->name = "main";
            p->pure = rng_.chance(50);
            const int params = rng_.below(4);
            std::string head;
            for (int k = 0; k < params; ++k) {
                const bool iop = rng_.chance(40);
                TypeRef t = anyVarType();
                Var v{fresh("a"), t, true};
                p->params.push_back({iop, v});
                head += std::string(k ? "; " : "") + (iop ? keyword(rng_, "%Iop/") : keyword(rng_, "%Inp/")) + " " +
                        v.name + " : " + typeText(t);
            }
            line("\t" + p->name + "(" + head + ") == [");
            indent_ += "\t\t";
            scope_.clear();
            for (const auto& param : p->params)
                scope_.push_back(param.second);
            // A pure procedure may be called by processes side by side: it
            // uses no shared variable, no file and does not print.
            shared_ = print_ = !p->pure;
            pure_ = p->pure;
            std::vector<Var> locals;
            const int nl = rng_.below(4);
            for (int k = 0; k < nl; ++k)
                locals.push_back({fresh("v"), anyVarType(), true});
            std::string extra;
            stream_.clear();
            if (!p->pure && rng_.chance(20)) {
                stream_ = fresh("f");
                streamFile_ = stream_ + ".txt";
                extra = stream_ + " : " + keyword(rng_, "Stream");
            }
            callable_ = procedures_.size();
            std::optional<NestedCall> call;
            if (rng_.chance(stream_.empty() ? 20 : 60))
                call = nestedProcedure(locals);
            if (call)
                nested_ = call->declaration;
            const bool alg = !call && rng_.chance(25);
            body(*p->unit, locals, [&] {
                if (call) {
                    writeInit("NEXT");
                    line("LB = " + label() + " => " + call->call + ";");
                    act(call->run);
                }
                if (alg)
                    algorithm(true);
                else
                    statements(true);
            }, extra);
            stream_.clear();
        }
        indent_ = saved;
        line("]");
        out_.swap(text);
        texts.push_back(text);
        procedures_.push_back(p);
    }
    out_ += sectionItems(texts);
    line("]");
    shared_ = print_ = true;
    pure_ = false;
}

// Writes P: its nested procedure binds two controls of P to a process that
// adds its %Inp/ parameter to its %Iop/ one; the nested procedure or P starts
// them with P's variables; P prints what they added.
void Generator::startingProcedure(Procedure& p)
{
    const TypeRef intType = basicType(Kind::Int);
    adder_ = std::make_shared<Process>();
    adder_->name = fresh("w");
    const Var n{fresh("a"), intType, false}, r{fresh("a"), intType, true};
    adder_->params = {{false, n}, {true, r}};
    const Place rp = variable(r.name, intType);
    adder_->unit->body.push_back(
        elementAction({Eq{"", 0, "", nullptr, rp, binary(read(rp), "+", read(variable(n.name, intType)))}}));
    p.name = fresh("p");
    p.pure = false;
    p.fromMain = true;
    const std::string c1 = fresh("n"), c2 = fresh("n"), inner = fresh("p");
    const Var t1{fresh("v"), intType, true}, t2{fresh("v"), intType, true};
    const int first = rng_.below(9), second = rng_.below(9);
    const bool innerStarts = rng_.chance(50);
    const std::string start = "|| [ " + c1 + "(%Inp/ " + std::to_string(first) + " | " + n.name + "; %Iop/ " + t1.name +
                              " | " + r.name + "); " + c2 + "(%Inp/ " + std::to_string(second) + " | " + n.name +
                              "; %Iop/ " + t2.name + " | " + r.name + ") ];";
    const ProcessRef adder = adder_;
    const Place p1 = variable(t1.name, intType), p2 = variable(t2.name, intType);
    const Action run = [adder, first, second, p1, p2](Machine& m) {
        m.step();
        Frame a, b;
        a.up = b.up = m.files.at(0);
        bindParams(a, adder->params, {intValue(first), Value()}, {nullptr, p1.at(m)});
        bindParams(b, adder->params, {intValue(second), Value()}, {nullptr, p2.at(m)});
        runUnit(m, *adder->unit, a);
        runUnit(m, *adder->unit, b);
    };
    auto nested = std::make_shared<Procedure>();
    nested->name = inner;
    nested->nested = true;
    if (innerStarts)
        nested->unit->body.push_back(run);
    const std::string l1 = label(), l2 = label(), l3 = label();
    line("\t" + p.name + "( ) == [");
    line("\t\t%Loc [ " + c1 + ", " + c2 + " : NM; " + t1.name + ", " + t2.name + " : Int ]");
    line("\t\t%Proc [ " + inner + "( ) == [ %Stm [ LB = " + l1 + " => $O " + c1 + " == " + adder_->name + " ^ $O " + c2 +
         " == " + adder_->name + " ^ $OLB = NEXT; " + (innerStarts ? "LB = " + l2 + " => " + start + " " : "") + "LB = " + l3 +
         " => $OLB = RETURN ] ] ]");
    line("\t\t%Stm [");
    indent_ += "\t\t\t";
    Actions* outer = acts_;
    acts_ = &p.unit->body;
    p.unit->locals = {t1, t2};
    const Expr zero = constant(Kind::Int, "0", intValue(0));
    line("LB = " + label() + " => $O " + t1.name + " = 0 ^ $O " + t2.name + " = 0 ^ $OLB = NEXT;");
    act(elementAction({Eq{"", 0, "", nullptr, p1, zero}, Eq{"", 0, "", nullptr, p2, zero}}));
    line("LB = " + label() + " => " + inner + "( );");
    act(callAction(nested, {}));
    if (!innerStarts) {
        line("LB = " + label() + " => " + start);
        act(run);
    }
    writeln(label(), {read(p1), constant(Kind::String, "\" \"", stringValue(" ")), read(p2)});
    line("LB = " + label() + " => $OLB = " + keyword(rng_, "RETURN"));
    acts_ = outer;
    indent_.resize(indent_.size() - 3);
    line("\t\t]");
}

// The body of process PR, whose head is HEAD, into TEXT.
void Generator::processUnit(Process& pr, const std::string& head, std::string& text)
{
    const bool producer = pr.hasOut, consumer = pr.hasIn;
    const std::string saved = indent_;
    out_.swap(text);
    line("\t" + pr.name + "(" + head + ") == [");
    indent_ = saved + "\t\t";
    scope_.clear();
    counters_.clear();
    for (const auto& param : pr.params)
        scope_.push_back(param.second);
    shared_ = false;
    print_ = pr.printer;
    pure_ = true;
    std::vector<Var> locals = {{fresh("v"), basicType(Kind::Int), true}};
    const Var got{fresh("v"), pr.inType ? pr.inType : basicType(Kind::Int), true};
    if (consumer)
        locals.push_back(got);
    // What a producer of a record, union or array sends, and a Bool for the
    // channel tests, whose outcome depends on timing: it is never read.
    const Var sent{fresh("v"), pr.outType ? pr.outType : basicType(Kind::Int), true};
    if (producer && !sent.type->basic())
        locals.push_back(sent);
    Var ready{fresh("v"), basicType(Kind::Bool), true};
    ready.readable = false;
    locals.push_back(ready);
    const int nl = rng_.below(3);
    for (int k = 0; k < nl; ++k)
        locals.push_back({fresh("v"), anyVarType(), true});
    callable_ = procedures_.size();
    std::string extra;
    stream_.clear();
    if (pr.times == 0 && rng_.chance(10)) {
        stream_ = fresh("f");
        streamFile_ = stream_ + ".txt";
        extra = stream_ + " : " + keyword(rng_, "Stream");
    }
    std::optional<NestedCall> call;
    // A procedure nested in a process, using the process's locals or file.
    if (rng_.chance(stream_.empty() ? 15 : 70))
        call = nestedProcedure(locals);
    if (call)
        nested_ = call->declaration;
    const TypeRef outType = pr.outType;
    body(*pr.unit, locals, [&] {
        writeInit("NEXT");
        if (call) {
            line("LB = " + label() + " => " + call->call + ";");
            act(call->run);
        }
        const int n = rng_.below(3);
        for (int i = 0; i < n; ++i)
            statement();
        if (producer && rng_.chance(30))
            line("LB = " + label() + " => $O " + ready.name + " = out! ^ $OLB = NEXT;");
        if (consumer && rng_.chance(30))
            line("LB = " + label() + " => $O " + ready.name + " = inq? ^ $OLB = NEXT;");
        if (consumer && rng_.chance(30))
            line("LB = " + label() + " => !! [ inq? |> $OLB = EXIT, $T |> $OLB = EXIT ];");
        const Place into = variable(got.name, got.type);
        for (int i = 0; i < pr.count; ++i) {
            if (producer) {
                const Expr value = sent.type->basic() ? expr(outType->kind, 1) : read(variable(sent.name, sent.type));
                line("LB = " + label() + " => $O out ! " + value.text + " ^ $OLB = NEXT;");
                const auto eval = value.eval;
                act([eval, outType](Machine& m) {
                    m.step();
                    Value v = shaped(outType, false);
                    store(v, eval(m));
                    m.sendTo->push_back(v);
                });
            } else if (consumer) {
                line("LB = " + label() + " => $O inq ? " + got.name + " ^ $OLB = NEXT;");
                act([into](Machine& m) {
                    m.step();
                    if (m.receiveFrom->empty())
                        throw Unpredictable{"a value received that nobody sent"};
                    store(*into.at(m), m.receiveFrom->front());
                    m.receiveFrom->pop_front();
                });
            }
        }
        if (consumer && pr.count > 0 && got.type->basic() && got.type->kind != Kind::Logic && print_)
            writeln(label(), {constant(Kind::String, "\"got \"", stringValue("got ")), read(into)});
        line("LB = " + label() + " => $OLB = " + keyword(rng_, "STOP"));
    }, extra);
    stream_.clear();
    indent_ = saved;
    line("]");
    out_.swap(text);
    shared_ = print_ = true;
    pure_ = false;
}

void Generator::declareProcesses()
{
    // Pairs of a producer and a consumer joined by a channel, and workers
    // without one; with a project, some of them in a %DProg source.
    if (pairs_ + workers_ + (mid_ ? 1 : 0) == 0 && !adder_)
        return;
    std::vector<std::string> texts, dtexts;
    if (adder_) {
        const auto& n = adder_->params[0].second;
        const auto& r = adder_->params[1].second;
        texts.push_back(indent_ + "\t" + adder_->name + "(%Inp/ " + n.name + " : Int; %Iop/ " + r.name +
                        " : Int) == [ %Stm [ LB = " + label() + " => $O " + r.name + " = " + r.name + " + " + n.name +
                        " ^ $OLB = NEXT; LB = " + label() + " => $OLB = STOP ] ]\n");
    }
    std::vector<Var> dglobals;
    if (project_) {
        std::string head;
        out_.swap(head);
        const std::vector<Var> saved = globals_;
        globals_.clear();
        file_ = 1;
        out_ += "// A random program written by quvgen: processes of r.e.\n";
        out_ += std::string("%DProg") + " r1 == [ ]\n[\n";
        indent_ = "\t";
        line(syn_ ? keyword(rng_, "Syn") : keyword(rng_, "Asyn"));
        declareGlobals(true);
        file_ = 0;
        dglobals = globals_;
        globals_ = saved;
        out_.swap(head);
        dprogs_.push_back(head);
    }
    const std::string saved = indent_;
    // Writes PR into the source its file names.
    auto unit = [&](Process& pr, const std::string& head) {
        std::string text;
        if (pr.file != 0) {
            std::swap(globals_, dglobals);
            file_ = pr.file;
        }
        processUnit(pr, head, text);
        if (pr.file != 0) {
            std::swap(globals_, dglobals);
            file_ = 0;
        }
        (pr.file ? dtexts : texts).push_back(text);
    };
    auto params = [&](Process& pr) {
        std::string head;
        const int n = rng_.below(3);
        const int savedFile = file_;
        file_ = pr.file;
        for (int k = 0; k < n; ++k) {
            const bool iop = rng_.chance(40);
            TypeRef t = iop || rng_.chance(20) ? anyVarType() : basicType(static_cast<Kind>(rng_.below(4)));
            Var v{fresh("a"), t, iop};
            pr.params.push_back({iop, v});
            head += std::string(k ? "; " : "") + (iop ? keyword(rng_, "%Iop/") : keyword(rng_, "%Inp/")) + " " + v.name +
                    " : " + typeText(t);
        }
        file_ = savedFile;
        return head;
    };
    for (int i = 0; i < pairs_; ++i) {
        auto producer = std::make_shared<Process>(), consumer = std::make_shared<Process>();
        if (project_ && rng_.chance(60)) {
            producer->file = 1;
            consumer->file = rng_.chance(50) ? 1 : 0;
        }
        const bool basicOnly = producer->file != 0 || consumer->file != 0;
        // A channel of a basic type, now and then of Logic or of a record, union or array.
        TypeRef carried = basicType(static_cast<Kind>(rng_.below(4)));
        if (rng_.chance(10))
            carried = basicType(Kind::Logic);
        else if (rng_.chance(25) && !basicOnly)
            for (const TypeRef& t : types_)
                if (t->kind != Kind::Pointer && !t->name.empty() && t->name.compare(0, 4, "Node") != 0)
                    carried = t;
        const int count = 1 + rng_.below(3);
        // Each end of the channel, with its parameters and its channel formal.
        auto end = [&](Process& pr, bool sends) {
            pr.name = fresh("w");
            (sends ? pr.hasOut : pr.hasIn) = true;
            (sends ? pr.outType : pr.inType) = carried;
            pr.count = count;
            pr.printer = printerNext();
            const std::string head = params(pr);
            return head + (head.empty() ? "" : "; ") + keyword(rng_, "%Chn/") +
                   (sends ? " out(*, k : NM) : " : " inq(k : NM, *) : ") + typeText(carried);
        };
        const std::string ph = end(*producer, true);
        const std::string ch = end(*consumer, false);
        unit(*producer, ph);
        unit(*consumer, ch);
        processes_.push_back(producer);
        processes_.push_back(consumer);
    }
    if (mid_) {
        // A process that starts two of another: parallel statements nest.
        auto leaf = std::make_shared<Process>(), mid = std::make_shared<Process>();
        leaf->name = fresh("w");
        mid->name = fresh("w");
        mid->printer = printerNext();
        const std::string n = fresh("a"), m = fresh("a"), c1 = fresh("n"), c2 = fresh("n"), total = fresh("v");
        const std::string r = fresh("a"), result = fresh("a");
        const TypeRef intType = basicType(Kind::Int);
        leaf->params = {{false, {n, intType, false}}, {true, {r, intType, true}}};
        const Place rp = variable(r, intType);
        leaf->unit->body.push_back(
            elementAction({Eq{"", 0, "", nullptr, rp, binary(read(rp), "+", read(variable(n, intType)))}}));
        texts.push_back(saved + "\t" + leaf->name + "(%Inp/ " + n + " : Int; %Iop/ " + r + " : Int) == [ %Stm [ LB = " +
                        label() + " => $O " + r + " = " + r + " + " + n + " ^ $OLB = NEXT; LB = " + label() +
                        " => $OLB = STOP ] ]\n");
        const std::string second = fresh("v");
        mid->params = {{false, {m, intType, false}}, {true, {result, intType, true}}};
        mid->unit->locals = {{total, intType, true}, {second, intType, true}};
        std::string text = saved + "\t" + mid->name + "(%Inp/ " + m + " : Int; %Iop/ " + result + " : Int) == [\n" +
                           saved + "\t\t%Loc [ " + c1 + ", " + c2 + " : NM; " + total + ", " + second + " : Int ]\n" +
                           saved + "\t\t%Stm [\n" + saved + "\t\t\tLB = " + label() + " => $O " + c1 + " == " +
                           leaf->name + " ^ $O " + c2 + " == " + leaf->name + " ^ $O " + total + " = 0 ^ $O " + second +
                           " = 0 ^ $OLB = NEXT;\n" + saved + "\t\t\tLB = " + label() + " => || [ " + c1 + "(%Inp/ " + m +
                           " | " + n + "; %Iop/ " + total + " | " + r + "); " + c2 + "(%Inp/ 1 | " + n + "; %Iop/ " +
                           second + " | " + r + ") ];\n" + saved + "\t\t\tLB = " + label() + " => $O " + result + " = " +
                           total + " * 10 + " + second + " ^ $OLB = NEXT;\n";
        if (mid->printer)
            text += saved + "\t\t\tLB = " + label() + " => " + keyword(rng_, "Writeln") + "(\"nested \", " + total +
                    ", \" \", " + second + ");\n";
        text += saved + "\t\t\tLB = " + label() + " => $OLB = STOP\n" + saved + "\t\t]\n" + saved + "\t]\n";
        texts.push_back(text);
        const Place tp = variable(total, intType), sp = variable(second, intType);
        const Expr zero = constant(Kind::Int, "0", intValue(0));
        mid->unit->body.push_back(elementAction({Eq{"", 0, "", nullptr, tp, zero}, Eq{"", 0, "", nullptr, sp, zero}}));
        const ProcessRef leafRef = leaf;
        const Place mp = variable(m, intType);
        mid->unit->body.push_back([leafRef, mp, tp, sp](Machine& m) {
            const Value first = *mp.at(m);
            Frame a, b;
            a.up = b.up = m.files.at(0);
            bindParams(a, leafRef->params, {first, Value()}, {nullptr, tp.at(m)});
            bindParams(b, leafRef->params, {intValue(1), Value()}, {nullptr, sp.at(m)});
            runUnit(m, *leafRef->unit, a);
            runUnit(m, *leafRef->unit, b);
        });
        const Place rs = variable(result, intType);
        mid->unit->body.push_back(elementAction({Eq{"", 0, "", nullptr, rs,
            binary(binary(read(tp), "*", constant(Kind::Int, "10", intValue(10))), "+", read(sp))}}));
        if (mid->printer) {
            const auto x = read(tp).eval, y = read(sp).eval;
            mid->unit->body.push_back([x, y](Machine& m) { m.out += "nested " + shown(x(m)) + " " + shown(y(m)) + "\n"; });
        }
        processes_.push_back(mid);
    }
    for (int i = 0; i < workers_; ++i) {
        auto worker = std::make_shared<Process>();
        worker->name = fresh("w");
        if (project_ && rng_.chance(40))
            worker->file = 1;
        else if (rng_.chance(3) && usedWords_.insert("main").second)
            worker->name = "main";
        worker->printer = printerNext();
        const std::string head = params(*worker);
        // A count starts so many copies: they may not share a variable nor print.
        bool refs = false;
        for (const auto& param : worker->params)
            refs = refs || param.first;
        if (!refs && !worker->printer && rng_.chance(20))
            worker->times = 1 + rng_.below(3);
        unit(*worker, head);
        processes_.push_back(worker);
    }
    if (!texts.empty()) {
        line(std::string("%Pros") + " [");
        out_ += sectionItems(texts);
        line("]");
    }
    if (project_) {
        std::string& d = dprogs_.back();
        if (!dtexts.empty()) {
            d += "\t%Pros [\n";
            d += sectionItems(dtexts);
            d += "\t]\n";
        }
        d += "].\n";
        fileGlobals_.resize(2);
        fileGlobals_[1] = dglobals;
    }
    indent_ = saved;
}

// Packages, now and then with fathers, and an agent: a process with a
// package of its own, which can call the procedures of its package and its
// fathers, which call procedures of the program. Now and then a package
// declares a variable with the name of a shared variable or constant: where
// the agent's process or a procedure of a package below it uses the name, it
// means the program's, which the walker finds before the fathers' names.
void Generator::declarePackages()
{
    struct Package {
        std::string name, father;
        std::vector<Var> members;
        std::vector<ProcedureRef> procedures;
    };
    std::vector<Package> packs;
    std::vector<std::string> items;
    auto chainOf = [&](const std::string& first) {
        std::vector<const Package*> chain;
        for (std::string at = first; !at.empty();) {
            const Package* found = nullptr;
            for (const Package& p : packs)
                if (p.name == at)
                    found = &p;
            if (!found)
                break;
            chain.push_back(found);
            at = found->father;
        }
        return chain;
    };
    const int n = rng_.below(3);
    for (int i = 0; i < n; ++i) {
        Package pack;
        pack.name = fresh("pk");
        std::string text = keyword(rng_, "%Pack") + " [ " + pack.name + " :";
        if (!packs.empty() && rng_.chance(50)) {
            pack.father = rng_.pick(packs).name;
            text += " %Father [ " + pack.father + " ]";
        }
        if (rng_.chance(60)) {
            pack.members = {{fresh("v"), basicType(Kind::Int), true}};
            text += " %Loc [ " + varList(pack.members) + " ]";
            if (rng_.chance(70)) {
                auto proc = std::make_shared<Procedure>();
                proc->name = fresh("q");
                proc->package = pack.name;
                const Place v = variable(pack.members[0].name, pack.members[0].type);
                proc->unit->body.push_back(
                    elementAction({Eq{"", 0, "", nullptr, v, binary(read(v), "+", constant(Kind::Int, "1", intValue(1)))}}));
                text += " %Proc [ " + proc->name + "( ) == [ %Stm [ LB = b => $O " + v.text + " = " + v.text +
                        " + 1 ^ $OLB = RETURN ] ] ]";
                pack.procedures.push_back(proc);
            }
        }
        packs.push_back(pack);
        items.push_back(text + " ]");
    }
    // The shadowed name: a global of the main source, of Int or String.
    const Var* shadowed = nullptr;
    if (agent_ && rng_.chance(60)) {
        std::vector<const Var*> candidates;
        for (const Var& g : globals_)
            if (g.type->kind == Kind::Int || g.type->kind == Kind::String)
                candidates.push_back(&g);
        if (!candidates.empty())
            shadowed = rng_.pick(candidates);
    }
    std::string agentFather = packs.empty() || !rng_.chance(60) ? "" : rng_.pick(packs).name;
    // The package procedures that use the shadowed name, with what they give back.
    ProcedureRef own, below;
    if (shadowed) {
        const std::string& name = shadowed->name;
        const Kind kind = shadowed->type->kind;
        const TypeRef intType = basicType(Kind::Int);
        Package top;
        top.name = fresh("pk");
        top.father = agentFather;
        top.members = {{name, intType, true}, {fresh("v"), intType, true}};
        own = std::make_shared<Procedure>();
        own->name = fresh("q");
        own->package = top.name;
        own->pure = true;
        const Var y{fresh("a"), intType, false}, r{fresh("a"), intType, true};
        own->params = {{false, y}, {true, r}};
        // Here the name is the package's own variable.
        const Place mine = variable(name, intType), other = variable(top.members[1].name, intType), rp = variable(r.name, intType);
        const Expr yv = read(variable(y.name, intType));
        std::string text = keyword(rng_, "%Pack") + " [ " + top.name + " :" +
                           (top.father.empty() ? "" : " %Father [ " + top.father + " ]") + " %Loc [ " + varList(top.members) +
                           " ] %Proc [ " + own->name + "(%Inp/ " + y.name + " : Int; %Iop/ " + r.name + " : Int) == [ %Stm [ ";
        const std::string l1 = label(), l2 = label(), l3 = label();
        text += "LB = " + l1 + " => $O " + name + " = " + y.name + " ^ $O " + other.text + " = " + y.name + " * 2 ^ $OLB = NEXT; ";
        own->unit->body.push_back(elementAction({Eq{"", 0, "", nullptr, mine, yv},
            Eq{"", 0, "", nullptr, other, binary(yv, "*", constant(Kind::Int, "2", intValue(2)))}}));
        text += "LB = " + l2 + " => $O " + r.name + " = " + name + " + " + other.text + " ^ $OLB = NEXT; ";
        own->unit->body.push_back(elementAction({Eq{"", 0, "", nullptr, rp, binary(read(mine), "+", read(other))}}));
        // A procedure of the program, called from the package's. Its actuals
        // see the package procedure's parameters and the globals only: the
        // loop counters of the last process written are out of its reach.
        scope_ = {y, r};
        counters_.clear();
        shared_ = print_ = false;
        pure_ = true;
        hidden_ = {name};
        callable_ = procedures_.size();
        const std::vector<ProcedureRef> procs = callable();
        if (!procs.empty())
            if (const auto call = procedureCall(rng_.pick(procs))) {
                text += "LB = " + label() + " => " + call->first + "; ";
                own->unit->body.push_back(call->second);
            }
        hidden_.clear();
        text += "LB = " + l3 + " => $OLB = RETURN ] ] ] ]";
        top.procedures.push_back(own);
        items.push_back(text);
        packs.push_back(top);
        agentFather = top.name;
        if (rng_.chance(50)) {
            // A package between: it declares no such name, so its procedure means the program's.
            Package mid;
            mid.name = fresh("pk");
            mid.father = top.name;
            below = std::make_shared<Procedure>();
            below->name = fresh("q");
            below->package = mid.name;
            const Var r2{fresh("a"), shadowed->type, true};
            below->params = {{true, r2}};
            const Place r2p = variable(r2.name, r2.type);
            const Expr theirs = read(variable(name, shadowed->type));
            const Expr more = kind == Kind::Int ? binary(theirs, "+", constant(Kind::Int, "100", intValue(100)))
                                                : binary(theirs, "+", constant(Kind::String, "\"!\"", stringValue("!")));
            below->unit->body.push_back(elementAction({Eq{"", 0, "", nullptr, r2p, more}}));
            items.push_back(keyword(rng_, "%Pack") + " [ " + mid.name + " : %Father [ " + top.name + " ] %Proc [ " +
                            below->name + "(%Iop/ " + r2.name + " : " + typeText(r2.type) + ") == [ %Stm [ LB = " + label() +
                            " => $O " + r2.name + " = " + more.text + " ^ $OLB = NEXT; LB = " + label() +
                            " => $OLB = RETURN ] ] ] ]");
            mid.procedures.push_back(below);
            packs.push_back(mid);
            agentFather = mid.name;
        }
        shared_ = print_ = true;
        pure_ = false;
    }
    for (std::size_t i = 0; i < items.size(); ++i)
        line(items[i] + (i + 1 < items.size() ? ";" : ""));
    if (!agent_)
        return;
    // An agent: a process with a package of its own.
    auto agent = std::make_shared<Process>();
    agent->name = fresh("ag");
    agent->printer = printerNext();
    const std::string packName = fresh("pk");
    const Var z{fresh("v"), basicType(Kind::Int), true};
    agent->packages.push_back({packName, {z}});
    for (const Package* p : chainOf(agentFather))
        agent->packages.push_back({p->name, p->members});
    const TypeRef intType = basicType(Kind::Int);
    const Var k{fresh("a"), intType, false};
    agent->params.push_back({false, k});
    std::string head = "%Inp/ " + k.name + " : Int";
    std::vector<std::string> steps;
    const std::string saved = indent_;
    Actions* outer = acts_;
    acts_ = &agent->unit->body;
    std::string text;
    out_.swap(text);
    indent_ = "";
    scope_ = {k};
    counters_.clear();
    shared_ = false;
    print_ = agent->printer;
    pure_ = true;
    callable_ = procedures_.size();
    if (shadowed) {
        const Var res{fresh("a"), intType, true}, res2{fresh("a"), shadowed->type, true};
        agent->params.push_back({true, res});
        agent->params.push_back({true, res2});
        head += "; %Iop/ " + res.name + " : Int; %Iop/ " + res2.name + " : " + typeText(res2.type);
        const Var t{fresh("v"), intType, true}, t2{fresh("v"), shadowed->type, true};
        agent->unit->locals = {t, t2};
        steps.push_back("%Loc [ " + varList({t, t2}) + " ]");
        const Place tp = variable(t.name, intType), t2p = variable(t2.name, t2.type);
        const Place resp = variable(res.name, intType), res2p = variable(res2.name, res2.type);
        const std::string& name = shadowed->name;
        const bool isInt = shadowed->type->kind == Kind::Int;
        const Place theirs = variable(name, shadowed->type);
        const Element init = initialisation({t, t2});
        line("LB = " + label() + " => " + init.text + "$OLB = NEXT;");
        act(elementAction(init.eqs));
        const Expr kv = read(variable(k.name, intType));
        line("LB = " + label() + " => " + own->name + "(%Inp/ " + k.name + " | " + own->params[0].second.name +
             "; %Iop/ " + t.name + " | " + own->params[1].second.name + ");");
        act(callAction(own, {Actual{false, {}, kv}, Actual{true, tp, {}}}));
        if (below) {
            line("LB = " + label() + " => " + below->name + "(%Iop/ " + t2.name + " | " + below->params[0].second.name + ");");
            act(callAction(below, {Actual{true, t2p, {}}}));
        }
        // Here the name is the program's.
        // Now and then the name is the else value of a conditional, whose colon it follows.
        Expr mine = read(tp);
        if (isInt && rng_.chance(50)) {
            mine = binary(read(tp), "+", read(theirs));
        } else if (isInt) {
            const std::string i = keyword(rng_, "If"), t = keyword(rng_, "Then"), e = keyword(rng_, "Else");
            mine = choice(i, bracketed(binary(kv, ">", constant(Kind::Int, "100", intValue(100)))), t, read(tp), e, read(theirs));
        }
        const Expr second = isInt ? read(t2p) : binary(read(t2p), "+", read(theirs));
        line("LB = " + label() + " => $O " + res.name + " = " + mine.text + " ^ $O " + res2.name + " = " + second.text +
             " ^ $OLB = NEXT;");
        act(elementAction({Eq{"", 0, "", nullptr, resp, mine}, Eq{"", 0, "", nullptr, res2p, second}}));
        if (shadowed->shared) {
            const Expr changed = isInt ? binary(read(theirs), "+", kv)
                                       : binary(read(theirs), "+", constant(Kind::String, "\"x\"", stringValue("x")));
            line("LB = " + label() + " => $O " + name + " = " + changed.text + " ^ $OLB = NEXT;");
            act(elementAction({Eq{"", 0, "", nullptr, theirs, changed}}));
        }
        if (print_)
            writeln(label(), {read(theirs)});
    } else if (print_) {
        writeln(label(), {constant(Kind::String, "\"agent \"", stringValue("agent ")), read(variable(k.name, intType))});
    }
    for (const Package* pk : chainOf(agentFather))
        for (const ProcedureRef& proc : pk->procedures)
            if (proc->params.empty() && rng_.chance(50)) {
                line("LB = " + label() + " => " + proc->name + "( );");
                act(callAction(proc, {}));
            }
    line("LB = " + label() + " => $OLB = STOP");
    out_.swap(text);
    acts_ = outer;
    indent_ = saved;
    shared_ = print_ = true;
    pure_ = false;
    // The agent stands on one line: its statements joined by blanks.
    std::string joined;
    for (std::size_t i = 0; i < text.size(); ++i)
        joined += text[i] == '\n' ? (i + 1 < text.size() ? " " : "") : std::string(1, text[i]);
    line("%Agt [");
    line("\t[ " + agent->name + "(" + head + ") == [ " + (steps.empty() ? "" : steps[0] + " ") + "%Stm [ " + joined +
         " ] ]; %Pack [ " + packName + " :" + (agentFather.empty() ? "" : " %Father [ " + agentFather + " ]") +
         " %Loc [ " + varList({z}) + " ] ] ]");
    line("]");
    processes_.push_back(agent);
}

// Starts process PR with the actuals its starter computed; an agent's
// process gets a new instance of its package, whose variables start unknown.
void startProcess(Machine& m, const Process& pr, const std::vector<Value>& values, const std::vector<Value*>& refs,
                  std::deque<Value>* sendTo, std::deque<Value>* receiveFrom)
{
    std::deque<Frame> packages(pr.packages.size());
    std::map<std::string, Frame*> instance;
    for (std::size_t i = 0; i < pr.packages.size(); ++i) {
        Frame& f = packages[i];
        f.up = m.files.at(static_cast<std::size_t>(pr.file));
        for (const Var& v : pr.packages[i].second)
            f.declare(v.name, shaped(v.type, false));
        if (i + 1 < pr.packages.size())
            f.fathers = {&packages[i + 1]};
        instance[pr.packages[i].first] = &f;
    }
    Frame frame;
    frame.up = packages.empty() ? m.files.at(static_cast<std::size_t>(pr.file)) : &packages[0];
    bindParams(frame, pr.params, values, refs);
    const auto savedInstance = m.instance;
    std::deque<Value>* const savedSend = m.sendTo;
    std::deque<Value>* const savedReceive = m.receiveFrom;
    m.instance = instance;
    m.sendTo = sendTo;
    m.receiveFrom = receiveFrom;
    runUnit(m, *pr.unit, frame);
    m.instance = savedInstance;
    m.sendTo = savedSend;
    m.receiveFrom = savedReceive;
}

void Generator::mainBody()
{
    line("[");
    const std::string saved = indent_;
    indent_ += "\t";
    scope_.clear();
    counters_.clear();
    shared_ = print_ = true;
    pure_ = false;
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
    std::vector<Var> iopActuals;
    for (const ProcessRef& pr : processes_)
        for (const auto& param : pr->params)
            if (param.first || !param.second.type->basic()) {
                locals.push_back({fresh("v"), param.second.type, true});
                iopActuals.push_back(locals.back());
            }
    std::size_t nextIop = 0;
    std::vector<std::string> controls;
    for (std::size_t i = 0; i < processes_.size(); ++i)
        controls.push_back(fresh("n"));
    stream_ = fresh("f");
    streamFile_ = "oracle.txt";
    std::string decl = stream_ + " : " + keyword(rng_, "Stream");
    for (std::size_t i = 0; i < controls.size(); ++i)
        decl += "; " + controls[i] + " : " + keyword(rng_, "NM");
    callable_ = procedures_.size();
    // Standard input read now and then; it is at its end when the programs
    // run, and a character put back is read again.
    const Var text{fresh("v"), basicType(Kind::String), true}, number{fresh("v"), basicType(Kind::Int), true};
    if (input_) {
        locals.push_back(text);
        locals.push_back(number);
    }
    body(*main_, locals, [&] {
        writeInit("NEXT");
        if (input_)
            droppable([&] {
                const bool digit = rng_.chance(50);
                const std::string word = digit ? std::to_string(1 + rng_.below(9)) + "z" : "xy";
                const Place t = variable(text.name, text.type), n = variable(number.name, number.type);
                line("LB = " + label() + " => $O " + text.name + " = \"" + word + "\" ^ $OLB = NEXT;");
                line("LB = " + label() + " => " + keyword(rng_, "Getchar") + "(" + text.name + ");");
                line("LB = " + label() + " => " + keyword(rng_, "Ungetchar") + "(" + text.name + ");");
                if (digit)
                    line("LB = " + label() + " => " + keyword(rng_, "Read") + "(" + number.name + ");");
                else
                    line("LB = " + label() + " => " + keyword(rng_, "Getchar") + "(" + text.name + ");");
                act([t, n, word, digit](Machine& m) {
                    // The first Getchar meets the end; the character put back is read next.
                    store(*t.at(m), stringValue(word));
                    if (digit)
                        store(*n.at(m), intValue(word[0] - '0'));
                    else
                        store(*t.at(m), stringValue(word.substr(0, 1)));
                });
                writeln(label(), {read(t), constant(Kind::String, "\" \"", stringValue(" ")), read(n)});
            });
        const int before = rng_.below(4);
        for (int i = 0; i < before; ++i)
            statement();
        for (const ProcedureRef& p : procedures_)
            if (p->fromMain)
                droppable([&] {
                    const auto call = procedureCall(p);
                    line("LB = " + label() + " => " + call->first + ";");
                    act(call->second);
                });
        if (!processes_.empty()) {
            std::string bind;
            for (std::size_t i = 0; i < processes_.size(); ++i)
                bind += "$O " + controls[i] + " == " + processes_[i]->name + " ^ ";
            line("LB = " + label() + " => " + bind + "$OLB = NEXT;");
            // One parallel statement starts them all, each producer beside its consumer.
            struct Start {
                ProcessRef process;
                std::vector<Actual> actuals;
                int out = -1, in = -1;
            };
            std::vector<Start> starts;
            std::vector<std::string> texts;
            int channels = 0;
            for (std::size_t i = 0; i < processes_.size(); ++i) {
                const ProcessRef& pr = processes_[i];
                Start s{pr, {}};
                std::string args;
                for (const auto& param : pr->params) {
                    std::string actual;
                    Actual a;
                    if (param.first || !param.second.type->basic()) {
                        const Var& v = iopActuals[nextIop++];
                        a.ref = param.first;
                        a.place = variable(v.name, v.type);
                        a.value = read(a.place);
                        actual = (param.first ? "%Iop/ " : "%Inp/ ") + v.name;
                    } else {
                        // Nor may an %Inp/ parameter read the variable of an %Iop/ one.
                        const std::vector<Var> kept = scope_;
                        scope_.erase(std::remove_if(scope_.begin(), scope_.end(),
                                                    [&](const Var& v) {
                                                        for (const Var& w : iopActuals)
                                                            if (w.name == v.name)
                                                                return true;
                                                        return false;
                                                    }),
                                     scope_.end());
                        a.value = expr(param.second.type->kind, 2);
                        actual = "%Inp/ " + a.value.text;
                        scope_ = kept;
                    }
                    s.actuals.push_back(a);
                    args += (args.empty() ? "" : "; ") + actual + " | " + param.second.name;
                }
                if (pr->hasOut) {
                    args += (args.empty() ? "" : "; ") + std::string("%Chn/ ch") + std::to_string(i) + "(" +
                            controls[i + 1] + ", *) | out(" + controls[i + 1] + ", *)";
                    s.out = channels;
                }
                if (pr->hasIn) {
                    args += (args.empty() ? "" : "; ") + std::string("%Chn/ ch") + std::to_string(i - 1) + "(*, " +
                            controls[i - 1] + ") | inq(*, " + controls[i - 1] + ")";
                    s.in = channels++;
                }
                const std::string times = pr->times ? "{" + std::to_string(pr->times) + "}" : "";
                texts.push_back(controls[i] + times + "(" + args + ")");
                starts.push_back(s);
            }
            std::string all;
            for (std::size_t i = 0; i < texts.size(); ++i)
                all += (i ? "; " : "") + texts[i];
            line("LB = " + label() + " => || [ " + all + " ];");
            const bool synchronous = syn_;
            act([starts, channels, synchronous](Machine& m) {
                m.step();
                std::vector<std::vector<Value>> values(starts.size());
                std::vector<std::vector<Value*>> refs(starts.size());
                for (std::size_t i = 0; i < starts.size(); ++i)
                    evaluateActuals(m, starts[i].actuals, values[i], refs[i]);
                // The processes share nothing but their channels, and each
                // consumer comes after its producer: one after another they
                // do what they do side by side.
                std::vector<std::deque<Value>> queues(static_cast<std::size_t>(channels));
                for (std::size_t i = 0; i < starts.size(); ++i) {
                    const Start& s = starts[i];
                    for (int copy = 0; copy < std::max(1, s.process->times); ++copy)
                        startProcess(m, *s.process, values[i], refs[i], s.out >= 0 ? &queues[s.out] : nullptr,
                                     s.in >= 0 ? &queues[s.in] : nullptr);
                }
                for (const auto& q : queues)
                    if (synchronous && !q.empty())
                        throw Unpredictable{"a synchronous send nobody receives"};
            });
            // What the processes gave back.
            std::vector<Expr> shown;
            for (const Var& v : iopActuals)
                if (v.type->basic() && v.type->kind != Kind::Logic) {
                    if (!shown.empty())
                        shown.push_back(constant(Kind::String, "\" \"", stringValue(" ")));
                    shown.push_back(read(variable(v.name, v.type)));
                }
            if (!shown.empty())
                droppable([&] { writeln(label(), shown); });
        }
        if (!processes_.empty() && rng_.chance(20)) {
            // A control deleted and bound again.
            line("LB = " + label() + " => $O " + keyword(rng_, "Delete") + "(" + controls[0] + ") ^ $O " + controls[0] +
                 " == " + processes_[0]->name + " ^ $OLB = NEXT;");
        }
        const int after = rng_.below(4);
        for (int i = 0; i < after; ++i)
            statement();
        line("LB = " + label() + " => $OLB = " + keyword(rng_, "RETURN"));
    }, decl);
    indent_ = saved;
    line("]");
    stream_.clear();
}

void Generator::program()
{
    out_ = "// A random program written by quvgen.\n";
    out_ += std::string("%Prog") + " r == [ ]\n[\n";
    syn_ = rng_.chance(50);
    mixed_ = rng_.chance(30);
    keywords_ = rng_.chance(30);
    oddLiteral_ = rng_.chance(5);
    whole_ = rng_.chance(30);
    project_ = rng_.chance(15);
    input_ = rng_.chance(25);
    pairs_ = rng_.below(3);
    workers_ = rng_.below(2);
    mid_ = rng_.chance(20);
    agent_ = rng_.chance(25);
    // A parallel statement starts two processes at least; a process started
    // twice would share its %Iop/ actuals with itself.
    if (2 * pairs_ + workers_ + (mid_ ? 1 : 0) + (agent_ ? 1 : 0) == 1)
        ++workers_;
    const int processes = 2 * pairs_ + workers_ + (mid_ ? 1 : 0) + (agent_ ? 1 : 0);
    printer_ = processes > 0 && rng_.chance(85) ? rng_.below(processes) : -1;
    if (pairs_ + workers_ == 0)
        project_ = false;
    Actions top;
    acts_ = &top;
    indent_ = "\t";
    line(syn_ ? keyword(rng_, "Syn") : keyword(rng_, "Asyn"));
    declareTypes();
    declareGlobals(false);
    fileGlobals_.assign(1, globals_);
    declareProcedures();
    declareProcesses();
    declarePackages();
    mainBody();
    out_ += "].\n";
    fileGlobals_[0] = globals_;
}

std::string Generator::output(const std::set<int>& without) const
{
    Machine m(without);
    std::deque<Frame> files(fileGlobals_.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        for (const Var& v : fileGlobals_[i])
            files[i].declare(v.name, v.start);
        m.files.push_back(&files[i]);
    }
    Frame top;
    top.up = m.files[0];
    runUnit(m, *main_, top);
    return m.out;
}

std::vector<std::pair<std::string, std::string>> Generator::sources(const std::set<int>& without) const
{
    std::vector<std::pair<std::string, std::string>> files = {{"r.e", unmarked(out_, without)}};
    for (std::size_t i = 0; i < dprogs_.size(); ++i)
        files.push_back({"r" + std::to_string(i + 1) + ".e", unmarked(dprogs_[i], without)});
    return files;
}

}  // namespace

std::optional<RandomProgram> randomProgram(std::uint64_t seed, const std::set<int>& without)
{
    // A draw whose output cannot be told is drawn again from the next stream
    // of the seed's numbers; a few draws in a hundred are.
    for (std::uint64_t attempt = 0;; ++attempt) {
        Generator g(attempt == 0 ? seed : seed ^ (attempt * 0xD1B54A32D192ED03ULL));
        g.program();
        try {
            RandomProgram p;
            p.output = g.output({});
            if (!without.empty()) {
                try {
                    p.output = g.output(without);
                } catch (const Unpredictable&) {
                    return std::nullopt;
                }
            }
            p.sources = g.sources(without);
            p.marks = g.marks();
            return p;
        } catch (const Unpredictable&) {
            if (attempt >= 100)
                throw;
        }
    }
}

std::string randomProgram(std::uint64_t seed)
{
    return randomProgram(seed, {})->sources.front().second;
}

}  // namespace quvgen
