// Conditional elements, statements, action records, select statements and
// algorithmic parts.
//
// A %stm part is structured C++ (if, while, do-while); a %alg part is a flat
// run of C++ labels and guarded blocks joined by gotos. A QUV/E label becomes a
// C++ label only in a %alg part; a statement carries it as a comment line.
#include <algorithm>

#include "compiler/core/base.hpp"
#include "compiler/core/diagnostics.hpp"
#include "compiler/codegen/codegen.hpp"

namespace {
std::string typesetOf(const CodeFragment* f) {
    return f ? f->getTypeset() : std::string();
}

std::string codeOf(const CodeFragment* f) {
    return f ? f->getCode() : std::string();
}

std::string labelComment(const std::string& label) {
    return "//" + CodeNames::labelName(label) + " :" + base::newline();
}

template <typename T>
std::string joinedTypesets(const std::vector<T*>& items, const std::string& separator) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : separator) + items[i]->getTypeset();
    return text;
}

template <typename T>
std::string codes(const std::vector<T*>& items) {
    std::string text;
    for (const T* item : items)
        text += item->getCode();
    return text;
}

template <typename T>
std::string innerTypesOf(const std::vector<T*>& items) {
    std::string text;
    for (const T* item : items)
        text += item->getInnerTypes();
    return text;
}

std::string commits(const std::vector<AssignmentEquation*>& equations) {
    std::string text;
    for (const AssignmentEquation* q : equations)
        text += q->getLabel();
    return text;
}
}  // namespace

// ---- conditional elements ------------------------------------------------------------------------

void ConditionalElement::createCE(std::string L, const CodeFragment* c, const Statement* a) {
    if (!a)
        throwInternalFailure("Null ActionPart Pointer", "ConditionalElement::createCE");
    innerTypes = a->getInnerTypes();
    label = L;
    forwardLabel = a->getLabel();
    if (c) {
        typeset = L + " ^ " + c->getTypeset() + " => " + "$olb = " + a->getTypeset();
        code = "if (" + c->getCode() + ")" + base::openBrace() + a->getCode();
    } else {
        typeset = L + " => " + "$olb = " + a->getTypeset();
        code = base::openBrace() + a->getCode();
    }
}

void ConditionalElement::createCE(std::string L, const Statement* a) {
    if (!a)
        throwInternalFailure("Null ActionPart Pointer", "ConditionalElement::createCE");
    innerTypes = a->getInnerTypes();
    label = L;
    typeset = "LB = " + L + " => " + a->getTypeset();
    code = labelComment(L) + a->getCode() + base::newline() + base::newline();
}

GotoCondition* ConditionalElement::createGotoCondition(CodeFragment* c, std::string target) {
    GotoCondition* g = new GotoCondition();
    g->condition = c;
    g->label = target;
    g->typeset = typesetOf(c) + " => " + "$olb = " + target;
    return g;
}

CaseCondition* ConditionalElement::createCaseCondition(std::vector<GotoCondition*> alternatives,
                                                       std::string defaultLabel) {
    CaseCondition* cc = new CaseCondition();
    cc->alternatives = alternatives;
    cc->forwardLabel = defaultLabel;
    for (size_t i = 0; i < alternatives.size(); ++i)
        cc->typeset += (i == 0 ? "| " : "  ") + alternatives[i]->getTypeset();
    cc->typeset += " |~ => " + defaultLabel;
    return cc;
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

// ---- statements ----------------------------------------------------------------------------------

void Statement::createIfStat(std::string L, const CodeFragment* c, const Statement* t, const Statement* e) {
    if (!t)
        throwInternalFailure("Null If ActionPart Pointer", "Statement::createIfStat");
    innerTypes = t->getInnerTypes() + (e ? e->getInnerTypes() : std::string());
    label = L;
    typeset = "LB = " + L + (c ? " ^ " + c->getTypeset() : std::string()) + " => (" + t->getTypeset() +
              (e ? " | " + e->getTypeset() : std::string()) + ")";
    code = labelComment(L);
    if (c)
        code += "if (" + c->getCode() + ")" + base::openBrace() + t->getCode() + base::closeBrace();
    else
        code += t->getCode();
    if (e)
        code += base::newline() + "else" + base::openBrace() + e->getCode() + base::closeBrace() + base::newline();
    code += base::newline();
}

void Statement::createStat(std::string L, const CaseCondition* cc, const std::vector<Statement*>& statements) {
    const std::string NL = base::newline();
    label = L;
    int n = cc ? cc->getAlternativeCount() : 0;
    auto target = [&](int j) { return j < n ? cc->getAlternativeLabel(j) : cc ? cc->getForwardLabel() : ""; };

    // The alternative of each statement: the first whose target is its label, else the one before it.
    std::vector<int> group(statements.size());
    int k = -1;
    for (size_t i = 0; i < statements.size(); ++i) {
        std::string own = statements[i]->getLabel();
        for (int j = 0; j <= n; ++j) {
            if (target(j) == own) {
                k = j;
                break;
            }
        }
        if (k == -1)
            throwInternalFailure("can't find in the case condition with ref label =" + own, "Statement::createStat");
        group[i] = k;
    }

    std::vector<std::string> blocks(n + 1);
    typeset = "LB = " + L + " => " + typesetOf(cc) + base::openBracket();
    innerTypes.clear();
    for (size_t i = 0; i < statements.size(); ++i) {
        blocks[group[i]] += statements[i]->getCode();
        innerTypes += statements[i]->getInnerTypes();
        typeset += statements[i]->getTypeset();
        if (i + 1 == statements.size())
            typeset += " ^ $OLB=EXIT";
        else if (group[i + 1] == group[i])
            typeset += " ^ $OLB=NEXT;" + NL;
        else
            typeset += " ^ $OLB=EXIT;" + NL;
    }
    typeset += base::closeBracket();

    code = labelComment(L);
    for (int j = 0; j < n; ++j)
        code += std::string(j == 0 ? "if (" : "else if(") + codeOf(cc->getAlternative(j)->getCondition()) + ")" +
                base::openBrace() + blocks[j] + base::closeBrace();
    code += "else" + base::openBrace() + blocks[n] + base::closeBrace();
}

void Statement::createLoopStat(std::string L, const CodeFragment* c, const std::vector<Statement*>& statements) {
    label = L;
    innerTypes = innerTypesOf(statements);
    typeset = "*[ LB = " + L + (c ? " ^ " + c->getTypeset() : std::string()) +
              joinedTypesets(statements, ";" + base::newline()) + base::closeBracket();
    code = labelComment(L) + "while (" + (c ? c->getCode() : "true") + ")" + base::openBrace() + codes(statements) +
           "continue" + base::semicolon() + base::closeBrace();
}

void Statement::createWaitStat(std::string L, const std::vector<AssignmentEquation*>& equations,
                               const CodeFragment* exitCondition, const CodeFragment* guard) {
    label = L;
    innerTypes = innerTypesOf(equations);
    typeset = "LB = " + L + (guard ? " ^ " + guard->getTypeset() : std::string()) + " => $O(" +
              joinedTypesets(equations, " ^ ") + ") $U (" +
              (exitCondition ? exitCondition->getTypeset() : "true") + " ^ $OLB = EXIT" + base::closeBracket();
    // The exit condition says when the wait ends: the equations repeat while it does not hold.
    std::string wait = "do" + base::openBrace() + codes(equations) + commits(equations) + base::closeBrace() +
                       "while (!(" + (exitCondition ? exitCondition->getCode() : "true") + "))" + base::semicolon() +
                       base::newline();
    code = labelComment(L);
    if (guard)
        code += "if (" + guard->getCode() + ")" + base::openBrace() + wait + base::closeBrace();
    else
        code += wait;
}

void Statement::createSeqStat(const std::vector<Statement*>& statements) {
    typeset = " >> " + base::openBracket() + joinedTypesets(statements, "") + base::closeBracket();
    code = codes(statements);
    innerTypes = innerTypesOf(statements);
}

// ---- action records ----------------------------------------------------------------------------

void Statement::createActionItem(const std::vector<AssignmentEquation*>& equations, std::string forward) {
    label = forward;
    typeset.clear();
    code.clear();
    innerTypes.clear();
    for (const AssignmentEquation* q : equations) {
        typeset += " ^ " + q->getTypeset();
        code += q->getCode();
    }
    typeset += "$OLB =" + forward;
    // Every equation sees the values from before the action: all commits follow all evaluations.
    code += commits(equations);
}

void Statement::createCallAction(const CodeFragment* call) {
    label = "next";
    typeset = typesetOf(call);
    // A call whose text is empty (it was reported) makes no statement.
    std::string text = codeOf(call);
    code = text.empty() ? text : text + base::semicolon();
    innerTypes.clear();
}

void Statement::createGuardedAlternative(const CodeFragment* c, const Statement* a) {
    code = "if (" + codeOf(c) + ")" + base::openBrace() + codeOf(a) + "break" + base::semicolon() +
           base::closeBrace();
    innerTypes = a ? a->getInnerTypes() : std::string();
    typeset = typesetOf(c) + " |> " + typesetOf(a);
}

void Statement::createSelect(const std::vector<Statement*>& alternatives) {
    label = "next";
    typeset = "!!" + base::openBracket() + joinedTypesets(alternatives, ",") + base::closeBracket();
    code = "while (true) " + base::openBrace();
    for (size_t i = 0; i < alternatives.size(); ++i)
        code += (i == 0 ? "" : "else ") + alternatives[i]->getCode();
    code += "continue" + base::semicolon() + base::closeBrace();
    innerTypes = innerTypesOf(alternatives);
}

// ---- algorithmic parts -------------------------------------------------------------------------

void AlgorithmicPart::createAlg(const std::vector<ConditionalElement*>& elements) {
    const std::string NL = base::newline();
    typeset = "%alg" + base::openBracket() + joinedTypesets(elements, ";" + NL);
    innerTypes = innerTypesOf(elements);
    code.clear();

    std::vector<std::string> labels;
    for (const ConditionalElement* e : elements)
        if (std::find(labels.begin(), labels.end(), e->getLabel()) == labels.end())
            labels.push_back(e->getLabel());
    if (labels.empty())
        return;

    code = "goto " + CodeNames::labelName(labels[0]) + base::semicolon() + NL;
    for (size_t m = 0; m < labels.size(); ++m) {
        code += CodeNames::labelName(labels[m]) + " :" + NL;
        for (const ConditionalElement* e : elements) {
            if (e->getLabel() != labels[m])
                continue;
            code += e->getCode() + NL;
            std::string forward = e->getForwardLabel();
            switch (CodeNames::controlWordKind(forward)) {
            case 0:
                code += "goto " + CodeNames::labelName(forward) + base::semicolon() + NL;
                break;
            case 1:
                if (m + 1 < labels.size())
                    code += "goto " + CodeNames::labelName(labels[m + 1]) + base::semicolon() + NL;
                else
                    code += "return " + base::semicolon();
                break;
            case 2:
                throwInternalFailure("exit forward label emerged in conditional element",
                                     "AlgorithmicPart::createAlg");
            default:
                code += "return " + base::semicolon() + NL;
                break;
            }
            code += base::closeBrace();
        }
    }
}

void AlgorithmicPart::createStm(const std::vector<Statement*>& statements) {
    innerTypes = innerTypesOf(statements);
    typeset = "%stm" + base::openBracket() + joinedTypesets(statements, ";" + base::newline()) + base::closeBracket();
    code = codes(statements) + "return " + base::semicolon();
}
