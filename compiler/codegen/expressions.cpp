// Constants, variable accesses and operator expressions.
//
// QUV/E's operator precedence is not C++'s, so every operator result is
// parenthesised in its C++ text and the C++ compiler groups it as the tree
// did; the typeset text keeps the source's own parentheses only.
#include <charconv>
#include <system_error>

#include "compiler/core/diagnostics.hpp"
#include "compiler/core/symbols.hpp"
#include "compiler/core/types.hpp"
#include "compiler/codegen/codegen.hpp"
#include "compiler/codegen/emit_support.hpp"

namespace {
std::string typesetOf(const CodeFragment* f) {
    return f ? f->getTypeset() : std::string();
}

std::string codeOf(const CodeFragment* f) {
    return f ? f->getCode() : std::string();
}

Type* typeOf(JobState& job, const Expression* e) {
    Type* t = e ? e->getType() : nullptr;
    return t ? t : job.types().unknownType();
}

// The C++ text of an operator's result, grouped whatever surrounds it.
std::string grouped(const std::string& text) {
    return "(" + text + ")";
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isOctal(char c) {
    return c >= '0' && c <= '7';
}

std::string octal(unsigned char byte) {
    const char digits[] = {'\\', char('0' + (byte >> 6)), char('0' + ((byte >> 3) & 7)), char('0' + (byte & 7)), 0};
    return digits;
}

// A string literal as the lexer took it, written as a C++ literal with the
// same bytes. Most of it is C++ already and is kept as written; what is not:
// line ends inside the literal, "\u" escapes with more than one "u", "\u"
// escapes of a surrogate (C++ refuses those; they get the bytes the UTF-8
// form gives every other "\u" escape), a two-digit escape from "\4" to "\7"
// that an octal digit follows (C++ would read three digits), and a NUL byte
// written as it is. `bytes` counts the bytes the literal stands for and
// `holdsNul` tells whether one of them is a NUL.
struct CppLiteral {
    std::string text;
    size_t bytes = 0;
    bool holdsNul = false;
};

CppLiteral cppStringLiteral(const std::string& written) {
    CppLiteral out;
    std::string& text = out.text;
    text.reserve(written.size());
    // The quotes are no bytes of the string.
    const size_t last = written.size() - 1;
    for (size_t i = 0; i < written.size(); ++i) {
        const char c = written[i];
        const bool quote = i == 0 || i == last;
        if (!quote)
            ++out.bytes;
        if (c == '\n' || c == '\r') {
            text += c == '\n' ? "\\n" : "\\r";
            continue;
        }
        if (c == '\0') {
            text += "\\000";
            out.holdsNul = true;
            continue;
        }
        if (c != '\\' || i + 1 >= last) {
            text += c;
            continue;
        }
        const char e = written[i + 1];
        if (e == 'u') {
            size_t j = i + 1;
            while (j < written.size() && written[j] == 'u')
                ++j;
            const std::string hex = written.substr(j, 4);
            if (hex.size() == 4 && isHex(hex[0]) && isHex(hex[1]) && isHex(hex[2]) && isHex(hex[3])) {
                const unsigned code = std::stoul(hex, nullptr, 16);
                if (code >= 0xD800 && code <= 0xDFFF)
                    text += octal(0xE0 | (code >> 12)) + octal(0x80 | ((code >> 6) & 0x3F)) + octal(0x80 | (code & 0x3F));
                else
                    text += "\\u" + hex;
                out.bytes += code < 0x80 ? 0 : code < 0x800 ? 1 : 2;
                out.holdsNul = out.holdsNul || code == 0;
                i = j + 3;
                continue;
            }
        } else if (e >= '0' && e <= '7') {
            // As the lexer takes it: after "0" to "3" up to two more octal
            // digits, after "4" to "7" at most one.
            size_t digits = 1;
            unsigned value = e - '0';
            while (digits < (e <= '3' ? 3u : 2u) && i + 1 + digits < last && isOctal(written[i + 1 + digits])) {
                value = value * 8 + (written[i + 1 + digits] - '0');
                ++digits;
            }
            const bool runsOn = i + 1 + digits < last && isOctal(written[i + 1 + digits]);
            text += runsOn && digits < 3 ? octal(static_cast<unsigned char>(value)) : written.substr(i, 1 + digits);
            out.holdsNul = out.holdsNul || value == 0;
            i += digits;
            continue;
        }
        // Any other escape stands as written.
        text += c;
        text += e;
        ++i;
    }
    return out;
}

// The magnitude of the least Integer, the one literal that fits only negated.
const std::string kLeastIntegerMagnitude = "2147483648";

// An integer literal's digits are decimal, and C++ reads a leading 0 as
// octal: the C++ text is the value's decimal digits, "0" for zero.
std::string decimalDigits(const std::string& written) {
    const size_t first = written.find_first_not_of('0');
    return first == std::string::npos ? "0" : written.substr(first);
}

// A Float literal is a C++ float: unsuffixed, C++ would compute it and what
// it meets in double. One past the range of float is written as the
// infinity it becomes when stored, and one too small for any float as its
// zero, so that g++ has nothing to warn of.
std::string floatLiteral(const std::string& written) {
    float value = 0;
    const std::from_chars_result read = std::from_chars(written.data(), written.data() + written.size(), value);
    if (read.ec != std::errc::result_out_of_range)
        return written + "f";
    const bool large = written.find_first_not_of('0') < written.find('.');
    return large ? "std::numeric_limits<float>::infinity()" : "0.0f";
}
}  // namespace

bool codegen::integerLiteralFits(const std::string& written, bool negated) {
    const std::string digits = decimalDigits(written);
    const std::string limit = negated ? kLeastIntegerMagnitude : "2147483647";
    return digits.size() < limit.size() || (digits.size() == limit.size() && digits <= limit);
}

OperatorExpression::OperatorExpression(const std::string& typesetText, const std::string& cppText, Type* t) {
    typeset = typesetText;
    code = cppText;
    type = t;
}

// ---- constants ----------------------------------------------------------------------------------

void codegen::createConstant(JobState& job, Expression& target, int kind, const std::string& text) {
    target.attribute = kind;
    target.typeset = text;
    switch (kind) {
    case 0:
        target.code = decimalDigits(text);
        target.type = job.types().integerType();
        break;
    case 1:
        target.code = floatLiteral(text);
        target.type = job.types().floatType();
        break;
    case 2: {
        // A NUL would end the string that a plain C++ literal makes.
        const CppLiteral literal = cppStringLiteral(text);
        target.code = literal.holdsNul
                           ? "std::string(" + literal.text + ", " + std::to_string(literal.bytes) + ")"
                           : "static_cast<std::string>(" + literal.text + ")";
        target.type = job.types().stringType();
        break;
    }
    case 3:
    case 4:
        target.code = kind == 3 ? "true" : "false";
        target.type = job.types().logicType();
        break;
    case 5:
    case 6:
        target.code = kind == 5 ? "true" : "false";
        target.type = job.types().boolType();
        break;
    case 7:
        target.code = "-" + decimalDigits(text);
        target.type = job.types().integerType();
        break;
    case 8:
        target.code = "-" + floatLiteral(text);
        target.type = job.types().floatType();
        break;
    default:
        throwInternalFailure("illegal constant type", "Constant::newConstant()");
    }
}

// ---- access forms -------------------------------------------------------------------------------

namespace {
Type* typeOrUnknown(JobState& job, const Expression& e) {
    return e.type ? e.type : job.types().unknownType();
}

// A new access record of the kind of e with the given texts.
std::unique_ptr<Expression> derive(const Expression& e, const std::string& typesetText, const std::string& cppText,
                                   Type* t) {
    auto d = std::make_unique<Expression>(std::string(), t, e.attribute);
    d->typeset = typesetText;
    d->code = cppText;
    return d;
}

std::string selectable(const Expression& e) {
    return emit::selectable(e.code);
}
}  // namespace

std::unique_ptr<Expression> codegen::createIndex(JobState& job, const Expression& e, const OperatorExpression* i) {
    Type* t = typeOrUnknown(job, e)->checkIndex(job, typeOf(job, i));
    return derive(e, e.typeset + "[" + typesetOf(i) + "]", selectable(e) + "[" + codeOf(i) + "]", t);
}

std::unique_ptr<Expression> codegen::createPtrField(JobState& job, const Expression& e, const std::string& m) {
    Type* t = typeOrUnknown(job, e)->checkArrow(job, m);
    return derive(e, e.typeset + "->" + m, selectable(e) + "->" + CodeNames::fieldName(m), t);
}

std::unique_ptr<Expression> codegen::createField(JobState& job, const Expression& e, const std::string& m) {
    Type* t = typeOrUnknown(job, e)->checkField(job, m);
    return derive(e, e.typeset + "." + m, selectable(e) + "." + CodeNames::fieldName(m), t);
}

std::unique_ptr<Expression> codegen::createParen(JobState& job, const Expression& e) {
    return derive(e, "(" + e.typeset + ")", "(" + e.code + ")", typeOrUnknown(job, e)->self());
}

std::unique_ptr<Expression> codegen::createDereference(JobState& job, const Expression& e) {
    // Grouped so that a field of the pointed-to record selects from the record, not from the pointer.
    Type* t = typeOrUnknown(job, e)->checkDeref(job);
    return derive(e, "*" + e.typeset, grouped("*" + e.code), t);
}

void codegen::setVariableAccess(JobState&, Expression& e, const std::string& path, const std::string& scope) {
    e.code = scope + CodeNames::pointerDeref(CodeNames::varName(e.typeset), path);
    // A channel reached through a frame is used with "->": grouped, the
    // dereference comes first.
    if (!path.empty() && (e.attribute == DEF_INPUT_CHANNEL || e.attribute == DEF_OUTPUT_CHANNEL))
        e.code = "(" + e.code + ")";
}

// ---- operators on a variable ----------------------------------------------------------------

std::unique_ptr<OperatorExpression> codegen::createAddressOf(JobState& job, const Expression& e) {
    Type* t = typeOrUnknown(job, e)->checkAddressOf(job);
    return std::make_unique<OperatorExpression>("&" + e.typeset, grouped("&" + e.code), t);
}

std::unique_ptr<OperatorExpression> codegen::createCanSend(JobState& job, const Expression& e) {
    Type* t = typeOrUnknown(job, e)->checkCanSend(job);
    return std::make_unique<OperatorExpression>(e.typeset + "!", emit::onAccess(CodeNames::channelCanSend(job, e.typeset), e.typeset, e.code),
                                  t);
}

std::unique_ptr<OperatorExpression> codegen::createCanRecv(JobState& job, const Expression& e) {
    Type* t = typeOrUnknown(job, e)->checkCanRecv(job);
    return std::make_unique<OperatorExpression>(e.typeset + "?", emit::onAccess(CodeNames::channelCanRecv(job, e.typeset), e.typeset, e.code),
                                  t);
}

std::unique_ptr<OperatorExpression> codegen::fromVariable(JobState& job, const Expression* record) {
    return std::make_unique<OperatorExpression>(typesetOf(record), codeOf(record), typeOf(job, record));
}

std::unique_ptr<OperatorExpression> codegen::fromConstant(JobState& job, const Expression* record) {
    return fromVariable(job, record);
}

// ---- operators on expressions ---------------------------------------------------------------

namespace {
typedef Type* (Type::*BinaryRule)(JobState&, Type*);

std::unique_ptr<OperatorExpression> binary(JobState& job, const Expression* l, const OperatorExpression* r,
                           const std::string& typesetOp, const std::string& cppOp, BinaryRule rule) {
    Type* t = (typeOf(job, l)->*rule)(job, typeOf(job, r));
    return std::make_unique<OperatorExpression>(typesetOf(l) + typesetOp + typesetOf(r),
                                  grouped(codeOf(l) + cppOp + codeOf(r)), t);
}
}  // namespace

namespace {
bool isArray(const Expression* e) {
    const Type* t = e ? e->getType() : nullptr;
    while (auto named = dynamic_cast<const NamedType*>(t))
        t = named->target;
    return t && t->getNumber() == Type::ARRAY;
}

// Arrays compare element by element (records and unions through the == written with their definitions).
std::unique_ptr<OperatorExpression> equality(JobState& job, const Expression* l, const OperatorExpression* r,
                                             const std::string& op, BinaryRule rule) {
    std::unique_ptr<OperatorExpression> e = binary(job, l, r, " " + op + " ", " " + op + " ", rule);
    if (!isArray(l) && !isArray(r))
        return e;
    std::string test = "quv_runtime::equal(" + codeOf(l) + "," + codeOf(r) + ")";
    return std::make_unique<OperatorExpression>(e->getTypeset(), grouped(op == "==" ? test : "!" + test),
                                                e->getType());
}
}  // namespace

std::unique_ptr<OperatorExpression> codegen::createEq(JobState& job, const Expression& l, const OperatorExpression* r) {
    return equality(job, &l, r, "==", &Type::checkEq);
}

std::unique_ptr<OperatorExpression> codegen::createNe(JobState& job, const Expression& l, const OperatorExpression* r) {
    return equality(job, &l, r, "!=", &Type::checkNe);
}

std::unique_ptr<OperatorExpression> codegen::createLt(JobState& job, const Expression& l, const OperatorExpression* r) {
    return binary(job, &l, r, " < ", " < ", &Type::checkLt);
}

std::unique_ptr<OperatorExpression> codegen::createLe(JobState& job, const Expression& l, const OperatorExpression* r) {
    return binary(job, &l, r, " <= ", " <= ", &Type::checkLe);
}

std::unique_ptr<OperatorExpression> codegen::createGt(JobState& job, const Expression& l, const OperatorExpression* r) {
    return binary(job, &l, r, " > ", " > ", &Type::checkGt);
}

std::unique_ptr<OperatorExpression> codegen::createGe(JobState& job, const Expression& l, const OperatorExpression* r) {
    return binary(job, &l, r, " >= ", " >= ", &Type::checkGe);
}

std::unique_ptr<OperatorExpression> codegen::createAnd(JobState& job, const Expression& l, const OperatorExpression* r) {
    return binary(job, &l, r, " && ", " && ", &Type::checkAnd);
}

std::unique_ptr<OperatorExpression> codegen::createOr(JobState& job, const Expression& l, const OperatorExpression* r) {
    return binary(job, &l, r, " || ", " || ", &Type::checkOr);
}

std::unique_ptr<OperatorExpression> codegen::createAdd(JobState& job, const Expression& l, const OperatorExpression* r) {
    std::unique_ptr<OperatorExpression> e = binary(job, &l, r, " + ", " + ", &Type::checkAdd);
    if (typeOf(job, &l)->getNumber() == Type::UNKNOWN || !Type::equal(typeOf(job, &l), job.types().stringType()) ||
        Type::equal(typeOf(job, r), job.types().stringType()))
        return e;
    // A String plus a number or truth value appends its written text.
    return std::make_unique<OperatorExpression>(
        e->getTypeset(), grouped(l.code + " + quv_runtime::text(" + codeOf(r) + ")"), e->getType());
}

std::unique_ptr<OperatorExpression> codegen::createSub(JobState& job, const Expression& l, const OperatorExpression* r) {
    return binary(job, &l, r, " - ", " - ", &Type::checkSub);
}

std::unique_ptr<OperatorExpression> codegen::createMul(JobState& job, const Expression& l, const OperatorExpression* r) {
    return binary(job, &l, r, " * ", " * ", &Type::checkMul);
}

std::unique_ptr<OperatorExpression> codegen::createDiv(JobState& job, const Expression& l, const OperatorExpression* r) {
    return binary(job, &l, r, " / ", " / ", &Type::checkDiv);
}

std::unique_ptr<OperatorExpression> codegen::createMod(JobState& job, const Expression& l, const OperatorExpression* r) {
    return binary(job, &l, r, " Mod ", " % ", &Type::checkMod);
}

std::unique_ptr<OperatorExpression> codegen::createNeg(JobState& job, const Expression& e) {
    Type* t = typeOrUnknown(job, e)->checkNeg(job);
    // The least Integer negates a literal no int holds; C++ would read its
    // magnitude as a long and compute in long with it.
    if (e.code == kLeastIntegerMagnitude)
        return std::make_unique<OperatorExpression>("-" + e.typeset, grouped("-2147483647 - 1"), t);
    return std::make_unique<OperatorExpression>("-" + e.typeset, grouped("-" + e.code), t);
}

std::unique_ptr<OperatorExpression> codegen::createLogicalNot(JobState& job, const Expression& e) {
    Type* t = typeOrUnknown(job, e)->checkNot(job);
    return std::make_unique<OperatorExpression>("~" + e.typeset, grouped("!" + e.code), t);
}

std::unique_ptr<OperatorExpression> codegen::createParenExpr(JobState& job, const Expression& e) {
    return std::make_unique<OperatorExpression>("(" + e.typeset + ")", "(" + e.code + ")", typeOrUnknown(job, e)->self());
}

namespace {
// ":" and a name written as "::_n" would be read as "::" and ":_n".
std::string elseSide(const std::string& code) {
    return !code.empty() && code[0] == ':' ? " " + code : code;
}
}  // namespace

std::unique_ptr<OperatorExpression> codegen::createIfThenElse(JobState& job, const Expression& c, const OperatorExpression* t,
                                              const OperatorExpression* e) {
    Type* result = typeOrUnknown(job, c)->checkIfThenElse(job, typeOf(job, t), typeOf(job, e));
    return std::make_unique<OperatorExpression>("If " + c.typeset + " Then " + typesetOf(t) + " Else " + typesetOf(e),
                                  grouped("(" + c.code + ")?" + codeOf(t) + ":" + elseSide(codeOf(e))), result);
}

std::unique_ptr<OperatorExpression> codegen::createCall(JobState& job, const Expression& e, const CodeFragment* p) {
    auto call = dynamic_cast<const ProcCall*>(p);
    std::string callCode = call ? call->getValueCode() : codeOf(p);
    // A call that made no C++ text (it was reported) leaves the value alone.
    std::string text = callCode.empty() ? e.code : "(" + callCode + "," + e.code + ")";
    return std::make_unique<OperatorExpression>(e.typeset + ":" + typesetOf(p), text, typeOrUnknown(job, e)->self());
}
