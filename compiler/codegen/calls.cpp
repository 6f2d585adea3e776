// Procedure calls and their actual parameters, and the input/output built-ins.
//
// No call text ends in ";": a call is either a statement, whose call action
// adds the ";", or a value, which the call expression puts before a comma.
#include "compiler/core/base.hpp"
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/symbols.hpp"
#include "compiler/core/types.hpp"
#include "compiler/codegen/codegen.hpp"
#include "compiler/codegen/emit_support.hpp"

namespace {
// Messages of QUVException::makeSemantic (ORDER: the semantic message table).
enum CallMessage {
    TWO_CHANNELS_SAME_PEER = 3,
    SAME_FORMAL = 4,
    IOP_ALIAS = 5,
    ACTUAL_COUNT = 6,
    NO_SUCH_FORMAL = 7,
    ATTRIB_MISMATCH = 18
};

using emit::report;

std::string typesetOf(const CodeFragment* f) {
    return f ? f->getTypeset() : std::string();
}

std::string codeOf(const CodeFragment* f) {
    return f ? f->getCode() : std::string();
}

bool isArrayType(const Type* t) {
    while (auto named = dynamic_cast<const NamedType*>(t))
        t = named->target;
    return dynamic_cast<const ArrayType*>(t) != nullptr;
}

std::string fileTypeset(const VarNode* f) {
    return f && f->getExpression() ? f->getExpression()->getTypeset() : std::string();
}

std::string fileCode(const VarNode* f) {
    return f && f->getExpression() ? f->getExpression()->getCode() : std::string();
}

bool isChannel(int kind) {
    return kind == DEF_INPUT_CHANNEL || kind == DEF_OUTPUT_CHANNEL;
}

template <typename T>
std::string joinedTypesets(const std::vector<T*>& items) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : ",") + typesetOf(items[i]);
    return text;
}

// The items of a write: a String item is parenthesised.
std::string written(const std::vector<OperatorExpression*>& items) {
    std::string text;
    for (const OperatorExpression* item : items) {
        bool isString = item && Type::equalsBasic(item->getType(), Type::STRING);
        text += " << " + (isString ? "(" + codeOf(item) + ")" : codeOf(item));
    }
    return text;
}

std::string read(const std::vector<Expression*>& items) {
    std::string text;
    for (const Expression* item : items)
        text += " >> " + codeOf(item);
    return text;
}

std::string peerName(const VarNode* peer) {
    return peer && peer->getExpression() ? peer->getExpression()->getTypeset() : std::string();
}

Type* peerType(const VarNode* peer) {
    return peer && peer->getExpression() ? peer->getExpression()->getType() : nullptr;
}
}  // namespace

// ---- actual parameters --------------------------------------------------------------------------

ActualParam* ProcCall::createInParam(const Expression* expression, std::string formal) {
    ActualParam* a = new ActualParam();
    a->attribute = DEF_VALUE_PARAM;
    a->typeset = "%INP/ " + typesetOf(expression) + " | " + formal;
    a->actualCode = codeOf(expression);
    a->formalName = formal;
    a->type = expression ? expression->getType() : nullptr;
    return a;
}

ActualParam* ProcCall::createIoParam(const Expression* variable, std::string formal) {
    ActualParam* a = new ActualParam();
    a->attribute = DEF_REF_PARAM;
    a->typeset = "%IOP/ " + typesetOf(variable) + " | " + formal;
    a->actualCode = codeOf(variable);
    // An array value parameter is a pointer in C++; the formal wants the array.
    if (variable && variable->getAttribute() == DEF_VALUE_PARAM && isArrayType(variable->getType()))
        a->actualCode = "quv_runtime::array_ref< " + CodeNames::declaration("", variable->getType()) + " >(" +
                        a->actualCode + ")";
    a->formalName = formal;
    a->type = variable ? variable->getType() : nullptr;
    return a;
}

ActualParam* ProcCall::createChanInParam(std::string channel, VarNode* peer, std::string formal) {
    ActualParam* a = new ActualParam();
    a->attribute = DEF_INPUT_CHANNEL;
    a->typeset = "%CHN/ " + channel + " (*," + peerName(peer) + ")" + " | " + formal + " (*, nouse)";
    a->actualCode = CodeNames::varName(channel);
    a->formalName = formal;
    a->peerControl = peerName(peer);
    a->type = peerType(peer);
    return a;
}

ActualParam* ProcCall::createChanOutParam(std::string channel, VarNode* peer, std::string formal) {
    ActualParam* a = new ActualParam();
    a->attribute = DEF_OUTPUT_CHANNEL;
    a->typeset = "%CHN/ " + channel + " (" + peerName(peer) + ",*)" + " | " + formal + " (nouse,*)";
    a->actualCode = CodeNames::varName(channel);
    a->formalName = formal;
    a->peerControl = peerName(peer);
    a->type = peerType(peer);
    return a;
}

bool ProcCall::checkActualPair(JobState& job, const ActualParam& actual, const ActualParam& other) {
    if (isChannel(actual.attribute) && isChannel(other.attribute) && actual.peerControl == other.peerControl &&
        actual.attribute == other.attribute) {
        report(job, TWO_CHANNELS_SAME_PEER);
        return false;
    }
    if (actual.formalName == other.formalName) {
        report(job, SAME_FORMAL);
        return false;
    }
    if (actual.attribute == DEF_REF_PARAM && other.attribute == DEF_VALUE_PARAM &&
        actual.actualCode == other.actualCode) {
        report(job, IOP_ALIAS);
        return false;
    }
    return true;
}

// ---- procedure calls ---------------------------------------------------------------------------

void ProcCall::createProcCall(JobState& job, ProNode* procedure, std::string frame,
                              const std::vector<ActualParam*>& actuals) {
    innerTypes.clear();
    valueCode.clear();
    std::string name = procedure ? procedure->getName() : std::string();
    typeset = name + "(";
    for (size_t i = 0; i < actuals.size(); ++i)
        typeset += (i == 0 ? "" : ";") + actuals[i]->getTypeset();
    typeset += ")";
    if (!procedure)
        return;

    const int n = static_cast<int>(actuals.size());
    if (n != procedure->getParamCount()) {
        report(job, ACTUAL_COUNT);
        return;
    }
    // The actual of each formal position, matched by the formal's name.
    std::vector<const ActualParam*> byFormal(n, nullptr);
    bool unmatched = false;
    bool twice = false;
    for (const ActualParam* a : actuals) {
        int j = 0;
        while (j < n && procedure->getFormalParamName(j) != a->formalName)
            ++j;
        if (j == n) {
            report(job, NO_SUCH_FORMAL);
            unmatched = true;
            continue;
        }
        if (procedure->getParamAttrib(j) != a->attribute)
            report(job, ATTRIB_MISMATCH);
        if (byFormal[j]) {
            // Another formal is then left without an actual: no call can be made.
            report(job, SAME_FORMAL);
            twice = true;
            continue;
        }
        byFormal[j] = a;
    }
    if (unmatched)
        throwInternalFailure("paramorder=-1", "createProcCall");
    if (twice) {
        code.clear();
        return;
    }
    code = procedure->getCppName() + "(" + frame;
    for (int j = 0; j < n; ++j) {
        const Type* formal = procedure->getParamType(j);
        // C++ passes an array as a pointer to the caller's own: a value
        // parameter gets a copy that lives as long as the call.
        if (procedure->getParamAttrib(j) == DEF_VALUE_PARAM && isArrayType(formal))
            code += ",quv_runtime::value_copy< " + CodeNames::declaration("", formal) + " >(" +
                    byFormal[j]->actualCode + ")";
        else
            code += "," + byFormal[j]->actualCode;
    }
    code += ")";
}

// ---- the built-ins -----------------------------------------------------------------------------

void ProcCall::createFopen(VarNode* file, const Expression* name) {
    typeset = "Fopen(" + fileTypeset(file) + "," + typesetOf(name) + ")";
    innerTypes.clear();
    code = fileCode(file) + ".open(" + codeOf(name) + ".c_str())";
}

void ProcCall::createFclose(VarNode* file) {
    typeset = "Fclose(" + fileTypeset(file) + ")";
    innerTypes.clear();
    code = fileCode(file) + ".close()";
}

void ProcCall::createFeof(VarNode* file, const Expression* target) {
    typeset = "Feof(" + typesetOf(target) + "," + fileTypeset(file) + ")";
    innerTypes.clear();
    code = codeOf(target) + " = " + fileCode(file) + ".eof()";
}

void ProcCall::createQuvEof(VarNode* file, const Expression* marker) {
    typeset = "QuvEof(" + fileTypeset(file) + "," + typesetOf(marker) + ")";
    innerTypes.clear();
    code = "quveof(" + fileCode(file) + "," + codeOf(marker) + ")";
}

void ProcCall::createFread(VarNode* file, const std::vector<Expression*>& items) {
    typeset = "Fread(" + fileTypeset(file);
    for (const Expression* item : items)
        typeset += "," + typesetOf(item);
    typeset += ")";
    innerTypes.clear();
    code = fileCode(file) + read(items);
}

void ProcCall::createRead(const std::vector<Expression*>& items) {
    typeset = "Read(" + joinedTypesets(items) + ")";
    innerTypes.clear();
    code = "std::cin" + read(items);
}

void ProcCall::createFwrite(VarNode* file, const std::vector<OperatorExpression*>& items) {
    typeset = "Fwrite(" + fileTypeset(file);
    for (const OperatorExpression* item : items)
        typeset += "," + typesetOf(item);
    typeset += ")";
    innerTypes.clear();
    code = fileCode(file) + written(items) + " << std::flush";
}

void ProcCall::createWrite(const std::vector<OperatorExpression*>& items) {
    typeset = "Write(" + joinedTypesets(items) + ")";
    innerTypes.clear();
    code = "std::cout" + written(items) + " << std::flush";
}

void ProcCall::createFwriteln(VarNode* file, const std::vector<OperatorExpression*>& items) {
    typeset = "Fwriteln(" + fileTypeset(file);
    for (const OperatorExpression* item : items)
        typeset += "," + typesetOf(item);
    typeset += ")";
    innerTypes.clear();
    code = fileCode(file) + written(items) + " << std::endl << std::flush";
}

void ProcCall::createWriteln(const std::vector<OperatorExpression*>& items) {
    typeset = "Writeln(" + joinedTypesets(items) + ")";
    innerTypes.clear();
    code = "std::cout" + written(items) + " << std::endl << std::flush";
}

// The character built-ins are statement blocks, which keep their local "c"
// apart from the function's names; used as a value they are a lambda called in place.
namespace {
std::string characterBlock(const std::string& body) {
    return base::openBrace() + body + base::closeBrace();
}

std::string characterValue(const std::string& body) {
    return "[&]()" + characterBlock(body) + "()";
}

// Reads one character, white space included; at the end of the input the target keeps its value.
std::string getBody(const std::string& stream, const std::string& target) {
    const std::string NL = base::newline();
    return "char c;" + NL + "if (" + stream + ".get(c))" + NL + target + " = c" + ";" + NL;
}

std::string putBackBody(const std::string& source, const std::string& pushBack) {
    const std::string NL = base::newline();
    return "char c = " + source + "[0]" + ";" + NL + pushBack + "(c)" + ";" + NL;
}
}  // namespace

void ProcCall::createGetc(VarNode* file, const Expression* target) {
    typeset = "Getc(" + fileTypeset(file) + "," + typesetOf(target) + ")";
    innerTypes.clear();
    std::string body = getBody(fileCode(file), codeOf(target));
    code = characterBlock(body);
    valueCode = characterValue(body);
}

void ProcCall::createGetchar(const Expression* target) {
    typeset = "Getchar(" + typesetOf(target) + ")";
    innerTypes.clear();
    std::string body = getBody("std::cin", codeOf(target));
    code = characterBlock(body);
    valueCode = characterValue(body);
}

void ProcCall::createUnGetc(VarNode* file, const Expression* source) {
    typeset = "UnGetc(" + fileTypeset(file) + "," + typesetOf(source) + ")";
    innerTypes.clear();
    std::string body = putBackBody(codeOf(source), fileCode(file) + ".pushback");
    code = characterBlock(body);
    valueCode = characterValue(body);
}

void ProcCall::createUnGetChar(const Expression* source) {
    typeset = "UnGetChar(" + typesetOf(source) + ")";
    innerTypes.clear();
    // The standard input has no pushback; putback is the same for the last character read.
    std::string body = putBackBody(codeOf(source), "std::cin.putback");
    code = characterBlock(body);
    valueCode = characterValue(body);
}

void ProcCall::createItoc(const Expression* value, const Expression* target) {
    typeset = "Itoc(" + typesetOf(value) + "," + typesetOf(target) + ")";
    innerTypes.clear();
    code = codeOf(target) + " = itoc(" + codeOf(value) + ")";
}

void ProcCall::createStrlen(const Expression* target, const Expression* value) {
    typeset = "Strlen(" + typesetOf(target) + "," + typesetOf(value) + ")";
    innerTypes.clear();
    // A String target holds the length as its decimal text, not as the
    // character whose code the length is.
    if (target && target->getType() && Type::equalsBasic(target->getType(), Type::STRING))
        code = codeOf(target) + " = std::to_string(strlen(" + codeOf(value) + "))";
    else
        code = codeOf(target) + " = strlen(" + codeOf(value) + ")";
}
