#include "ide/model/compile_job.hpp"

namespace ide {

CCompileJob::CCompileJob(int kind, const std::string& path) : sourceFile(path), kind(kind) {}

CCompileJob::CCompileJob(int kind, const std::vector<std::string>& files, const std::string& project)
    : projectFiles(files), projectFile(project), kind(kind)
{
}

int JobKindOf(CompileCommand command)
{
    switch (command) {
    case CompileCommand::Typeset: return KindTypeset;
    case CompileCommand::SyntaxCheck: return KindSyntaxCheck;
    case CompileCommand::CompileFile: return KindCompileFile;
    case CompileCommand::CompileProject: return KindCompileProject;
    case CompileCommand::GenerateMakefile: return KindGenerateMakefile;
    case CompileCommand::Build: return KindBuild;
    case CompileCommand::Run: return KindRun;
    case CompileCommand::Stop: break;
    }
    return -1;
}

bool IsCommandEnabled(CompileCommand command, const CompileCommandState& state)
{
    if (command == CompileCommand::Stop)
        return state.compileBusy;
    if (state.compileBusy)
        return false;
    return JobKindOf(command) <= KindCompileFile ? state.hasActiveDocument : state.projectFileCount > 0;
}

} // namespace ide
