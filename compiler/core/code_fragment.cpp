#include "compiler/core/code_fragment.hpp"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "compiler/core/base.hpp"
#include "compiler/core/gbk.hpp"
#include "compiler/core/job_state.hpp"

Expression::Expression(const std::string& name, Type* t, int attribute_) : attribute(attribute_), type(t) {
    typeset = name;
    code = CodeNames::varName(name);
}

Expression::Expression() : attribute(-1), type(nullptr) {}

namespace {
std::string numbered(const std::string& text, int& number) {
    return text + std::to_string(number++);
}

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

// The words that follow "_" at the start of the names the generator makes
// from a user's name or a number ("_t_" + type, "_proc_" + name + "_" +
// number, ...), and the escape mark itself.
const char* const underscorePrefixes[] = {"t_",  "f_",  "class_", "l_",  "proc_", "pros_", "next_temp_",
                                          "d_",  "dt_", "do_",    "p_",  "i_",    "u_"};
// Names that "_" + a user's name would meet: the run-time library's thread
// calls and the C library's character functions that its headers declare.
const char* const libraryNames[] = {"beginthread", "endthread", "tolower", "toupper"};
// The beginnings of the generated names that a user's name starts in turn
// (channel links "ch_" + control + "_" + control, a package's instance
// "global_instance_of_" + package), and the escape mark.
const char* const leadingPrefixes[] = {"ch_", "global_instance_of_", "u_"};
const char escapeMark[] = "u_";

bool beginsWithAny(const std::string& n, const char* const* prefixes, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (n.compare(0, std::strlen(prefixes[i]), prefixes[i]) == 0)
            return true;
    return false;
}
}  // namespace

namespace CodeNames {

std::string userName(const std::string& n) {
    // "_" and a capital letter start a name that C++ keeps for itself (the
    // predefined and library macros, keywords such as _Complex).
    bool escape = (!n.empty() && n[0] >= 'A' && n[0] <= 'Z') ||
                  beginsWithAny(n, underscorePrefixes, std::size(underscorePrefixes));
    for (const char* name : libraryNames)
        escape = escape || n == name;
    return escape ? escapeMark + n : n;
}

std::string leadingName(const std::string& n) {
    return beginsWithAny(n, leadingPrefixes, std::size(leadingPrefixes)) ? escapeMark + n : n;
}

std::string varName(std::string n) {
    return "_" + userName(n);
}

std::string paramName(std::string n) {
    return "_" + userName(n);
}

std::string className(std::string n) {
    return "_class_" + n;
}

std::string agentClassName(std::string n) {
    return "_class_" + n;
}

std::string labelName(std::string n) {
    return "_l_" + n;
}

std::string nextTemp(JobState& job) {
    return numbered("_next_temp_", job.numbering.temp);
}

std::string callName(std::string n) {
    return leadingName(n) + "_call";
}

std::string dpName(std::string n) {
    return n + "_dp";
}

std::string dptName(JobState& job, std::string n) {
    return numbered(n + "_dpt", job.numbering.dpt);
}

std::string dName(std::string n) {
    return "_d_" + n;
}

std::string dtName(const std::string& n) {
    return "_dt_" + n;
}

std::string doName(const std::string& n) {
    return "_do_" + n;
}

std::string instanceParamName(std::string n) {
    return leadingName(n) + "_ip";
}

std::string instanceParamType(JobState& job, std::string n) {
    return numbered(n + "_instance_param_type", job.numbering.instanceType);
}

std::string instanceName(std::string n) {
    return "_i_" + n;
}

std::string globalInstance(std::string n) {
    return n.empty() ? std::string() : "global_instance_of_" + leadingName(n);
}

std::string channelName(std::string a, std::string b) {
    return "ch_" + leadingName(a) + "_" + leadingName(b);
}

std::string globalInstanceDecl(std::string n) {
    return n.empty() ? std::string() : className(n) + " " + globalInstance(n) + ";" + base::newline();
}

std::string assignment(std::string a, std::string b) {
    return varName(a) + " = " + callName(b);
}

std::string deleteProsComment(std::string n) {
    return " // delete pros: " + varName(n);
}

std::string channelRecv(const JobState& job, std::string a, std::string b) {
    return a + (job.isSynchronous() ? "->syn_recv(&" : "->asyn_recv(&") + b + ")";
}

std::string channelSend(const JobState& job, std::string a, std::string b) {
    return a + (job.isSynchronous() ? "->syn_send(" : "->asyn_send(") + b + ")";
}

std::string channelCanSend(const JobState& job, std::string n) {
    return varName(n) + (job.isSynchronous() ? "->syn_can_send()" : "->asyn_can_send()");
}

std::string channelCanRecv(const JobState& job, std::string n) {
    return varName(n) + (job.isSynchronous() ? "->syn_can_recv()" : "->asyn_can_recv()");
}

std::string channelStyle(const JobState& job) {
    return job.isSynchronous() ? "Syn" : "Asyn";
}

std::string pointerDeref(std::string n, std::string path) {
    return path.empty() ? n : "*(" + path + "_p_" + n + ")";
}

std::string pointerInit(std::string n) {
    return "local._p_" + n + " = &" + n + ";" + base::newline();
}

std::string programKind(int k) {
    static const char* const kinds[] = {"%Prog", "%DProg", "%MProg"};
    return k >= 0 && k <= 2 ? kinds[k] : "error!";
}

int controlWordKind(std::string w) {
    if (w.empty() || w == "next")
        return 1;
    if (w == "exit")
        return 2;
    if (w == "stop")
        return 3;
    if (w == "return")
        return 4;
    return 0;
}

std::string threadDeclarations(JobState& job, std::string name, int mode) {
    std::vector<std::string>& list = job.names.externalProcesses;
    if (name.empty()) {
        std::string text;
        for (const std::string& n : list)
            text += "void " + callName(n) + "(void *params);\n";
        return text;
    }
    auto it = std::find(list.begin(), list.end(), name);
    if (mode == 0 && it == list.end())
        list.push_back(name);
    else if (mode != 0 && it != list.end())
        list.erase(it);
    return std::string();
}

void beginProgram(JobState& job) {
    job.names = ProgramNames();
}

std::string fieldName(const std::string& n) {
    return "_f_" + n;
}

std::string typeName(const std::string& n) {
    return "_t_" + n;
}

std::string procName(GeneratorNumbering& numbering, const std::string& n) {
    return "_proc_" + n + "_" + std::to_string(numbering.procedure++);
}

std::string prosName(GeneratorNumbering& numbering, const std::string& n) {
    return "_pros_" + n + "_" + std::to_string(numbering.process++);
}

std::string refKindName(int k) {
    return kindEntry(refKindsUtf8, sizeof refKindsUtf8 / sizeof *refKindsUtf8, k);
}

std::string defKindName(int k) {
    return kindEntry(defKindsUtf8, sizeof defKindsUtf8 / sizeof *defKindsUtf8, k);
}

}  // namespace CodeNames
