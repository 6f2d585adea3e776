// Public header of the compile driver: QUVCompiler, a compile job with the
// host's callbacks and the job entries, the stages a job runs, and the
// project's file list and project file.
//
//     CompileSession session;              // one for as long as the host compiles
//     QUVCompiler driver(session);         // one driver per job
//     driver.errorSink = ...;              // install the host's callbacks
//     driver.stageText = ...;
//     driver.compileFile("demo.e");        // or typeset, syntaxCheck, compileProject, generateMakefile
//
// A job reports only through the callbacks and its diagnostic list (records(),
// which stays readable while the driver lives): a job made no diagnostic when
// the list is still empty after it.
//
// stopProcess, from any thread, ends the job: a running child at once, the
// parse or walk of a file at its next rule (or while it waits for its
// source), a project job before its next file; make and the program never
// start, and a file whose stage was stopped gets no output files.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include <antlr/AST.hpp>
#include "compiler/codegen/codegen.hpp"
#include "compiler/core/core.hpp"
#include "platform/process_runner.hpp"
#include "platform/safe_write.hpp"

struct TypesettingPass;
class CompileStages;

class QUVCompiler : public JobState {
public:
    // The host's callbacks besides the diagnostic hook (JobState::errorSink);
    // each slot may be null and is then skipped.
    typedef std::function<void(const char* subject, const char* text)> TextCallback;
    typedef std::function<void(char c)> CharCallback;
    typedef std::function<void()> StartCallback;
    typedef std::function<void(bool ok, const std::string& text)> TypesetDoneCallback;

    // A job with an empty diagnostic list, out of typesetting mode, that
    // compiles in session.
    explicit QUVCompiler(CompileSession& session, const std::string& fileName = "") : JobState(session, fileName) {}
    QUVCompiler(const QUVCompiler&) = delete;
    QUVCompiler& operator=(const QUVCompiler&) = delete;

    // ORDER: the host installs the slots in this order, errorSink first.
    TextCallback stageText;           // every stage line: subject file, then the line
    TextCallback makeText;            // the build jobs' runner text
    CharCallback makeChar;            // each byte of make's output
    TextCallback runText;             // the run job's runner text
    CharCallback runChar;             // each byte of the program's output
    StartCallback makeStart;          // before make starts
    StartCallback runStart;           // before the program starts
    TypesetDoneCallback typesetDone;  // once at the end of a typeset job

    // The front end and the walk the jobs run; null runs the compiler's own
    // (tests put fakes here to isolate the driver).
    CompileStages* stages = nullptr;

    // ---- job entries ----
    void typeset(const std::string& file);
    void syntaxCheck(const std::string& file);
    void compileFile(const std::string& file);
    void translate(const std::string& file, const OutputNames& outputs);
    void compileProject(const std::vector<std::string>& files, const std::string& project);
    // The link checks of a project job, in this order: one link error 16 per
    // process still referred to but never declared, one link error 10 per
    // channel of a parallel statement whose ends carry different types where
    // the statement's file could not compare them, one link error 12 per %Var
    // variable whose name another file declared before, then the main program's.
    void linkProject();
    void generateMakefile(const std::vector<std::string>& files, const std::string& project);
    // Builds the project's program with make; true when make ended with exit code 0.
    bool build(const std::vector<std::string>& files, const std::string& project);
    // Builds the program and runs it.
    void run(const std::vector<std::string>& files, const std::string& project);
    // Runs make over the makefile, or the program, with its output through
    // onChar byte by byte; the exit code (kStoppedExitCode after a stop).
    int startBuild(const std::string& makefile, StartCallback onStart, TextCallback onText, CharCallback onChar);
    int startProgram(const std::string& exe, StartCallback onStart, TextCallback onText, CharCallback onChar);
    // Ends the running stage and the running child with its children;
    // callable from any thread. A stop before a child runs ends every child
    // this job starts later.
    bool stopProcess();
    // False when the makefile could not be written or could not name the
    // program or a source as make reads names; each failure is a diagnostic.
    bool writeMakefile(const std::vector<std::string>& files, const std::string& project,
                       const std::string& makefile);
    // The text before the last '.' of the whole path (which may lie in a
    // folder name); a path without a '.' comes back unchanged.
    static std::string stripExtension(const std::string& path);

    // The child (make or the built program) that runs now.
    platform::ChildControl childProcess;
};

// The front end and the tree walk of a job. The driver runs each under its
// fatal guard, so either may throw; the compiler's own are used unless the
// driver's `stages` points elsewhere.
class CompileStages {
public:
    virtual ~CompileStages() = default;
    // Lexer and parser over the source file: the typesetting entry into the
    // job's pass when `typesetting` is given, else the start rule. Returns the
    // tree, null when none.
    virtual antlr::RefAST parse(JobState& job, const std::string& file, TypesettingPass* typesetting) = 0;
    // Walks the tree, which leaves the program (its texts and kind) in `top`;
    // the driver then writes the five output files from it, also when the
    // walk threw after it had left the program.
    virtual void walk(JobState& job, antlr::RefAST tree, TopFragment& top) = 0;
};

// A list of file path names, held exactly as given (no path is normalised)
// and compared exactly, letter case included.
class CQuvFileList {
public:
    virtual ~CQuvFileList() = default;
    // Removes the first equal entry; its index, or the count when absent.
    virtual int Remove(const std::string& name);
    // Appends (duplicates too: callers test Contains first); the new index.
    virtual int Add(const std::string& name);
    // Removes the old name; adds the new one at the end unless already listed (then false).
    virtual bool Replace(const std::string& oldName, const std::string& newName);
    bool Contains(const std::string& name) const;
    void Clear();
    std::string GetAt(int index) const { return files[index]; }
    int GetCount() const { return static_cast<int>(files.size()); }
    bool IsModified() const { return modified != 0; }

protected:
    std::vector<std::string> files;
    int modified = 0;
};

// The project: a named file list kept in a ".prj" file, section "QuvBench".
class CQuvProject : public CQuvFileList {
public:
    // Shows a message to the user: the console host prints it, the IDE shows a box.
    typedef std::function<void(const std::string& text)> MessageSink;

    CQuvProject() { Reset(); }
    void Reset();
    std::string GetName() const { return name; }
    void SetName(const std::string& n) { name = n; }
    std::string GetPath() const { return path; }
    void SetPath(const std::string& p) { path = p; }
    bool IsCreated() const { return notCreated == 0; }
    void SetCreated() { notCreated = 0; }

    // The file a name of a project file's list stands for. An absolute name is
    // taken as it is; a relative one from the project file's folder, made
    // absolute, since the generated code names its headers by the source's
    // path. Only a bare name beside a project file named without a folder
    // stays as it is: it already names the file and its headers.
    static std::string ResolveName(const std::string& projectFile, const std::string& name);
    // The list's names resolved against the path; GetAt keeps what the file says.
    std::vector<std::string> ResolvedFiles() const;
    // A name as a project file has it, or its GBK reading in UTF-8, the file
    // system's encoding: a project file written where names are GBK names its
    // sources so. The reading is taken when the name as it stands names no
    // file and either the reading does or the name is not UTF-8: the report
    // of the missing file then names it as the user wrote it.
    static std::string LocalName(const std::string& projectFile, const std::string& name);

    // Reads the project file; on a bad file shows why and returns false,
    // keeping what was read up to there. File names pass through LocalName;
    // a project name that is not UTF-8 is taken as GBK. A file without a
    // project name is shown with its name and the reason: the system's when
    // it could not be read ("No such file or directory"), else "no project name".
    // The file is opened once and read once, so a named pipe loads as a file
    // does; while it waits for the pipe's writer, `stopped` is asked every
    // tenth of a second, and when it says so Load gives up: false, nothing
    // shown, the project as it was. A null `stopped` waits as long as it takes.
    bool Load(const std::string& projectFile, const std::function<bool()>& stopped = nullptr);
    // Writes the project file at the path. A write that fails is shown with
    // why and returns false, and the project stays modified.
    bool Save();
    // Why the last Save failed: the system's error number (0 when it gave
    // none) with the writer's account of it in English.
    const platform::WriteFailure& LastSaveFailure() const { return saveFailure; }
    const std::string& LastSaveReason() const { return saveReason; }

    MessageSink messageSink;

private:
    void show(const std::string& text) const;

    std::string name;
    std::string path;
    int notCreated = 1;
    platform::WriteFailure saveFailure;
    std::string saveReason;
};
