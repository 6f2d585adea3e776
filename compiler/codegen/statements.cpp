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

std::unique_ptr<ConditionalElement> codegen::createCE(JobState&, std::string L, const CodeFragment* c,
                                                      const Statement* a) {
    if (!a)
        throwInternalFailure("Null ActionPart Pointer", "ConditionalElement::createCE");
    auto e = std::make_unique<ConditionalElement>();
    e->innerTypes = a->getInnerTypes();
    e->label = L;
    e->forwardLabel = a->getLabel();
    if (c) {
        e->typeset = L + " ^ " + c->getTypeset() + " => " + "$olb = " + a->getTypeset();
        e->code = "if (" + c->getCode() + ")" + base::openBrace() + a->getCode();
    } else {
        e->typeset = L + " => " + "$olb = " + a->getTypeset();
        e->code = base::openBrace() + a->getCode();
    }
    return e;
}

std::unique_ptr<Statement> codegen::createAtomicStat(JobState&, std::string L, const Statement* a) {
    if (!a)
        throwInternalFailure("Null ActionPart Pointer", "ConditionalElement::createCE");
    auto s = std::make_unique<Statement>();
    s->innerTypes = a->getInnerTypes();
    s->label = L;
    s->typeset = "LB = " + L + " => " + a->getTypeset();
    s->code = labelComment(L) + a->getCode() + base::newline() + base::newline();
    return s;
}

std::unique_ptr<GotoCondition> codegen::createGotoCondition(JobState&, std::unique_ptr<CodeFragment> c,
                                                            std::string target) {
    auto g = std::make_unique<GotoCondition>();
    g->typeset = typesetOf(c.get()) + " => " + "$olb = " + target;
    g->condition = std::move(c);
    g->label = target;
    return g;
}

std::unique_ptr<CaseCondition> codegen::createCaseCondition(JobState&,
                                                            std::vector<std::unique_ptr<GotoCondition>> alternatives,
                                                            std::string defaultLabel) {
    auto cc = std::make_unique<CaseCondition>();
    cc->forwardLabel = defaultLabel;
    for (size_t i = 0; i < alternatives.size(); ++i)
        cc->typeset += (i == 0 ? "| " : "  ") + alternatives[i]->getTypeset();
    cc->typeset += " |~ => " + defaultLabel;
    cc->alternatives = std::move(alternatives);
    return cc;
}

// ---- statements ----------------------------------------------------------------------------------

std::unique_ptr<Statement> codegen::createIfStat(JobState&, std::string L, const CodeFragment* c, const Statement* t,
                                                 const Statement* e) {
    if (!t)
        throwInternalFailure("Null If ActionPart Pointer", "Statement::createIfStat");
    auto s = std::make_unique<Statement>();
    s->innerTypes = t->getInnerTypes() + (e ? e->getInnerTypes() : std::string());
    s->label = L;
    s->typeset = "LB = " + L + (c ? " ^ " + c->getTypeset() : std::string()) + " => (" + t->getTypeset() +
                 (e ? " | " + e->getTypeset() : std::string()) + ")";
    std::string& code = s->code;
    code = labelComment(L);
    if (c)
        code += "if (" + c->getCode() + ")" + base::openBrace() + t->getCode() + base::closeBrace();
    else
        code += t->getCode();
    if (e)
        code += base::newline() + "else" + base::openBrace() + e->getCode() + base::closeBrace() + base::newline();
    code += base::newline();
    return s;
}

std::unique_ptr<Statement> codegen::createStat(JobState&, std::string L, const CaseCondition* cc,
                                               const std::vector<Statement*>& statements) {
    const std::string NL = base::newline();
    auto s = std::make_unique<Statement>();
    s->label = L;
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
    std::string& typeset = s->typeset;
    typeset = "LB = " + L + " => " + typesetOf(cc) + base::openBracket();
    for (size_t i = 0; i < statements.size(); ++i) {
        blocks[group[i]] += statements[i]->getCode();
        s->innerTypes += statements[i]->getInnerTypes();
        typeset += statements[i]->getTypeset();
        if (i + 1 == statements.size())
            typeset += " ^ $OLB=EXIT";
        else if (group[i + 1] == group[i])
            typeset += " ^ $OLB=NEXT;" + NL;
        else
            typeset += " ^ $OLB=EXIT;" + NL;
    }
    typeset += base::closeBracket();

    std::string& code = s->code;
    code = labelComment(L);
    for (int j = 0; j < n; ++j)
        code += std::string(j == 0 ? "if (" : "else if(") + codeOf(cc->getAlternative(j)->getCondition()) + ")" +
                base::openBrace() + blocks[j] + base::closeBrace();
    code += "else" + base::openBrace() + blocks[n] + base::closeBrace();
    return s;
}

std::unique_ptr<Statement> codegen::createLoopStat(JobState&, std::string L, const CodeFragment* c,
                                                   const std::vector<Statement*>& statements) {
    auto s = std::make_unique<Statement>();
    s->label = L;
    s->innerTypes = innerTypesOf(statements);
    s->typeset = "*[ LB = " + L + (c ? " ^ " + c->getTypeset() : std::string()) +
                 joinedTypesets(statements, ";" + base::newline()) + base::closeBracket();
    s->code = labelComment(L) + "while (" + (c ? c->getCode() : "true") + ")" + base::openBrace() +
              codes(statements) + "continue" + base::semicolon() + base::closeBrace();
    return s;
}

std::unique_ptr<Statement> codegen::createWaitStat(JobState&, std::string L,
                                                   const std::vector<AssignmentEquation*>& equations,
                                                   const CodeFragment* exitCondition, const CodeFragment* guard) {
    auto s = std::make_unique<Statement>();
    s->label = L;
    s->innerTypes = innerTypesOf(equations);
    s->typeset = "LB = " + L + (guard ? " ^ " + guard->getTypeset() : std::string()) + " => $O(" +
                 joinedTypesets(equations, " ^ ") + ") $U (" +
                 (exitCondition ? exitCondition->getTypeset() : "true") + " ^ $OLB = EXIT" + base::closeBracket();
    // The exit condition says when the wait ends: the equations repeat while it does not hold.
    std::string wait = "do" + base::openBrace() + codes(equations) + commits(equations) + base::closeBrace() +
                       "while (!(" + (exitCondition ? exitCondition->getCode() : "true") + "))" + base::semicolon() +
                       base::newline();
    s->code = labelComment(L);
    if (guard)
        s->code += "if (" + guard->getCode() + ")" + base::openBrace() + wait + base::closeBrace();
    else
        s->code += wait;
    return s;
}

std::unique_ptr<Statement> codegen::createSeqStat(JobState&, const std::vector<Statement*>& statements) {
    auto s = std::make_unique<Statement>();
    s->typeset = " >> " + base::openBracket() + joinedTypesets(statements, "") + base::closeBracket();
    s->code = codes(statements);
    s->innerTypes = innerTypesOf(statements);
    return s;
}

// ---- action records ----------------------------------------------------------------------------

std::unique_ptr<Statement> codegen::createActionItem(JobState&, const std::vector<AssignmentEquation*>& equations,
                                                     std::string forward) {
    auto s = std::make_unique<Statement>();
    s->label = forward;
    for (const AssignmentEquation* q : equations) {
        s->typeset += " ^ " + q->getTypeset();
        s->code += q->getCode();
    }
    s->typeset += "$OLB =" + forward;
    // Every equation sees the values from before the action: all commits follow all evaluations.
    s->code += commits(equations);
    return s;
}

std::unique_ptr<Statement> codegen::createCallAction(JobState&, const CodeFragment* call) {
    auto s = std::make_unique<Statement>();
    s->label = "next";
    s->typeset = typesetOf(call);
    // A call whose text is empty (it was reported) makes no statement.
    std::string text = codeOf(call);
    s->code = text.empty() ? text : text + base::semicolon();
    return s;
}

std::unique_ptr<Statement> codegen::createGuardedAlternative(JobState&, const CodeFragment* c, const Statement* a) {
    auto s = std::make_unique<Statement>();
    s->code = "if (" + codeOf(c) + ")" + base::openBrace() + codeOf(a) + "break" + base::semicolon() +
              base::closeBrace();
    s->innerTypes = a ? a->getInnerTypes() : std::string();
    s->typeset = typesetOf(c) + " |> " + typesetOf(a);
    return s;
}

std::unique_ptr<Statement> codegen::createSelect(JobState&, const std::vector<Statement*>& alternatives) {
    auto s = std::make_unique<Statement>();
    s->label = "next";
    s->typeset = "!!" + base::openBracket() + joinedTypesets(alternatives, ",") + base::closeBracket();
    s->code = "while (true) " + base::openBrace();
    for (size_t i = 0; i < alternatives.size(); ++i)
        s->code += (i == 0 ? "" : "else ") + alternatives[i]->getCode();
    s->code += "continue" + base::semicolon() + base::closeBrace();
    s->innerTypes = innerTypesOf(alternatives);
    return s;
}

// ---- algorithmic parts -------------------------------------------------------------------------

void codegen::createAlg(JobState&, AlgorithmicPart& part, const std::vector<ConditionalElement*>& elements) {
    const std::string NL = base::newline();
    part.typeset = "%alg" + base::openBracket() + joinedTypesets(elements, ";" + NL);
    part.innerTypes = innerTypesOf(elements);
    std::string& code = part.code;
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

void codegen::createStm(JobState&, AlgorithmicPart& part, const std::vector<Statement*>& statements) {
    part.innerTypes = innerTypesOf(statements);
    part.typeset =
        "%stm" + base::openBracket() + joinedTypesets(statements, ";" + base::newline()) + base::closeBracket();
    part.code = codes(statements) + "return " + base::semicolon();
}
