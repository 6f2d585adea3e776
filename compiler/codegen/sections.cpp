// Program units, declaration sections, parameter lists and base-class lists.
#include "compiler/core/base.hpp"
#include "compiler/core/symbols.hpp"
#include "compiler/core/types.hpp"
#include "compiler/codegen/codegen.hpp"
#include "compiler/codegen/emit_support.hpp"

namespace {
// g++ wants the program entry to return int.
const char* const entryHead = "int main()";
const char* const mEntryHead = "int  main()";
}  // namespace

// ---- program units ----------------------------------------------------------------

void codegen::createMain(JobState& job, CodeFragment& f, const CodeFragment* T, const CodeFragment* G, const CodeFragment* V,
                         const CodeFragment* P, const CodeFragment* S, const CodeFragment* K, const CodeFragment* A,
                         const CodeFragment* M) {
    const std::string CB = base::closeBracket();
    f.typeset = base::openBracket() + CodeNames::channelStyle(job) + T->typeset + CB + G->typeset + CB + V->typeset + CB +
                P->typeset + CB + S->typeset + CB + K->typeset + CB + A->typeset + CB + base::openBracket() + CB +
                M->typeset + CB + CB + CB + CB + CB;
    f.code = T->code + G->code + V->code + P->code + S->code + K->code + A->code + M->beforeEntry + entryHead + M->code;
    // Records and unions not defined by the type part are defined after it, before anything that uses them.
    f.prototypes = T->prototypes + emit::recordDefinitions(job) + G->prototypes + V->prototypes + P->prototypes +
                   S->prototypes + K->prototypes + A->prototypes + M->prototypes;
    // Processes of other files of the project that this file starts.
    f.innerTypes = T->innerTypes + G->innerTypes + V->innerTypes + P->innerTypes + S->innerTypes + K->innerTypes +
                   A->innerTypes + M->innerTypes + CodeNames::threadDeclarations(job, "", 1);
}

void codegen::createDMain(JobState& job, CodeFragment& f, const CodeFragment* T, const CodeFragment* G, const CodeFragment* V,
                          const CodeFragment* P, const CodeFragment* S, const CodeFragment* K, const CodeFragment* A) {
    const std::string CB = base::closeBracket();
    f.typeset = base::openBracket() + CodeNames::channelStyle(job) + T->typeset + CB + G->typeset + CB + V->typeset + CB +
                P->typeset + CB + S->typeset + CB + K->typeset + CB + A->typeset + CB + CB;
    f.code = T->code + G->code + V->code + P->code + S->code + K->code + A->code;
    f.prototypes = T->prototypes + emit::recordDefinitions(job) + G->prototypes + V->prototypes + P->prototypes +
                   S->prototypes + K->prototypes + A->prototypes;
    f.innerTypes = T->innerTypes + G->innerTypes + V->innerTypes + P->innerTypes + S->innerTypes + K->innerTypes +
                   A->innerTypes + CodeNames::threadDeclarations(job, "", 1);
}

void codegen::createMMain(JobState& job, CodeFragment& f, const CodeFragment* T, const CodeFragment* G, const CodeFragment* V,
                          const CodeFragment* M) {
    const std::string CB = base::closeBracket();
    f.typeset = base::openBracket() + T->typeset + CB + G->typeset + CB + V->typeset + CB + base::openBracket() +
                M->typeset + CB + CB + CB;
    f.code = T->code + G->code + V->code + M->beforeEntry + mEntryHead + M->code;
    f.prototypes = T->prototypes + emit::recordDefinitions(job) + G->prototypes + V->prototypes + M->prototypes;
    f.innerTypes = T->innerTypes + G->innerTypes + V->innerTypes + M->innerTypes + CodeNames::threadDeclarations(job, "", 1);
}

// ---- sections -------------------------------------------------------------------------

namespace {
void addTypesetItem(SectionFragment& s, const std::string& keyword, const CodeFragment* item) {
    if (s.count == 0)
        s.typeset = keyword + base::openBracket() + item->getTypeset();
    else
        s.typeset += ";" + base::newline() + item->getTypeset();
}

void addItem(SectionFragment& s, const std::string& keyword, const CodeFragment* item) {
    addTypesetItem(s, keyword, item);
    ++s.count;
    s.code += item->getCode();
    s.prototypes += item->getPrototypes();
    s.innerTypes += item->getInnerTypes();
}
}  // namespace

void codegen::createTypeSection(JobState& job, SectionFragment& s, const CodeFragment* item) {
    addTypesetItem(s, "%TYPE", item);
    ++s.count;
    // The records and unions this declaration made come first, so its typedef can name them.
    s.prototypes += emit::recordDefinitions(job) + item->getCode();
}

void codegen::createGlobSection(JobState&, SectionFragment& s, const CodeFragment* item) {
    addItem(s, "%Glob", item);
}

void codegen::createVarSection(JobState&, SectionFragment& s, const CodeFragment* item) {
    addItem(s, "%Var", item);
}

void codegen::createLocSection(JobState&, SectionFragment& s, const CodeFragment* item) {
    addItem(s, "%Loc", item);
}

void codegen::createProcSection(JobState&, SectionFragment& s, const CodeFragment* item) {
    addItem(s, "%Proc", item);
}

void codegen::createProsSection(JobState&, SectionFragment& s, const CodeFragment* item) {
    addItem(s, "%Pros", item);
}

void codegen::createPackSection(JobState&, SectionFragment& s, const CodeFragment* item) {
    addItem(s, "%Pack", item);
}

void codegen::createAgtSection(JobState&, SectionFragment& s, const CodeFragment* item) {
    addItem(s, "%AGT", item);
}

void codegen::createParamSection(JobState&, SectionFragment& s, const CodeFragment* item) {
    addTypesetItem(s, "%Pack", item);
    if (s.count != 0)
        s.code += ",";
    s.code += item->getCode();
    s.prototypes += item->getPrototypes();
    s.innerTypes += item->getInnerTypes();
    ++s.count;
}

void codegen::appendProc(JobState&, SectionFragment& s, const CodeFragment* item) {
    s.prototypes += item->getPrototypes() + ";" + base::newline();
}

void codegen::appendPros(JobState&, SectionFragment& s, const CodeFragment* item) {
    s.code += item->getCode();
    // The thread function in the code needs its parameter block type.
    s.innerTypes += item->getInnerTypes();
    s.prototypes += item->getPrototypes() + ";" + base::newline();
}

// ---- base classes -----------------------------------------------------------------------

void codegen::createDerivation(JobState&, DerivationFragment& d, const std::string& name, Node* father) {
    if (d.baseNames.empty())
        d.code = ": public ";
    else
        d.code += ",";
    d.typeset += name;
    d.code += CodeNames::className(name);
    d.baseNames.push_back(name);
    if (auto block = dynamic_cast<BlockNode*>(father))
        d.fathers.push_back(block);
}
