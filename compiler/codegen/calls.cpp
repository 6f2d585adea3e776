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
    SAME_FORMAL = 4,
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

// The stream, ready for its members (also when it is reached through a frame).
std::string fileCode(const VarNode* f) {
    return f && f->getExpression() ? emit::selectable(f->getExpression()->getCode()) : std::string();
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

std::unique_ptr<ActualParam> codegen::createInActual(JobState&, const Expression* expression, std::string formal) {
    auto a = std::make_unique<ActualParam>();
    a->attribute = DEF_VALUE_PARAM;
    a->typeset = "%INP/ " + typesetOf(expression) + " | " + formal;
    a->actualCode = codeOf(expression);
    a->formalName = formal;
    a->type = expression ? expression->getType() : nullptr;
    return a;
}

std::unique_ptr<ActualParam> codegen::createIoActual(JobState&, const Expression* variable, std::string formal) {
    auto a = std::make_unique<ActualParam>();
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

std::unique_ptr<ActualParam> codegen::createChanInActual(JobState&, std::string channel, VarNode* peer, std::string formal) {
    auto a = std::make_unique<ActualParam>();
    a->attribute = DEF_INPUT_CHANNEL;
    a->typeset = "%CHN/ " + channel + " (*," + peerName(peer) + ")" + " | " + formal + " (*, nouse)";
    a->actualCode = CodeNames::varName(channel);
    a->formalName = formal;
    a->peerControl = peerName(peer);
    a->type = peerType(peer);
    return a;
}

std::unique_ptr<ActualParam> codegen::createChanOutActual(JobState&, std::string channel, VarNode* peer, std::string formal) {
    auto a = std::make_unique<ActualParam>();
    a->attribute = DEF_OUTPUT_CHANNEL;
    a->typeset = "%CHN/ " + channel + " (" + peerName(peer) + ",*)" + " | " + formal + " (nouse,*)";
    a->actualCode = CodeNames::varName(channel);
    a->formalName = formal;
    a->peerControl = peerName(peer);
    a->type = peerType(peer);
    return a;
}

// ---- procedure calls ---------------------------------------------------------------------------

std::unique_ptr<ProcCall> codegen::createProcCall(JobState& job, ProNode* procedure, std::string frame,
                                                  const std::vector<std::unique_ptr<ActualParam>>& actuals) {
    auto call = std::make_unique<ProcCall>();
    std::string& typeset = call->typeset;
    std::string& code = call->code;
    std::string name = procedure ? procedure->getName() : std::string();
    typeset = name + "(";
    for (size_t i = 0; i < actuals.size(); ++i)
        typeset += (i == 0 ? "" : ";") + actuals[i]->getTypeset();
    typeset += ")";
    if (!procedure)
        return call;

    const int n = static_cast<int>(actuals.size());
    if (n != procedure->getParamCount()) {
        report(job, ACTUAL_COUNT);
        return call;
    }
    // The actual of each formal position, matched by the formal's name.
    std::vector<const ActualParam*> byFormal(n, nullptr);
    bool unmatched = false;
    bool twice = false;
    for (const auto& a : actuals) {
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
        byFormal[j] = a.get();
    }
    if (unmatched)
        throwInternalFailure("paramorder=-1", "createProcCall");
    if (twice) {
        code.clear();
        return call;
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
    return call;
}

// ---- the built-ins -----------------------------------------------------------------------------

std::unique_ptr<ProcCall> codegen::createFopen(JobState&, VarNode* file, const Expression* name) {
    auto call = std::make_unique<ProcCall>();
    call->typeset = "Fopen(" + fileTypeset(file) + "," + typesetOf(name) + ")";
    call->code = fileCode(file) + ".open(" + codeOf(name) + ".c_str())";
    return call;
}

std::unique_ptr<ProcCall> codegen::createFclose(JobState&, VarNode* file) {
    auto call = std::make_unique<ProcCall>();
    call->typeset = "Fclose(" + fileTypeset(file) + ")";
    call->code = fileCode(file) + ".close()";
    return call;
}

std::unique_ptr<ProcCall> codegen::createFeof(JobState&, VarNode* file, const Expression* target) {
    auto call = std::make_unique<ProcCall>();
    call->typeset = "Feof(" + typesetOf(target) + "," + fileTypeset(file) + ")";
    call->code = codeOf(target) + " = " + fileCode(file) + ".eof()";
    return call;
}

std::unique_ptr<ProcCall> codegen::createQuvEof(JobState&, VarNode* file, const Expression* marker) {
    auto call = std::make_unique<ProcCall>();
    call->typeset = "QuvEof(" + fileTypeset(file) + "," + typesetOf(marker) + ")";
    call->code = "quveof(" + fileCode(file) + "," + codeOf(marker) + ")";
    return call;
}

std::unique_ptr<ProcCall> codegen::createFread(JobState&, VarNode* file, const std::vector<Expression*>& items) {
    auto call = std::make_unique<ProcCall>();
    call->typeset = "Fread(" + fileTypeset(file);
    for (const Expression* item : items)
        call->typeset += "," + typesetOf(item);
    call->typeset += ")";
    call->code = fileCode(file) + read(items);
    return call;
}

std::unique_ptr<ProcCall> codegen::createRead(JobState&, const std::vector<Expression*>& items) {
    auto call = std::make_unique<ProcCall>();
    call->typeset = "Read(" + joinedTypesets(items) + ")";
    call->code = "std::cin" + read(items);
    return call;
}

std::unique_ptr<ProcCall> codegen::createFwrite(JobState&, VarNode* file, const std::vector<OperatorExpression*>& items) {
    auto call = std::make_unique<ProcCall>();
    call->typeset = "Fwrite(" + fileTypeset(file);
    for (const OperatorExpression* item : items)
        call->typeset += "," + typesetOf(item);
    call->typeset += ")";
    call->code = fileCode(file) + written(items) + " << std::flush";
    return call;
}

std::unique_ptr<ProcCall> codegen::createWrite(JobState&, const std::vector<OperatorExpression*>& items) {
    auto call = std::make_unique<ProcCall>();
    call->typeset = "Write(" + joinedTypesets(items) + ")";
    call->code = "std::cout" + written(items) + " << std::flush";
    return call;
}

std::unique_ptr<ProcCall> codegen::createFwriteln(JobState&, VarNode* file, const std::vector<OperatorExpression*>& items) {
    auto call = std::make_unique<ProcCall>();
    call->typeset = "Fwriteln(" + fileTypeset(file);
    for (const OperatorExpression* item : items)
        call->typeset += "," + typesetOf(item);
    call->typeset += ")";
    call->code = fileCode(file) + written(items) + " << std::endl << std::flush";
    return call;
}

std::unique_ptr<ProcCall> codegen::createWriteln(JobState&, const std::vector<OperatorExpression*>& items) {
    auto call = std::make_unique<ProcCall>();
    call->typeset = "Writeln(" + joinedTypesets(items) + ")";
    call->code = "std::cout" + written(items) + " << std::endl << std::flush";
    return call;
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

// pushBack puts the character c back.
std::string putBackBody(const std::string& source, const std::string& pushBack) {
    const std::string NL = base::newline();
    return "char c = " + emit::selectable(source) + "[0]" + ";" + NL + pushBack + ";" + NL;
}
}  // namespace

std::unique_ptr<ProcCall> codegen::createGetc(JobState&, VarNode* file, const Expression* target) {
    auto call = std::make_unique<ProcCall>();
    call->typeset = "Getc(" + fileTypeset(file) + "," + typesetOf(target) + ")";
    std::string body = getBody(fileCode(file), codeOf(target));
    call->code = characterBlock(body);
    call->valueCode = characterValue(body);
    return call;
}

std::unique_ptr<ProcCall> codegen::createGetchar(JobState&, const Expression* target) {
    auto call = std::make_unique<ProcCall>();
    call->typeset = "Getchar(" + typesetOf(target) + ")";
    std::string body = getBody("std::cin", codeOf(target));
    call->code = characterBlock(body);
    call->valueCode = characterValue(body);
    return call;
}

std::unique_ptr<ProcCall> codegen::createUnGetc(JobState&, VarNode* file, const Expression* source) {
    auto call = std::make_unique<ProcCall>();
    call->typeset = "UnGetc(" + fileTypeset(file) + "," + typesetOf(source) + ")";
    std::string body = putBackBody(codeOf(source), fileCode(file) + ".pushback(c)");
    call->code = characterBlock(body);
    call->valueCode = characterValue(body);
    return call;
}

std::unique_ptr<ProcCall> codegen::createUnGetChar(JobState&, const Expression* source) {
    auto call = std::make_unique<ProcCall>();
    call->typeset = "UnGetChar(" + typesetOf(source) + ")";
    // As a file's: also after a read met the end of the input.
    std::string body = putBackBody(codeOf(source), "quv_runtime::pushback(std::cin, c)");
    call->code = characterBlock(body);
    call->valueCode = characterValue(body);
    return call;
}

std::unique_ptr<ProcCall> codegen::createItoc(JobState&, const Expression* value, const Expression* target) {
    auto call = std::make_unique<ProcCall>();
    call->typeset = "Itoc(" + typesetOf(value) + "," + typesetOf(target) + ")";
    call->code = codeOf(target) + " = itoc(" + codeOf(value) + ")";
    return call;
}

std::unique_ptr<ProcCall> codegen::createStrlen(JobState&, const Expression* target, const Expression* value) {
    auto call = std::make_unique<ProcCall>();
    call->typeset = "Strlen(" + typesetOf(target) + "," + typesetOf(value) + ")";
    // A String target holds the length as its decimal text, not as the
    // character whose code the length is.
    if (target && target->getType() && Type::equalsBasic(target->getType(), Type::STRING))
        call->code = codeOf(target) + " = std::to_string(strlen(" + codeOf(value) + "))";
    else
        call->code = codeOf(target) + " = strlen(" + codeOf(value) + ")";
    return call;
}
