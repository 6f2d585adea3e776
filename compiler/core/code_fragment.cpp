#include "compiler/core/code_fragment.hpp"

#include "compiler/core/base.hpp"
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/gbk.hpp"
#include "compiler/core/types.hpp"

FieldEntry::FieldEntry(const std::string& name, Type* t) : type(t) {
    typeset = name;
    code = CodeNames::fieldName(name);
}

void FieldFragment::createFieldDecl(const std::string& name, Type* t) {
    innerTypes.clear();
    prototypes.clear();
    entry = new FieldEntry(name, t);
    typeset = name + " : " + (t ? t->getTypeset() : std::string());
    code = CodeNames::fieldName(name);
}

void FieldListFragment::createFieldList(const FieldFragment* item) {
    if (count == 0)
        typeset = base::openBracket() + item->getTypeset();
    else
        typeset += ";" + base::newline() + item->getTypeset();
    ++count;
    code += item->getCode() + ";" + base::newline();
    if (!item->entry)
        return;
    for (const FieldEntry* e : *fields) {
        if (e->getTypeset() == item->entry->getTypeset()) {
            QUVException ex;
            ex.makeSemantic(16);
            return;
        }
    }
    fields->push_back(item->entry);
}

Expression::Expression(const std::string& name, Type* t, int attribute_) : attribute(attribute_), type(t) {
    typeset = name;
}

namespace {
int procedureNumber = 0;
int processNumber = 0;

// ORDER: reference kinds 0..8.
const char* const refKindsUtf8[] = {"包块/代理", "过程", "进程", "类型", "变量", "输入通道", "输出通道", "控制变量",
                                    "文件变量"};
// ORDER: definition kinds 0..15, the DefType numbering.
const char* const defKindsUtf8[] = {"工程",     "程序",     "代理",       "包块",         "过程",     "进程",
                                    "数据类型", "共享变量", "常数变量",   "局部变量",     "控制变量", "文件变量",
                                    "值引用参数", "地址引用参数", "输入通道", "输出通道"};

std::string kindEntry(const char* const* table, int size, int k) {
    return k >= 0 && k < size ? gbk::fromUtf8(table[k]) : std::string();
}
}  // namespace

namespace CodeNames {

std::string fieldName(const std::string& n) {
    return "_f_" + n;
}

std::string typeName(const std::string& n) {
    return "_t_" + n;
}

std::string procName(const std::string& n) {
    return "_proc_" + n + "_" + std::to_string(procedureNumber++);
}

std::string prosName(const std::string& n) {
    return "_pros_" + n + "_" + std::to_string(processNumber++);
}

std::string declaration(const std::string& n, const Type* t) {
    return t->getCppBase() + " " + t->getDeclPrefix() + n + t->getDeclSuffix();
}

FieldEntry* fieldTempName(const std::string& name, Type* t) {
    return new FieldEntry(name, t);
}

std::string refKindName(int k) {
    return kindEntry(refKindsUtf8, sizeof refKindsUtf8 / sizeof *refKindsUtf8, k);
}

std::string defKindName(int k) {
    return kindEntry(defKindsUtf8, sizeof defKindsUtf8 / sizeof *defKindsUtf8, k);
}

}  // namespace CodeNames
