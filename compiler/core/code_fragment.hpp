// Code fragments: the four texts built side by side for every translated
// construct (typeset QUV/E, C++ code, inner type declarations, prototypes),
// the access record of a variable that the symbols keep, and the naming
// functions that turn QUV/E names into C++ names. The field records and the
// declarations made from a type are with the types (types.hpp).
//
// CodeFragment and Expression hold data only. The code generator's emitters
// that fill or make them are free functions of namespace codegen with the job
// as their first parameter (compiler/codegen/codegen.hpp); the fragments that
// only the code generator makes are declared there too.
#pragma once
#include <string>
#include <vector>

class Type;
class JobState;
struct GeneratorNumbering;

class CodeFragment {
public:
    CodeFragment() = default;
    virtual ~CodeFragment() = default;

    std::string getTypeset() const { return typeset; }
    std::string getCode() const { return code; }
    std::string getInnerTypes() const { return innerTypes; }
    std::string getPrototypes() const { return prototypes; }

    // Public: the code generator's emitters write them directly.
    std::string typeset;     // [0] the construct printed again as QUV/E source
    std::string code;        // [1] its C++ code
    std::string innerTypes;  // [2] inner type declarations
    std::string prototypes;  // [3] prototypes and type definitions that precede the code

    // The main body's nested procedures: C++ has no nested functions, so they must
    // stand before the program's entry function, whose head the unit emitter writes.
    std::string beforeEntry;
};

// The access record of a variable, parameter or constant: its QUV/E name [0],
// its C++ access [1], its definition kind and its type (never owned). The code
// generator makes the other access forms and the operator expressions from it.
class Expression : public CodeFragment {
public:
    Expression(const std::string& name, Type* type, int attribute);
    // An empty record for a literal to fill: kind -1, no type yet.
    Expression();
    int getAttribute() const { return attribute; }
    Type* getType() const { return type; }

    int attribute;
    Type* type;
};

namespace CodeNames {
// Identifiers. The names made from a user's name are one-to-one, and none
// meets a name of the run-time library's or one C++ reserves: a user's name
// that could meet a generated name gets "u_" before it, any other stays as
// it is. userName escapes a name put after "_" (variables and parameters):
// one that begins with a capital letter or with the word of a generated "_"
// name ("t_", "proc_", "next_temp_", ..., "u_" itself), or whose "_" + name
// the run-time library, the system's libraries, start files or linker script
// define ("start", "end", "environ", ...). leadingName escapes a name that
// begins a generated name (thread functions, start blocks, channel links, a
// package's instance): one that begins with "ch_", "global_instance_of_" or
// "u_". The other kinds have prefixes of their own.
std::string userName(const std::string& n);
std::string leadingName(const std::string& n);
std::string varName(std::string n);
std::string paramName(std::string n);
std::string fieldName(const std::string& n);
std::string typeName(const std::string& n);
std::string className(std::string n);
std::string agentClassName(std::string n);
// Numbered names take the next number of the job's numbering.
std::string procName(GeneratorNumbering& numbering, const std::string& n);
std::string prosName(GeneratorNumbering& numbering, const std::string& n);
std::string labelName(std::string n);
std::string nextTemp(JobState& job);
std::string callName(std::string n);
std::string dpName(std::string n);
std::string dptName(JobState& job, std::string n);
std::string dName(std::string n);
// The type and the holder of a process formal in its thread function.
std::string dtName(const std::string& n);
std::string doName(const std::string& n);
std::string instanceParamName(std::string n);
std::string instanceParamType(JobState& job, std::string n);
std::string instanceName(std::string n);
std::string globalInstance(std::string n);
std::string channelName(std::string a, std::string b);

// Snippets; the channel calls follow the job's channel style at the time of the call.
std::string globalInstanceDecl(std::string n);
std::string assignment(std::string a, std::string b);
std::string deleteProsComment(std::string n);
std::string channelRecv(const JobState& job, std::string a, std::string b);
std::string channelSend(const JobState& job, std::string a, std::string b);
std::string channelCanSend(const JobState& job, std::string n);
std::string channelCanRecv(const JobState& job, std::string n);
std::string channelStyle(const JobState& job);
std::string pointerDeref(std::string n, std::string path);
std::string pointerInit(std::string n);


// Kind names: program kinds 0..2 ("error!" otherwise); reference kinds 0..8 and
// definition kinds 0..15 in GBK (empty outside).
std::string programKind(int k);
std::string refKindName(int k);
std::string defKindName(int k);
// 1 for "" and "next", 2 "exit", 3 "stop", 4 "return", 0 for any other word.
int controlWordKind(std::string w);

// The processes a program uses without declaring them: mode 0 adds name, any
// other mode removes it; the empty name gives their thread-function declarations.
std::string threadDeclarations(JobState& job, std::string name, int mode);
// Forgets them and the channel style: each program file has its own.
void beginProgram(JobState& job);
}  // namespace CodeNames
