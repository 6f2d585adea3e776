// A compile job as the IDE starts it, and the enable rules of the commands
// that start and stop jobs. No window toolkit here.
#pragma once
#include <string>
#include <vector>

namespace ide {

// Job kinds, in the order of the driver's entries. ORDER JOB KINDS: the
// compile thread dispatches on these numbers.
enum CompileKind : int {
    KindTypeset = 0,
    KindSyntaxCheck = 1,
    KindCompileFile = 2,
    KindCompileProject = 3,
    KindGenerateMakefile = 4,
    KindBuild = 5,
    KindRun = 6,
};

// The job the compile thread runs. Paths are the file system's bytes (UTF-8),
// as the compiler, make and the programs they run take them; a project job
// has no source file, a single-file job no project. The typeset text (GBK)
// comes from a typeset job that succeeded.
class CCompileJob {
public:
    CCompileJob(int kind, const std::string& path);
    CCompileJob(int kind, const std::vector<std::string>& files, const std::string& projectFile);

    std::string sourceFile;
    std::vector<std::string> projectFiles;
    std::string projectFile;
    int kind;
    std::string typesetText;
};

// The compile menu's commands.
enum class CompileCommand { Typeset, SyntaxCheck, CompileFile, CompileProject, GenerateMakefile, Build, Run, Stop };

// The job kind a command starts; -1 for Stop.
int JobKindOf(CompileCommand command);

struct CompileCommandState {
    bool compileBusy = false;
    bool hasActiveDocument = false;
    int projectFileCount = 0;
};

// Single-file commands need an active document, project commands a project
// with files; both need no job running. Stop is enabled exactly while one runs.
bool IsCommandEnabled(CompileCommand command, const CompileCommandState& state);

} // namespace ide
