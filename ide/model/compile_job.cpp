#include "ide/model/compile_job.hpp"

#include "compiler/core/gbk.hpp"

namespace ide {

CCompileJob::CCompileJob(int kind, const std::string& path) : sourceFile(gbk::fromUtf8(path)), kind(kind) {}

CCompileJob::CCompileJob(int kind, const std::vector<std::string>& files, const std::string& project)
    : projectFile(gbk::fromUtf8(project)), kind(kind)
{
    for (const std::string& file : files)
        projectFiles.push_back(gbk::fromUtf8(file));
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
