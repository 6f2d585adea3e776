// The running compile job as the core sees it: the diagnostic hook its host
// installs, the source file, the tree walker's current place, the program
// state the emitters read, the project's process registry and the program
// records of the files compiled so far.
//
// Only data and small accessors live here. The compile driver (QUVCompiler,
// compiler/driver/driver.hpp) is such a job with the host's other callbacks
// and the job entries; the stages below it reach the running job through
// JobState::current and never through the driver.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "compiler/core/diagnostics.hpp"

// Where a process was declared or first referred to.
struct ProcessRecord {
    std::string name;
    int line;
    int column;
    std::string file;
};

// Processes declared and referenced across the files of one project job. A
// name is never in both lists, nor twice in one; names compare exactly.
class ProcessRegistry {
public:
    // Its link diagnostics are filed into job.
    explicit ProcessRegistry(DiagnosticSink& job_) : job(job_) {}

    void addReference(const std::string& name, int line, int column, const std::string& file);
    // A second declaration of a name is reported (link error 17) and not kept.
    void addDeclaration(const std::string& name, int line, int column, const std::string& file);
    // A variable of a %Var part; each file's becomes a variable of the program.
    void addSharedVariable(const std::string& name, int line, int column, const std::string& file);
    // One link error 16 per name still referred to but never declared; then one
    // link error 12 per %Var variable whose name another file declared before.
    void check() const;

    const std::vector<ProcessRecord>& getDeclarations() const { return declared; }
    const std::vector<ProcessRecord>& getReferences() const { return pending; }

private:
    DiagnosticSink& job;
    std::vector<ProcessRecord> declared;
    std::vector<ProcessRecord> pending;
    std::vector<ProcessRecord> shared;
};

// A file whose semantic stage ended normally, with its program kind
// (0 %Prog, 1 %DProg, 2 %MProg; -1 when the walk left no program).
struct ProgramRecord {
    std::string name;
    int kind;
};

// What the emitters read of the program being generated: its channel style
// and, once the walk has left the program, its kind. The code generator's
// top fragment is one.
struct ProgramState {
    bool synchronous = true;
    int programKind = -1;  // -1 until the walk leaves a program: no program
};

class JobState : public DiagnosticSink {
public:
    // The host's diagnostic hook; null skips it.
    typedef std::function<void(const QUVException& record)> ErrorSink;

    // Makes this job current; it starts with an empty diagnostic list, out
    // of typesetting mode.
    explicit JobState(const std::string& fileName = "");
    // Restores the job that was current before (none for a host's job).
    ~JobState() override;
    JobState(const JobState&) = delete;
    JobState& operator=(const JobState&) = delete;

    // The running job; null when no job runs.
    static JobState* current;

    ErrorSink errorSink;  // every diagnostic record, as it is made
    // While set, the lexer gives comments and line ends as tokens.
    bool typesetting = false;
    void deliver(const QUVException& record) const override;

    int getWalkLine() const override { return walkLine; }
    int getWalkColumn() const override { return walkColumn; }
    std::string getWalkRule() const override { return walkRule; }
    // The source file of the running single-file stage: the file that run-time
    // and fatal diagnostics carry.
    std::string getFileName() const override { return fileName; }
    void setFileName(const std::string& name) { fileName = name; }
    // The tree walker keeps its place here so diagnostics can point into the source.
    void setWalkPosition(int line, int column) { walkLine = line; walkColumn = column; }
    void setWalkRule(const std::string& rule) { walkRule = rule; }

    // The state of the source being compiled: it holds the channel style.
    // Without one the style reads as synchronous.
    void setProgramState(ProgramState* state);
    ProgramState* getProgramState() const { return programState; }
    void setSynchronous(bool synchronous);
    bool isSynchronous() const;

    void noteProcessDeclaration(const std::string& name, int line, int column);
    void noteProcessReference(const std::string& name, int line, int column);
    void noteSharedVariable(const std::string& name, int line, int column);
    ProcessRegistry& getProcessRegistry() { return processRegistry; }
    const std::vector<ProgramRecord>& getPrograms() const { return programs; }

protected:
    std::string fileName;
    ProcessRegistry processRegistry{*this};
    std::vector<ProgramRecord> programs;

private:
    int walkLine = 0;
    int walkColumn = 0;
    std::string walkRule;
    ProgramState* programState = nullptr;
    JobState* previous;
    DiagnosticSink* previousSink;
};
