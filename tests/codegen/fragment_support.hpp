// Helpers of the code generator tests: fragments with known texts, the four
// texts of a fragment at once, and symbol nodes of procedures with parameters.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "compiler/codegen/codegen.hpp"
#include "compiler/core/core.hpp"

typedef std::array<std::string, 4> Texts;

Texts textsOf(const CodeFragment& f);

// A child fragment whose texts are given, as a child rule would have filled them.
template <typename Base = CodeFragment>
class Filled : public Base {
public:
    explicit Filled(const Texts& t) { set(t); }
    // Marker texts that show where each column went: tag+"0" .. tag+"3".
    explicit Filled(const std::string& tag) { set({tag + "0", tag + "1", tag + "2", tag + "3"}); }
    Filled() = default;
    void set(const Texts& t) {
        this->typeset = t[0];
        this->code = t[1];
        this->innerTypes = t[2];
        this->prototypes = t[3];
    }
};

// Symbol nodes for procedures and processes of one job: a program block owns
// everything made here; the nodes are numbered on the job's numbering.
class Program {
public:
    explicit Program(JobState& job);
    ProNode* procedure(const std::string& name, BlockNode* parent = nullptr);
    ProNode* process(const std::string& name, BlockNode* parent = nullptr);
    ProNode* mainBody();
    // Declares a parameter of kind (DEF_VALUE_PARAM .. DEF_OUTPUT_CHANNEL) and adds it to p.
    void param(ProNode* p, const std::string& name, int kind, Type* t);
    ProgNode* root() { return program.get(); }

private:
    JobState& job;
    std::unique_ptr<ProgNode> program;
};

// The actuals of a call or a process start, in written order.
template <typename... Actuals>
std::vector<std::unique_ptr<ActualParam>> actualList(std::unique_ptr<Actuals>... actuals) {
    std::vector<std::unique_ptr<ActualParam>> list;
    (list.push_back(std::move(actuals)), ...);
    return list;
}

// A section record of parameters as the walker builds it for p's parameters added so far.
SectionFragment paramSection(JobState& job, const ProNode* p);

// Runs the C++ compiler; returns its exit status and puts its messages in output.
int runCompiler(const std::string& arguments, std::string& output);
std::string runtimeDir();
// The run-time library's source, compiled into a test's program with the program's options.
std::string runtimeLibrarySource();
std::string scratchDir(const std::string& name);
std::string readFile(const std::string& path);
