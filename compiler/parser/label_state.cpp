// Label bookkeeping and termination checks of the statement rules. Every check
// here only files a diagnostic: trees and the token position stay as they are.
#include "compiler/parser/parser.hpp"

#include <algorithm>
#include <cctype>
#include <unordered_set>

namespace {

std::string upperCased(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}
}  // namespace

std::string QUVParser::terminationKindName(int kind)
{
    switch (kind) {
    case QUVParserTokenTypes::IDENT: return "IDENT";
    case QUVParserTokenTypes::NEXT: return "NEXT";
    case QUVParserTokenTypes::STOP: return "STOP";
    case QUVParserTokenTypes::RETURN: return "RETURN";
    case QUVParserTokenTypes::EXIT: return "EXIT";
    case QUVParserTokenTypes::NEXT_OR_EXIT: return "NEXT or EXIT";
    default: return "error_op!";
    }
}

// Every LB keyword of one part must be written like its first one, digits included.
void QUVParser::checkLbForm(antlr::RefToken lb)
{
    const std::string text = upperCased(lb->getText());
    if (expectedLb.empty()) {
        expectedLb = text;
        expectedLbLine = lb->getLine();
        expectedLbColumn = lb->getColumn();
    } else if (text != expectedLb) {
        QUVException ex(*job);
        ex.makeMismatchedLB(lb->getLine(), lb->getColumn(), ruleName, getFilename(), text, expectedLb,
                            expectedLbLine, expectedLbColumn);
    }
}

// The index is rebuilt when the list was changed behind its back.
const LabelRecord* QUVParser::findDeclaredLabel(const std::string& name)
{
    if (declaredLabelIndex.size() != declaredLabels.size()) {
        declaredLabelIndex.clear();
        for (size_t i = 0; i < declaredLabels.size(); ++i) declaredLabelIndex.emplace(declaredLabels[i].name, i);
    }
    auto it = declaredLabelIndex.find(name);
    return it == declaredLabelIndex.end() ? nullptr : &declaredLabels[it->second];
}

// Statement parts reject a second definition; conditional elements of an
// algorithmic part may share a label.
void QUVParser::recordLabel(antlr::RefToken name)
{
    const std::string text = name->getText();
    if (const LabelRecord* earlier = findDeclaredLabel(text)) {
        if (labelMode == 1) {
            QUVException ex(*job);
            ex.makeLabelRedeclared(name->getLine(), name->getColumn(), ruleName, getFilename(), text,
                                   earlier->line, earlier->column);
        }
    } else {
        declaredLabelIndex.emplace(text, declaredLabels.size());
        declaredLabels.push_back(LabelRecord{text, name->getLine(), name->getColumn()});
    }
    if (collectExitLabel) {
        collectExitLabel = false;
        exitLabelNames.push_back(text);
    }
}

// Only algorithmic parts check their forward labels, once the part is read.
void QUVParser::recordForwardLabel(antlr::RefToken name)
{
    if (labelMode == 0)
        forwardLabels.push_back(LabelRecord{name->getText(), name->getLine(), name->getColumn()});
}

void QUVParser::reportMismatchedKind(int found, int expected)
{
    antlr::RefToken here = LT(1);
    QUVException ex(*job);
    ex.makeMismatchedLabel(here->getLine(), here->getColumn(), ruleName, getFilename(),
                           terminationKindName(found), terminationKindName(expected));
}

// NEXT_OR_EXIT as the expected kind accepts either of the two.
void QUVParser::expectKind(int found, int expected)
{
    if (found == expected) return;
    if (expected == NEXT_OR_EXIT && (found == NEXT || found == EXIT)) return;
    reportMismatchedKind(found, expected);
}

// A procedure body ends with RETURN, every other body with STOP.
void QUVParser::expectEnding(int found, int declarationKind)
{
    expectKind(found, declarationKind == PROC_DECL ? RETURN : STOP);
}

// Each undeclared forward label is reported once, at its first use.
void QUVParser::checkForwardLabels()
{
    std::unordered_set<std::string> seen;
    for (const LabelRecord& label : forwardLabels) {
        if (!seen.insert(label.name).second) continue;
        if (findDeclaredLabel(label.name)) continue;
        QUVException ex(*job);
        ex.makeForwardLabel(label.line, label.column, ruleName, getFilename(), label.name);
    }
}

// A statement that ends with EXIT closes the branch opened by the label taken
// last. A branch whose label was never read (after a syntax error) has no name
// to hand on.
void QUVParser::closeBranch(int kind, std::vector<std::string>& branchNames)
{
    collectExitLabel = (kind == EXIT);
    if (kind != EXIT || exitLabelNames.empty()) return;
    branchNames.push_back(exitLabelNames.back());
    exitLabelNames.pop_back();
}

void QUVParser::fillLabel(LabelRecord& label, antlr::RefToken name)
{
    label.name = name->getText();
    label.line = name->getLine();
    label.column = name->getColumn();
}

// A goto whose label was not read (its rule recovered from an error) has
// nothing to compare.
void QUVParser::appendReadLabel(std::vector<LabelRecord>& labels, const LabelRecord& label)
{
    if (label.line != -1 || !label.name.empty()) labels.push_back(label);
}

void QUVParser::checkCaseLabels(const std::vector<LabelRecord>& gotoLabels,
                                const std::vector<std::string>& branchNames)
{
    antlr::RefToken here = LT(1);
    if (gotoLabels.size() != branchNames.size()) {
        QUVException ex(*job);
        ex.makeCaseCountMismatch(here->getLine(), here->getColumn(), ruleName, getFilename(),
                                 static_cast<int>(gotoLabels.size()), static_cast<int>(branchNames.size()));
    }
    for (const LabelRecord& label : gotoLabels) {
        if (std::find(branchNames.begin(), branchNames.end(), label.name) != branchNames.end()) continue;
        QUVException ex(*job);
        ex.makeGotoUndeclared(here->getLine(), here->getColumn(), ruleName, getFilename(), label.name,
                              label.line, label.column);
    }
}
