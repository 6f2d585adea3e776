// Procedure calls and their actual parameters, and the input/output built-ins.
#include "compiler/core/base.hpp"
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/symbols.hpp"
#include "compiler/core/types.hpp"
#include "compiler/codegen/codegen.hpp"
#include "compiler/codegen/emit_support.hpp"

ActualParam* ProcCall::createInParam(const Expression*, std::string) {
    return new ActualParam();
}
ActualParam* ProcCall::createIoParam(const Expression*, std::string) {
    return new ActualParam();
}
ActualParam* ProcCall::createChanInParam(std::string, VarNode*, std::string) {
    return new ActualParam();
}
ActualParam* ProcCall::createChanOutParam(std::string, VarNode*, std::string) {
    return new ActualParam();
}
bool ProcCall::checkActualPair(const ActualParam&, const ActualParam&) {
    return true;
}
void ProcCall::createProcCall(ProNode*, std::string, const std::vector<ActualParam*>&) {}
void ProcCall::createFopen(VarNode*, const Expression*) {}
void ProcCall::createFclose(VarNode*) {}
void ProcCall::createFeof(VarNode*, const Expression*) {}
void ProcCall::createQuvEof(VarNode*, const Expression*) {}
void ProcCall::createFread(VarNode*, const std::vector<Expression*>&) {}
void ProcCall::createRead(const std::vector<Expression*>&) {}
void ProcCall::createFwrite(VarNode*, const std::vector<OperatorExpression*>&) {}
void ProcCall::createWrite(const std::vector<OperatorExpression*>&) {}
void ProcCall::createFwriteln(VarNode*, const std::vector<OperatorExpression*>&) {}
void ProcCall::createWriteln(const std::vector<OperatorExpression*>&) {}
void ProcCall::createGetc(VarNode*, const Expression*) {}
void ProcCall::createGetchar(const Expression*) {}
void ProcCall::createUnGetc(VarNode*, const Expression*) {}
void ProcCall::createUnGetChar(const Expression*) {}
void ProcCall::createItoc(const Expression*, const Expression*) {}
void ProcCall::createStrlen(const Expression*, const Expression*) {}
