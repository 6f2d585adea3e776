#include "compiler/core/diagnostics.hpp"

#include <iostream>
#include <stdexcept>
#include <typeinfo>

#include <antlr/CharStreamIOException.hpp>
#include <antlr/MismatchedCharException.hpp>
#include <antlr/MismatchedTokenException.hpp>
#include <antlr/NoViableAltException.hpp>
#include <antlr/NoViableAltForCharException.hpp>
#include <antlr/SemanticException.hpp>
#include <antlr/TokenStreamIOException.hpp>
#include <antlr/TokenStreamRecognitionException.hpp>
#include <antlr/TokenStreamRetryException.hpp>

#include "compiler/core/gbk.hpp"

namespace {

// ORDER: indexed by QUVException::Kind.
const char* const kindNamesUtf8[] = {"文件错误", "词法错误", "语法错误", "语义错误", "连接错误", "运行错误"};

// ORDER: indexed by QUVException::Number, message numbers 0..40; 22..40 are
// the texts of makeSemantic.
const char* const numberNamesUtf8[] = {
    "字符流读写异常",
    "符号流读写异常",
    "符号流匹配异常",
    "符号流重试异常",
    "字符匹配异常",
    "无可选字符异常",
    "符号匹配异常",
    "无可选符号异常",
    "标号异常",
    "操作符类型不匹配异常",
    "类型不匹配异常",
    "标志符无定义异常",
    "标志符重定义异常",
    "标志符定义匹配异常",
    "标志符引用不确定异常",
    "其他语义异常",
    "进程未在工程中定义异常",
    "进程在工程中重定义异常",
    "工程中存在多个主程序或系统程序异常",
    "工程中无主程序或系统程序异常",
    "未知运行异常",
    "致命运行异常",
    "channel can't send/receive undefined struct/union data types value, you should define a typename for this "
    "type to use!",
    "the type you want to define has an infinite size, maybe you have defined a struct A with a field have the same "
    "type A, while not Pointer(A)!",
    "the type you want to define has referenced itself, but it is not a record or union type",
    "In ProsCall, two channels communicated with the same process with the same input/output style, since quv/e "
    "processes act as point-to-point way,\t\tif the two channels communicate with different values, you should "
    "define a union type for the two processes to communicate!",
    "In ProcCall/ProsCall, two actual param is connected with the same formal param ",
    "In ProCall, two iop param is pointed to the same variable, you can't modify a ioparam in a clock!",
    "Procedure Call's actual param num not equal to it's formal param num!",
    "Procedure Call have no required formal param!",
    "ProsCall exists two same pros controls, you should defined them with different controls!",
    "Pros have defined an input channel with the process declared before,  if the two channels communicate different "
    "values, \t\tyou should define a union type for the two processes to communicate!",
    "Pros have defined an output channel with the process declared before,  if the two channels communicate "
    "different values, \t\tyou should define a union type for the two processes to communicate!!",
    "In Parallel statement, controlName hasn't being used!",
    "In Parallel statement, a process can't communicate with itself!",
    "In Parallel statement, channel send values with no matched recv channel!",
    "In Parallel statement, channel recv values with no matched send channel!",
    "In Parallel statement, channel send values and recv values with different type!",
    "field with the same name has been declared in current record/union!",
    "param with the same name has been declared in current procedure/process!",
    "actual param and formal param 's attrib is mismatched in current ProcCall!",
};

const int kindCount = sizeof kindNamesUtf8 / sizeof kindNamesUtf8[0];
const int numberCount = sizeof numberNamesUtf8 / sizeof numberNamesUtf8[0];

std::vector<std::string> toGbk(const char* const* utf8, int count) {
    std::vector<std::string> t;
    for (int i = 0; i < count; ++i)
        t.push_back(gbk::fromUtf8(utf8[i]));
    return t;
}

// The name look-ups tolerate an out-of-range index with an empty name rather than reading past a table.
std::string entryAt(const std::vector<std::string>& table, int index) {
    return index >= 0 && static_cast<size_t>(index) < table.size() ? table[index] : std::string();
}

}  // namespace

void DiagnosticSink::file(QUVException& record) {
    record.job = nullptr;
    record.serial = static_cast<int>(list.size());
    list.push_back(record);
    std::cerr << record.format() << std::endl;
    deliver(record);
}

void DiagnosticSink::fileFailure(QUVException& failure) {
    failure.line = getWalkLine();
    failure.column = getWalkColumn();
    failure.rule = getWalkRule();
    failure.file = getFileName();
    file(failure);
}

QUVException::QUVException() = default;

QUVException::QUVException(DiagnosticSink& job_) : serial(static_cast<int>(job_.records().size())), job(&job_) {}

QUVException::QUVException(DiagnosticSink& job_, int kind_, int number_, int line_, int column_,
                           const std::string& rule_, const std::string& file_, const std::string& details_)
    : kind(kind_), number(number_), line(line_), column(column_), rule(rule_), file(file_), details(details_) {
    job_.file(*this);
}

std::string QUVException::kindName(int k) {
    static const std::vector<std::string> names = toGbk(kindNamesUtf8, kindCount);
    return entryAt(names, k);
}

std::string QUVException::numberName(int n) {
    static const std::vector<std::string> names = toGbk(numberNamesUtf8, numberCount);
    return entryAt(names, n);
}

QUVException::Class QUVException::classOf(const antlr::ANTLRException& ex) {
    struct Entry {
        const std::type_info& type;
        Class diagnostic;
    };
    static const Entry entries[] = {
        {typeid(antlr::CharStreamIOException), CharStreamIOError},
        {typeid(antlr::TokenStreamIOException), TokenStreamIOError},
        {typeid(antlr::TokenStreamRecognitionException), TokenStreamRecognitionError},
        {typeid(antlr::TokenStreamRetryException), TokenStreamRetryError},
        {typeid(antlr::MismatchedCharException), MismatchedCharError},
        {typeid(antlr::NoViableAltForCharException), NoViableAltForCharError},
        {typeid(antlr::MismatchedTokenException), MismatchedTokenError},
        {typeid(antlr::NoViableAltException), NoViableAltError},
        {typeid(antlr::SemanticException), OtherSemanticError},
    };
    const std::type_info& type = typeid(ex);
    for (const Entry& entry : entries)
        if (entry.type == type)
            return entry.diagnostic;
    return FatalError;
}

std::string QUVException::getKindName() const {
    return kindName(kind);
}

std::string QUVException::getNumberName() const {
    return numberName(number);
}

std::string QUVException::format() const {
    static const std::string fileLabel = gbk::fromUtf8("文件: ");
    static const std::string lineLabel = gbk::fromUtf8(", 行: ");
    static const std::string columnLabel = gbk::fromUtf8(", 列: ");
    static const std::string kindLabel = gbk::fromUtf8(", 类型: ");
    static const std::string numberLabel = gbk::fromUtf8(", 编号: ");
    static const std::string ruleLabel = gbk::fromUtf8(", 规则: ");
    static const std::string detailsLabel = gbk::fromUtf8(". \n具体信息: ");
    return fileLabel + file + lineLabel + std::to_string(line) + columnLabel + std::to_string(column) + kindLabel +
           getKindName() + numberLabel + getNumberName() + ruleLabel + rule + detailsLabel + details;
}


// ---- partial fillers -------------------------------------------------------

void QUVException::startAtWalker() {
    startBlank();
    line = job->getWalkLine();
    column = job->getWalkColumn();
    rule = job->getWalkRule();
    file = job->getFileName();
}

void QUVException::startBlank() {
    // A record with no job to file into would be lost without a word.
    if (!job)
        throw std::logic_error("a diagnostic record was built outside a compile job");
    *this = QUVException(*job);
}

void QUVException::startAt(int line_, int column_, const std::string& rule_, const std::string& file_) {
    startBlank();
    line = line_;
    column = column_;
    rule = rule_;
    file = file_;
}

QUVException& QUVException::finish(Class c, const std::string& details_) {
    kind = c.kind;
    number = c.number;
    details = details_;
    DiagnosticSink* target = job;
    target->file(*this);
    job = target;
    return *this;
}

// ---- semantic builders ----------------------------------------------------

QUVException& QUVException::makeMismatch(const std::string& text) {
    startAtWalker();
    return finish(TypeMismatchError, text);
}

QUVException& QUVException::makeUnsupported(const std::string& text) {
    startAtWalker();
    return finish(OtherSemanticError, text);
}

QUVException& QUVException::makeSemantic(int k) {
    startAtWalker();
    return finish(OtherSemanticError, numberName(FirstSemanticText + k));
}

QUVException& QUVException::makeUndeclared(const std::string& name, int line_, int column_) {
    startAtWalker();
    line = line_;
    column = column_;
    return finish(UndeclaredError, "Symbol " + name + " hasn't been declared before!");
}

// ---- label builders ---------------------------------------------------------

QUVException& QUVException::makeMismatchedLabel(int line_, int column_, const std::string& rule_,
                                                const std::string& file_, const std::string& found,
                                                const std::string& expected) {
    startAt(line_, column_, rule_, file_);
    return finish(LabelError, "Mismatched Label " + found + " while expecting " + expected + "\n");
}

QUVException& QUVException::makeLabelRedeclared(int line_, int column_, const std::string& rule_,
                                                const std::string& file_, const std::string& label, int earlierLine,
                                                int earlierColumn) {
    startAt(line_, column_, rule_, file_);
    return finish(LabelError, "Label " + label + " redeclared!\n\tsee line " + std::to_string(earlierLine) + ", col " +
                         std::to_string(earlierColumn));
}

QUVException& QUVException::makeGotoUndeclared(int line_, int column_, const std::string& rule_,
                                               const std::string& file_, const std::string& label, int labelLine,
                                               int labelColumn) {
    startAt(line_, column_, rule_, file_);
    return finish(LabelError, "Goto label " + label + " hasn't been declared in current case statement!\n\t see Line " +
                         std::to_string(labelLine) + ", col " + std::to_string(labelColumn));
}

QUVException& QUVException::makeForwardLabel(int line_, int column_, const std::string& rule_,
                                             const std::string& file_, const std::string& label) {
    startAt(line_, column_, rule_, file_);
    return finish(LabelError, "forward label " + label + " hasn't been declared before!");
}

QUVException& QUVException::makeCaseCountMismatch(int line_, int column_, const std::string& rule_,
                                                  const std::string& file_, int gotoCount, int exitCount) {
    startAt(line_, column_, rule_, file_);
    return finish(LabelError, "In case statement, goto conditions num is " + std::to_string(gotoCount) +
                         ", while exit conditions num is " + std::to_string(exitCount));
}

QUVException& QUVException::makeMismatchedLB(int line_, int column_, const std::string& rule_,
                                             const std::string& file_, const std::string& found,
                                             const std::string& expected, int lbLine, int lbColumn) {
    startAt(line_, column_, rule_, file_);
    return finish(LabelError, "Mismatched LB " + found + " while expecting " + expected + "\n\tsee line " +
                         std::to_string(lbLine) + ", col " + std::to_string(lbColumn));
}

// ---- run-time builders ------------------------------------------------------

QUVException& QUVException::makeInFunction(const std::string& text, const std::string& method) {
    startAtWalker();
    return finish(InternalError, text + " in function " + method);
}

QUVException& QUVException::makeFatal(const std::string& text) {
    startBlank();
    file = job->getFileName();
    return finish(FatalError, text);
}

QUVRunTimeException::QUVRunTimeException(const std::string& text, const std::string& method) {
    kind = InternalError.kind;
    number = InternalError.number;
    details = text + " in function " + method;
}

void throwInternalFailure(const std::string& text, const std::string& method) {
    throw QUVRunTimeException(text, method);
}

// ---- link builders ----------------------------------------------------------

QUVException& QUVException::makeProcessUndeclared(const std::string& process, int line_, int column_,
                                                  const std::string& file_) {
    startAt(line_, column_, std::string(), file_);
    return finish(ProcessUndeclaredError, "Process " + process + " hasn't being declared in the whole project!");
}

QUVException& QUVException::makeProcessRedeclared(const std::string& process, int line_, int column_,
                                                  const std::string& file_, int oldLine, int oldColumn,
                                                  const std::string& oldFile) {
    startAt(line_, column_, std::string(), file_);
    return finish(ProcessRedeclaredError, "Process " + process +
                                              " has been declared in the project before!\n\tsee Line: " +
                                              std::to_string(oldLine) + ", Col: " + std::to_string(oldColumn) +
                                              ", File: " + oldFile);
}

QUVException& QUVException::makeSharedRedeclared(const std::string& variable, int line_, int column_,
                                                 const std::string& file_, int oldLine, int oldColumn,
                                                 const std::string& oldFile) {
    startAt(line_, column_, std::string(), file_);
    return finish(SharedRedeclaredError, "Shared variable " + variable + " of " + file_ +
                                             " has been declared in the %Var part of " + oldFile +
                                             " before: the files of a project cannot both declare it!\n\tsee Line: " +
                                             std::to_string(oldLine) + ", Col: " + std::to_string(oldColumn) +
                                             ", File: " + oldFile);
}

namespace {
std::string endText(const QUVException::ChannelEnd& end) {
    return "\n\tprocess " + end.process + (end.input ? " receives " : " sends ") + end.type + " through " +
           end.formal + ", see Line: " + std::to_string(end.line) + ", Col: " + std::to_string(end.column) +
           ", File: " + end.file;
}
}  // namespace

// The text of the parallel statement's check in one file, with the two processes named.
QUVException& QUVException::makeChannelTypesDiffer(int line_, int column_, const std::string& file_,
                                                   const ChannelEnd& one, const ChannelEnd& other) {
    const int differentTypes = 15;  // the makeSemantic text of the check
    startAt(line_, column_, std::string(), file_);
    return finish(ChannelTypesDifferError,
                  numberName(FirstSemanticText + differentTypes) + endText(one) + endText(other));
}

QUVException& QUVException::makeMainTwice(const std::string& program, const std::string& earlierProgram) {
    startBlank();
    return finish(MainTwiceError, "While declaring program " + program +
                          " to be a Main Or MMain program, we have found such a Program " + earlierProgram +
                          " in the project before!");
}

QUVException& QUVException::makeNoMain() {
    startBlank();
    return finish(NoMainError, "In the project, there doesn't exist a Main or MMain program!");
}
