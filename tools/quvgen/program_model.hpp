// What a random program does, computed while quvgen writes it: the values of
// its variables, its frames and what it prints. Every expression the
// generator writes carries the function that computes its value as the C++
// of the translation computes it (Int as 32-bit int, Float as float, every
// floating literal a float), every statement the function that does what it
// does, so running the main body's statements gives the program's output.
//
// A value the program cannot know (a local read before it was set, a channel
// test that depends on timing) is unknown; printing one or branching on one
// makes the output unpredictable, and the run stops with Unpredictable.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace quvgen {

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

TypeRef basicType(Kind k);

struct Value {
    Kind kind = Kind::Int;
    bool known = false;
    std::int32_t i = 0;
    float f = 0;
    std::string s;
    bool b = false;              // Bool and Logic
    std::vector<Value> items;    // the fields of a record or union, the elements of an array
    Value* target = nullptr;     // a pointer's record
};

// A value of type T: known zeros (what a shared variable starts with) or unknown.
Value shaped(const TypeRef& t, bool zero);
Value intValue(std::int32_t v);
Value floatValue(float v);
Value stringValue(const std::string& v);
Value boolValue(bool v);

// What the run cannot tell; the message says why, for the generator's own tests.
struct Unpredictable {
    std::string why;
};

// The names one block sees: its own, then those of the blocks around it, then
// (for a package or an agent) those of its fathers, as the walker looks names up.
struct Frame {
    std::map<std::string, Value*> names;
    std::deque<Value> own;
    Frame* up = nullptr;
    std::vector<Frame*> fathers;
    Value* declare(const std::string& name, Value v);
    void bind(const std::string& name, Value* v) { names[name] = v; }
};

class Machine {
public:
    explicit Machine(const std::set<int>& without) : without_(without) {}
    std::string out;
    Frame* frame = nullptr;
    // The shared variables and constants of each source, the main one first.
    std::vector<Frame*> files;
    // The package frames of the agent that runs, by package name.
    std::map<std::string, Frame*> instance;
    // The channels of the process that runs.
    std::deque<Value>* sendTo = nullptr;
    std::deque<Value>* receiveFrom = nullptr;
    // Standard input is at its end; a character put back is read again.
    bool inputPending = false;
    char inputChar = 0;

    bool dropped(int mark) const { return without_.count(mark) != 0; }
    Value* lookup(const std::string& name) const;
    // Counts statements run, so that a fault of the generator cannot run for ever.
    void step();

private:
    const std::set<int>& without_;
    long steps_ = 0;
};

using Action = std::function<void(Machine&)>;
using Actions = std::vector<Action>;
void run(Machine& m, const Actions& actions);

// The value of an operand, which must be known.
const Value& known(const Value& v);
// The text Writeln writes for a value.
std::string shown(const Value& v);
// Stores from into to, converting between Int and Float as C++ does.
void store(Value& to, const Value& from);

// An expression: its text, how tightly it binds (for the brackets its
// operands need), its kind and its value.
struct Expr {
    std::string text;
    int prec = 0;
    Kind kind = Kind::Int;
    std::function<Value(Machine&)> eval;
};

// Binding levels of the grammar, loosest first.
enum Prec { kRelation = 1, kOr, kAnd, kAdditive, kMultiplicative, kUnary, kPrimary };

Expr constant(Kind kind, const std::string& text, const Value& v);
Expr bracketed(const Expr& e);
// BINARY OP: arithmetic, comparison, $C and $V, with the brackets the grammar needs.
Expr binary(const Expr& a, const std::string& op, const Expr& b);
Expr negated(const Expr& e);  // -(e)
Expr notted(const Expr& e);   // ~(e)
Expr choice(const std::string& ifWord, const Expr& c, const std::string& thenWord, const Expr& a,
            const std::string& elseWord, const Expr& b);

// A designator: its text, its type and the variable it reaches.
struct Place {
    std::string text;
    TypeRef type;
    std::function<Value*(Machine&)> at;
};

Place variable(const std::string& name, const TypeRef& type);
Place fieldOf(const Place& p, std::size_t field);
Place elementOf(const Place& p, const std::vector<int>& index);
Place throughPointer(const Place& pointer, std::size_t field, bool arrow);
Expr read(const Place& p);

// A float literal's value as the translation gives it.
float floatLiteral(const std::string& text);

}  // namespace quvgen
