// Conditional elements, statements, action records, select statements and algorithmic parts.
#include "compiler/core/base.hpp"
#include "compiler/core/diagnostics.hpp"
#include "compiler/codegen/codegen.hpp"

void ConditionalElement::createCE(std::string, const CodeFragment*, const Statement*) {}
void ConditionalElement::createCE(std::string, const Statement*) {}
GotoCondition* ConditionalElement::createGotoCondition(CodeFragment* c, std::string) {
    delete c;
    return new GotoCondition();
}
CaseCondition* ConditionalElement::createCaseCondition(std::vector<GotoCondition*> g, std::string) {
    for (GotoCondition* x : g)
        delete x;
    return new CaseCondition();
}
GotoCondition::~GotoCondition() {
    delete condition;
}
CaseCondition::~CaseCondition() {
    for (GotoCondition* g : alternatives)
        delete g;
}
std::string CaseCondition::getAlternativeLabel(int i) const {
    return alternatives.at(i)->getLabel();
}
void Statement::createIfStat(std::string, const CodeFragment*, const Statement*, const Statement*) {}
void Statement::createStat(std::string, const CaseCondition*, const std::vector<Statement*>&) {}
void Statement::createLoopStat(std::string, const CodeFragment*, const std::vector<Statement*>&) {}
void Statement::createWaitStat(std::string, const std::vector<AssignmentEquation*>&, const CodeFragment*,
                               const CodeFragment*) {}
void Statement::createSeqStat(const std::vector<Statement*>&) {}
void Statement::createActionItem(const std::vector<AssignmentEquation*>&, std::string) {}
void Statement::createCallAction(const CodeFragment*) {}
void Statement::createGuardedAlternative(const CodeFragment*, const Statement*) {}
void Statement::createSelect(const std::vector<Statement*>&) {}
void AlgorithmicPart::createAlg(const std::vector<ConditionalElement*>&) {}
void AlgorithmicPart::createStm(const std::vector<Statement*>&) {}
