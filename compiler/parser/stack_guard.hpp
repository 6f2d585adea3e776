// Keeps the recursive descent of one parse within a fixed share of the thread's
// stack: deeply nested source would otherwise overflow it and crash the process.
#pragma once
#include <cstddef>

#include <antlr/ANTLRException.hpp>

// Thrown when the parse would go deeper than the stack allows. It is not a
// recognition error, so no rule's recovery catches it: the whole parse ends.
class NestingTooDeep : public antlr::ANTLRException {
public:
    NestingTooDeep() : antlr::ANTLRException("the source is nested too deeply to be parsed") {}
};

class StackGuard {
public:
    // The first guard made on a thread marks where its parse starts; parsers made
    // during that parse (the trials of the typesetting pass) share its budget.
    StackGuard();
    ~StackGuard();
    StackGuard(const StackGuard&) = delete;
    StackGuard& operator=(const StackGuard&) = delete;

    // Whether the caller's frame lies deeper than the budget allows.
    bool exhausted() const;

    static constexpr std::size_t budget = 2 * 1024 * 1024;

private:
    bool owner = false;
};
