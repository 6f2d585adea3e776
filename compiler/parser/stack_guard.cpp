#include "compiler/parser/stack_guard.hpp"

#include <cstdint>

#include "compiler/parser/QUVParser.hpp"

namespace {
thread_local std::uintptr_t parseStart = 0;

std::uintptr_t currentFrame() {
    return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
}
}  // namespace

StackGuard::StackGuard() {
    if (parseStart == 0) {
        parseStart = currentFrame();
        owner = true;
    }
}

StackGuard::~StackGuard() {
    if (owner)
        parseStart = 0;
}

bool StackGuard::exhausted() const {
    // The stack grows downwards on every target we build for.
    std::uintptr_t here = currentFrame();
    return parseStart > here && parseStart - here > budget;
}

void guardStack(const StackGuard& guard, const char* rule, int line, int column, const std::string& fileName) {
    if (!guard.exhausted())
        return;
    refuseNesting(rule, line, column, fileName);
}

void refuseNesting(const char* rule, int line, int column, const std::string& fileName) {
    QUVException(QUVException::FatalError, line, column, rule, fileName,
                 "the source is nested too deeply to be parsed");
    throw NestingTooDeep();
}

void QUVParser::traceIn(const char* rule) {
    if (!stackGuard.exhausted())
        return;
    antlr::RefToken token = LT(1);
    guardStack(stackGuard, rule, token->getLine(), token->getColumn(), getFilename());
}
