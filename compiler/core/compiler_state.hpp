// The compile driver of the running job, as the compiler stages see it and as
// its host fills it: the callbacks, the source file, the tree walker's current
// place, the generator state, the project's process registry and the program
// records of the files compiled so far.
//
// The fields and the small accessors live here in the core, so every stage can
// reach the current driver without depending on the stages above it. The job
// entries (typeset .. generateMakefile, stripExtension, releaseTypes) are
// defined by the driver library (compiler/driver, quv_driver), which a program
// links when it runs jobs; nothing in the core or the stages calls them.
#pragma once
#include <string>
#include <vector>

#include "platform/process_runner.hpp"

class QUVException;
class TopFragment;
class CompileStages;

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
    std::vector<ProcessRecord> declared;
    std::vector<ProcessRecord> pending;
    std::vector<ProcessRecord> shared;
};

// A file whose semantic stage ended normally, with its program kind
// (0 %Prog, 1 %DProg, 2 %MProg; -1 when the walk wrote no program).
struct ProgramRecord {
    std::string name;
    int kind;
};

class QUVCompiler {
public:
    // The host's callbacks; each slot may be null and is then skipped.
    typedef void (*ErrorSink)(const QUVException& record);
    typedef void (*TextCallback)(const char* subject, const char* text);
    typedef void (*CharCallback)(char c);
    typedef void (*StartCallback)();
    typedef void (*TypesetDoneCallback)(bool ok, const std::string& text);

    // Makes this driver current, empties the global diagnostic list for its
    // job and leaves typesetting mode.
    explicit QUVCompiler(const std::string& fileName = "");
    // Restores the driver that was current before (none for a job's driver).
    ~QUVCompiler();
    QUVCompiler(const QUVCompiler&) = delete;
    QUVCompiler& operator=(const QUVCompiler&) = delete;

    // The driver of the running job; null when no job runs.
    static QUVCompiler* current;

    // ORDER: the host installs the slots in this order.
    ErrorSink errorSink = nullptr;          // every diagnostic record, as it is made
    TextCallback stageText = nullptr;       // every stage line: subject file, then the line
    TextCallback makeText = nullptr;        // the build jobs' runner text
    CharCallback makeErrorChar = nullptr;   // reserved for a separate make error stream
    CharCallback makeChar = nullptr;        // each byte of make's output
    TextCallback runText = nullptr;         // the run job's runner text
    CharCallback runChar = nullptr;         // each byte of the program's output
    StartCallback makeStart = nullptr;      // before make starts
    StartCallback runStart = nullptr;       // before the program starts
    TypesetDoneCallback typesetDone = nullptr;  // once at the end of a typeset job

    // The front end and the walk the jobs run; null runs the compiler's own
    // (tests put fakes here to isolate the driver).
    CompileStages* stages = nullptr;

    int getWalkLine() const { return walkLine; }
    int getWalkColumn() const { return walkColumn; }
    std::string getWalkRule() const { return walkRule; }
    // The source file of the running single-file stage: the file that run-time
    // and fatal diagnostics carry.
    std::string getFileName() const { return fileName; }
    void setFileName(const std::string& name) { fileName = name; }
    // The tree walker keeps its place here so diagnostics can point into the source.
    void setWalkPosition(int line, int column) { walkLine = line; walkColumn = column; }
    void setWalkRule(const std::string& rule) { walkRule = rule; }

    // The top fragment of the source being compiled: the generator state that
    // holds the channel style. Without one the style reads as synchronous.
    void setProgramState(TopFragment* top);
    TopFragment* getProgramState() const { return programState; }
    void setSynchronous(bool synchronous);
    bool isSynchronous() const;

    void noteProcessDeclaration(const std::string& name, int line, int column);
    void noteProcessReference(const std::string& name, int line, int column);
    void noteSharedVariable(const std::string& name, int line, int column);
    ProcessRegistry& getProcessRegistry() { return processRegistry; }
    const std::vector<ProgramRecord>& getPrograms() const { return programs; }

    // ---- job entries (compiler/driver) ----
    void typeset(const std::string& file);
    void syntaxCheck(const std::string& file);
    void compileFile(const std::string& file);
    void translate(const std::string& file, const std::string& cpp, const std::string& proto,
                   const std::string& inner, const std::string& err, const std::string& typesetCopy);
    void compileProject(const std::vector<std::string>& files, const std::string& project);
    void linkProject();
    void generateMakefile(const std::vector<std::string>& files, const std::string& project);
    // Builds the project's program with make; true when make ended with exit code 0.
    bool build(const std::vector<std::string>& files, const std::string& project);
    // Builds the program and runs it.
    void run(const std::vector<std::string>& files, const std::string& project);
    // Runs make over the makefile, or the program, with its output through
    // onChar byte by byte; the exit code (kStoppedExitCode after a stop).
    int startBuild(const std::string& makefile, StartCallback onStart, TextCallback onText, CharCallback onChar,
                   CharCallback onErrorChar);
    int startProgram(const std::string& exe, StartCallback onStart, TextCallback onText, CharCallback onChar);
    // Ends the running child with its children; callable from any thread. A
    // stop before a child runs ends every child this job starts later.
    bool stopProcess();
    // False when the makefile could not be written; the failure is a diagnostic.
    bool writeMakefile(const std::vector<std::string>& files, const std::string& project,
                       const std::string& makefile);
    // Releases every type; the application calls it once at exit.
    bool releaseTypes();
    // The text before the last '.' of the whole path (which may lie in a
    // folder name); a path without a '.' comes back unchanged.
    static std::string stripExtension(const std::string& path);

    // The child (make or the built program) that runs now.
    platform::ChildControl childProcess;

private:
    std::string fileName;
    int walkLine = 0;
    int walkColumn = 0;
    std::string walkRule;
    TopFragment* programState = nullptr;
    ProcessRegistry processRegistry;
    std::vector<ProgramRecord> programs;
    QUVCompiler* previous;
};

// Switches the lexer into typesetting mode: line ends and comments become tokens.
extern bool typesettingMode;
