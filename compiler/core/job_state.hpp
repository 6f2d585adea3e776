// The context of one compile job as the core sees it: its diagnostic list and
// the host's hook, the typesetting switch, the source file, the tree walker's
// current place, what the code generator keeps of the program file being
// generated, the session it compiles in (the types and the numbering of
// generated names), the project's process registry and the program records
// of the files compiled so far.
//
// Only data and small accessors live here. The job owns it; the lexer, the
// parser, the walker, the symbol table and the emitters are handed it by
// reference. The compile driver (QUVCompiler, compiler/driver/driver.hpp) is
// such a job with the host's other callbacks and the job entries.
#pragma once
#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "compiler/core/diagnostics.hpp"
#include "compiler/core/types.hpp"

// Where a process was declared or first referred to.
struct ProcessRecord {
    std::string name;
    int line;
    int column;
    std::string file;
};

// A channel formal of a declared process; the process receives through an
// input one. The element type is the session's.
struct ChannelFormal {
    std::string name;
    bool input;
    const Type* element;
};

// The channel formals of a process, with the place of its declaration.
struct ProcessChannels {
    int line;
    int column;
    std::string file;
    std::vector<ChannelFormal> formals;
};

// A channel of a parallel statement whose two ends the statement's own file
// could not compare, as a process at an end is declared in another file (or
// later in the file): each end's process and channel formal, and the place of
// the statement.
struct PendingChannel {
    std::string process;
    std::string formal;
    std::string peer;
    std::string peerFormal;
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

    const std::vector<ProcessRecord>& getDeclarations() const { return declared; }
    // The names referred to and not declared so far.
    const std::vector<ProcessRecord>& getReferences() const { return pending; }
    // Every file's %Var variables, in the order met.
    const std::vector<ProcessRecord>& getSharedVariables() const { return shared; }

    // The first declaration's formals are kept for a process declared twice.
    void addChannelFormals(const std::string& process, const ProcessChannels& channels);
    // Null for a process not declared in the project.
    const ProcessChannels* getChannelFormals(const std::string& process) const;
    void addPendingChannel(const PendingChannel& channel) { pendingChannels.push_back(channel); }
    const std::vector<PendingChannel>& getPendingChannels() const { return pendingChannels; }

private:
    DiagnosticSink& job;
    std::vector<ProcessRecord> declared;
    std::vector<ProcessRecord> pending;
    std::vector<ProcessRecord> shared;
    std::unordered_map<std::string, ProcessChannels> channels;
    std::vector<PendingChannel> pendingChannels;
};

// A file whose semantic stage ended normally, with its program kind
// (0 %Prog, 1 %DProg, 2 %MProg; -1 when the walk left no program).
struct ProgramRecord {
    std::string name;
    int kind;
};

// The numbers of generated names: procedures, processes, temporaries and
// parameter-block types. They are never reset between the jobs of a session,
// so names stay unique across every source it compiles.
struct GeneratorNumbering {
    int procedure = 0;
    int process = 0;
    int temp = 1;
    int dpt = 1;
    int instanceType = 1;
};

// What the compile jobs of one host share for as long as it compiles: the
// registered types and the numbering of generated names. Both count on from
// one job to the next, so the names a job generates (procedures, processes,
// records after their registry place) differ from every earlier job's. A host
// holds one (quvc for its run, the IDE across its compile jobs) and hands it
// to each job; one job at a time uses it.
class CompileSession {
public:
    CompileSession() = default;
    CompileSession(const CompileSession&) = delete;
    CompileSession& operator=(const CompileSession&) = delete;

    TypeRegistry types;
    GeneratorNumbering numbering;
    // Held by a host that runs jobs on other threads for as long as a job runs.
    std::mutex& inUse() { return inUse_; }

private:
    std::mutex inUse_;
};

// What the code generator keeps of the program file being generated; each
// file starts afresh (CodeNames::beginProgram).
struct ProgramNames {
    bool synchronous = true;  // the channel style
    // Processes the program uses without declaring them, in order of first use.
    std::vector<std::string> externalProcesses;
    // The record and union types the program made, in the order first made
    // (inner ones before the ones that hold them), and how many of them the
    // code generator has defined so far: it writes each definition once per
    // program, before its first use.
    std::vector<const RecordType*> records;
    std::set<const RecordType*> recordsMade;
    size_t recordsDefined = 0;
};

// Thrown by a stage that finds its job asked to stop, where it may end: at a
// rule's entry or while it waits for input. It has no base class, so that no
// recovery of the stages takes it for an error; the driver ends the job
// quietly, writing no file it had not finished.
struct JobStopped {};

class JobState : public DiagnosticSink {
public:
    // The host's diagnostic hook; null skips it.
    typedef std::function<void(const QUVException& record)> ErrorSink;

    // A job with an empty diagnostic list, out of typesetting mode, that
    // makes its types and numbers its generated names in session.
    explicit JobState(CompileSession& session, const std::string& fileName = "");
    JobState(const JobState&) = delete;
    JobState& operator=(const JobState&) = delete;

    ErrorSink errorSink;  // every diagnostic record, as it is made
    // Asks the job to end at its next check; callable from any thread. The
    // parser and the walker check at every rule entry, so it is cheap to ask.
    void requestStop() { stopAsked.store(true, std::memory_order_relaxed); }
    bool stopRequested() const { return stopAsked.load(std::memory_order_relaxed); }
    // While set, the lexer gives comments and line ends as tokens.
    bool typesetting = false;
    void deliver(const QUVException& record) const override;

    int getWalkLine() const override { return walkLine; }
    int getWalkColumn() const override { return walkColumn; }
    std::string getWalkRule() const override { return walkRule; }
    // The source file of the running single-file stage: the file that run-time
    // and fatal diagnostics carry.
    std::string getFileName() const override { return fileName; }
    // The tree walker keeps its place here so diagnostics can point into the source.
    void setWalkPosition(int line, int column) { walkLine = line; walkColumn = column; }
    void setWalkRule(const std::string& rule) { walkRule = rule; }

    // The channel style of the program file being generated.
    void setSynchronous(bool synchronous) { names.synchronous = synchronous; }
    bool isSynchronous() const { return names.synchronous; }

    CompileSession& session;
    TypeRegistry& types() const { return session.types; }
    GeneratorNumbering& numbering;
    ProgramNames names;
    // A record or union type the program made (once per type).
    void noteRecord(const RecordType* record);
    // The records and unions noted since the last call.
    std::vector<const RecordType*> takeUndefinedRecords();

    void noteProcessDeclaration(const std::string& name, int line, int column);
    void noteProcessReference(const std::string& name, int line, int column);
    void noteSharedVariable(const std::string& name, int line, int column);
    // The channel formals of the process declared at line and column of this file.
    void noteProcessChannels(const std::string& name, int line, int column, const std::vector<ChannelFormal>& formals);
    // A channel of the parallel statement at the walk's place whose ends this file cannot compare.
    void notePendingChannel(const std::string& process, const std::string& formal, const std::string& peer,
                            const std::string& peerFormal);
    ProcessRegistry& getProcessRegistry() { return processRegistry; }
    const std::vector<ProgramRecord>& getPrograms() const { return programs; }

protected:
    std::string fileName;
    ProcessRegistry processRegistry{*this};
    std::vector<ProgramRecord> programs;

private:
    std::atomic<bool> stopAsked{false};
    int walkLine = 0;
    int walkColumn = 0;
    std::string walkRule;
};
