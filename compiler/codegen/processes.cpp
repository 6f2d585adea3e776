// Process starts and parallel statements.
#include "compiler/core/base.hpp"
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/symbols.hpp"
#include "compiler/core/types.hpp"
#include "compiler/codegen/codegen.hpp"
#include "compiler/codegen/emit_support.hpp"

ProcessStart* ProcCall::createProsStart(VarNode*, const std::vector<ActualParam*>&, int, ProNode*) {
    return new ProcessStart();
}

void Statement::createParallel(const std::vector<ProcessStart*>&) {
    label = "next";
}
