// Keeps a recursive pass (the parse, and any later pass that recurses over a
// tree, such as the tree walker) within a fixed share of the thread's stack:
// deeply nested source or a deep tree would otherwise overflow it and crash
// the process.
//
// Use: hold a StackGuard in the object that recurses (made before the
// recursion starts) and call guardStack from every recursive entry, e.g. the
// traceIn of a generated parser or tree parser (built with -traceParser or
// -traceTreeParser):
//
//     void MyTreeWalker::traceIn(const char* rule, antlr::RefAST node) {
//         RefQUV_AST n = RefQUV_AST(node);
//         guardStack(job, stackGuard, rule, n ? n->getLine() : -1, n ? n->getColumn() : -1, fileName);
//     }
//
// Past the budget guardStack files one diagnostic (kind 5, number 21: "the
// source is nested too deeply") and throws NestingTooDeep, which no recognition
// handler catches: the pass ends there, and its caller reports what it has.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include <antlr/ANTLRException.hpp>

class DiagnosticSink;

// Thrown when the parse would go deeper than the stack allows, or a pass
// would make more of a nesting than it can hold, once the one diagnostic that
// says so is filed. It is not a recognition error, so no rule's recovery
// catches it: the whole pass ends, and no one files another diagnostic for it.
class NestingTooDeep : public antlr::ANTLRException {
public:
    explicit NestingTooDeep(const std::string& why = "the source is nested too deeply to be parsed")
        : antlr::ANTLRException(why) {}
};

class StackGuard {
public:
    // The first guard made on a thread marks where its parse starts; parsers made
    // during that parse (the trials of the typesetting pass) share its budget.
    StackGuard();
    ~StackGuard();
    StackGuard(const StackGuard&) = delete;
    StackGuard& operator=(const StackGuard&) = delete;

    // Whether the caller's frame lies deeper than the budget allows. Inline and
    // against a limit worked out once: every rule entry of a parse asks.
    bool exhausted() const
    {
        // The stack grows downwards on every target we build for.
        return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)) < limit;
    }

    static constexpr std::size_t budget = 2 * 1024 * 1024;

private:
    bool owner = false;
    // The deepest frame address within the budget of the thread's parse.
    std::uintptr_t limit = 0;
};

// Files the nesting diagnostic at line:column under `rule` and throws
// NestingTooDeep: for a pass that finds its input nested past what it can
// hold. `why` is the diagnostic's details and the exception's message.
[[noreturn]] void refuseNesting(DiagnosticSink& job, const char* rule, int line, int column, const std::string& fileName,
                                const std::string& why = "the source is nested too deeply to be parsed");

// Returns at once while `guard` is within its budget; past it files the
// nesting diagnostic at line:column under `rule` and throws NestingTooDeep.
void guardStack(DiagnosticSink& job, const StackGuard& guard, const char* rule, int line, int column, const std::string& fileName);
