// Heads and frames of procedures and processes, and the thread function and
// parameter block of a process.
//
// C++ has no nested functions: every procedure becomes a top-level function
// with a frame record "local" that holds pointers to the procedure's
// parameters and locals and a "father" pointer to the enclosing procedure's
// frame, so nested procedures reach both through the chain of fathers.
#include "compiler/core/base.hpp"
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/symbols.hpp"
#include "compiler/core/types.hpp"
#include "compiler/codegen/codegen.hpp"
#include "compiler/codegen/emit_support.hpp"

namespace {
std::string qualifier(const std::string& packName) {
    return packName.empty() ? std::string() : CodeNames::className(packName) + "::";
}

const ProNode* procedureNode(const BlockNode* b, const char* method) {
    auto p = dynamic_cast<const ProNode*>(b);
    if (!p)
        throwInternalFailure("not a procedure or process node", method);
    return p;
}

// The frame members that point at the parameters, and the statements that set them.
struct ParamPointers {
    std::string members;
    std::string inits;
};

// The element C++ sees in an array: the size given first is the one C++
// writes first, so an array of several sizes loses that one, not its last.
Type* withoutFirstSize(JobState& job, const ArrayType* array) {
    auto inner = dynamic_cast<const ArrayType*>(array->elementType);
    if (!inner)
        return array->elementType;
    return job.types().makeArray(withoutFirstSize(job, inner), array->size);
}

// What a parameter holds in C++: a value parameter of an array type (also one
// named by a type declaration) is a pointer to the array's first element.
const Type* heldType(JobState& job, const Type* t, int kind) {
    if (kind != DEF_VALUE_PARAM)
        return t;
    const Type* real = t;
    while (auto named = dynamic_cast<const NamedType*>(real))
        real = named->target;
    if (auto array = dynamic_cast<const ArrayType*>(real))
        return job.types().makePointer(withoutFirstSize(job, array));
    return t;
}

ParamPointers paramPointers(JobState& job, const ProNode* p) {
    ParamPointers out;
    for (int i = 0; i < p->getParamCount(); ++i) {
        std::string c = CodeNames::paramName(p->getFormalParamName(i));
        const Type* held = heldType(job, emit::orUnknown(job, p->getParamType(i)), p->getParamAttrib(i));
        out.members += CodeNames::pointerDeclaration(c, held);
        out.inits += CodeNames::pointerInit(c);
    }
    return out;
}
}  // namespace

// ---- heads ------------------------------------------------------------------------------------

void codegen::createProcHead(JobState&, CodeFragment& f, ProNode* p, std::string name, const CodeFragment* params,
                             std::string packName) {
    std::string separator = p->getParamCount() == 0 ? "" : ",";
    std::string tail = " ( " + p->getFatherTypeName() + " *father" + separator + params->getCode() + " )";
    f.innerTypes.clear();
    f.code = "void " + qualifier(packName) + p->getCppName() + tail;
    f.typeset = name + "(" + params->getTypeset() + ")";
    f.prototypes = "void " + p->getCppName() + tail;
}

void codegen::createProsHead(JobState&, CodeFragment& f, ProNode* p, std::string, const CodeFragment* params,
                             std::string packName) {
    f.code = "void " + qualifier(packName) + p->getCppName() + " (" + params->getCode() + ")";
    f.prototypes = "void " + p->getCppName() + " (" + params->getCode() + ")" + ";" + base::newline();
}

// ---- frames -------------------------------------------------------------------------------------

void codegen::createFrameStruct(JobState& job, CodeFragment& f, BlockNode* b, std::string name, std::string headTypeset,
                                std::string headCpp, const CodeFragment* locals, const CodeFragment* procs,
                                const CodeFragment* body) {
    const ProNode* p = procedureNode(b, "CodeFragment::createFrameStruct()");
    const std::string NL = base::newline();
    bool isMain = name == "$Main";
    std::string fatherStatement = isMain ? "local.father=NULL;" : "local.father = father";
    std::string frameType = p->getLocalTypeName();
    ParamPointers params = paramPointers(job, p);

    f.innerTypes = procs->innerTypes + body->innerTypes;
    f.prototypes = "typedef struct " + base::openBrace() + params.members + locals->innerTypes +
                   p->getFatherTypeName() + " *father" + ";" + base::closeBrace() + frameType + ";" + NL +
                   procs->prototypes + body->prototypes;
    f.typeset =
        headTypeset + base::openBracket() + locals->typeset + procs->typeset + body->typeset + base::closeBracket();
    // The program entry returns int, while a body ends with a plain return: the
    // main body runs as a lambda inside it, which also keeps the frame in reach.
    std::string bodyCode = isMain ? "[&]()" + base::openBrace() + body->code + base::closeBrace() + "()" + ";" + NL
                                  : body->code;
    std::string function = headCpp + base::openBrace() + locals->code + frameType + " local" + ";" + NL +
                           params.inits + locals->prototypes + fatherStatement + ";" + NL + bodyCode +
                           base::closeBrace();
    // The main body's head is the program entry, which the unit emitter writes
    // after these nested procedures.
    f.beforeEntry = isMain ? procs->code : std::string();
    f.code = isMain ? function : procs->code + function;
}

void codegen::createFrameDecl(JobState& job, CodeFragment& f, BlockNode* b, std::string, std::string headTypeset, std::string headCpp,
                              const CodeFragment* locals, const CodeFragment* procs, const CodeFragment* body) {
    const ProNode* p = procedureNode(b, "CodeFragment::createFrameDecl()");
    const std::string NL = base::newline();
    std::string frameType = p->getLocalTypeName();

    // Only a frame that a nested procedure reaches points at the parameters.
    ParamPointers params = p->isFrameReached() ? paramPointers(job, p) : ParamPointers();

    f.innerTypes = procs->innerTypes + body->innerTypes;
    f.prototypes = "typedef struct " + base::openBrace() + params.members + locals->innerTypes + base::closeBrace() +
                   frameType + ";" + NL + procs->prototypes + body->prototypes;
    f.typeset =
        headTypeset + base::openBracket() + locals->typeset + procs->typeset + body->typeset + base::closeBracket();
    f.beforeEntry.clear();
    f.code = procs->code + headCpp + base::openBrace() + locals->code + frameType + " local" + ";" + NL + params.inits +
             locals->prototypes + ";" + NL + body->code + base::closeBrace();
}

// ---- process thread functions ---------------------------------------------------------------

// The thread function takes the run-time parameter block its starter filled
// (quv_runtime::ProcessBlock) and takes each formal's actual by the formal's
// name, converted to the formal's type; a formal without an actual keeps its
// default. It makes its output channels before it waits for its input
// channels, so two processes that talk both ways never wait for each other.
void codegen::createProsBody(JobState& job, CodeFragment& f, ProNode* p, std::string packName) {
    const std::string NL = base::newline();
    const std::string threadName = CodeNames::callName(p->getName());

    std::string values, arguments, creations, waits;
    for (int i = 0; i < p->getParamCount(); ++i) {
        int kind = p->getParamAttrib(i);
        const Type* type = emit::orUnknown(job, p->getParamType(i));
        const std::string formal = p->getFormalParamName(i);
        const std::string member = CodeNames::dName(formal);
        const std::string typeName = CodeNames::dtName(formal);
        const std::string name = emit::quoted(formal);
        std::string typedefLine = "typedef " + CodeNames::declaration(typeName, type) + ";" + NL;
        switch (kind) {
        case DEF_OUTPUT_CHANNEL:
            creations += typedefLine + typeName + " " + member + " = temp->create_channel<" + typeName + ">(" + name +
                         ");" + NL;
            break;
        case DEF_INPUT_CHANNEL:
            waits += typedefLine + typeName + " " + member + " = temp->await_channel<" + typeName + ">(" + name +
                     ");" + NL;
            break;
        case DEF_REF_PARAM:
            values += typedefLine + typeName + " " + CodeNames::doName(formal) + "{};" + NL + typeName + "& " + member +
                      " = temp->ref(" + name + "," + CodeNames::doName(formal) + ");" + NL;
            break;
        default:
            values += typedefLine + typeName + " " + member + "{};" + NL + "temp->take(" + name + "," + member +
                      ");" + NL;
            break;
        }
        arguments += std::string(i == 0 ? "" : ",") + member;
    }

    std::string instance = CodeNames::globalInstance(packName);
    std::string call = CodeNames::globalInstanceDecl(packName) + instance + (instance.empty() ? "" : ".") +
                       p->getCppName() + "(" + NL + arguments + ")" + ";" + NL;

    f.innerTypes = "void " + threadName + "(void * params) " + ";" + NL;
    f.code = "void " + threadName + "(void * params) " + base::openBrace() +
             "quv_runtime::ProcessBlock *temp = (quv_runtime::ProcessBlock*) params" + ";" + NL + values + creations +
             waits + "if (temp->timer_interval==0)" + base::openBrace() + call + base::closeBrace() + "else" +
             base::openBrace() + "while (true)" + base::openBrace() + call +
             "quv_runtime::sleep(temp->timer_interval)" + ";" + NL + base::closeBrace() + base::closeBrace() +
             "temp->finish()" + ";" + NL + "_endthread()" + ";" + NL + base::closeBrace();
    f.typeset.clear();
}
