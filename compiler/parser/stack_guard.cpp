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
    limit = parseStart > budget ? parseStart - budget : 0;
}

StackGuard::~StackGuard() {
    if (owner)
        parseStart = 0;
}

void guardStack(DiagnosticSink& job, const StackGuard& guard, const char* rule, int line, int column,
                const std::string& fileName) {
    if (!guard.exhausted())
        return;
    refuseNesting(job, rule, line, column, fileName);
}

void refuseNesting(DiagnosticSink& job, const char* rule, int line, int column, const std::string& fileName,
                   const std::string& why) {
    QUVException(job, QUVException::FatalError, line, column, rule, fileName, why);
    throw NestingTooDeep(why);
}

void QUVParser::refuseNestingAt(const char* rule) {
    antlr::RefToken token = LT(1);
    refuseNesting(*job, rule, token->getLine(), token->getColumn(), getFilename());
}
