// The single-file jobs (typeset, syntax check, compile a file) and the project
// jobs (compile the project with its link checks, generate the makefile).
#include "compiler/driver/driver.hpp"

#include <exception>
#include <iostream>
#include <streambuf>

#include "compiler/parser/parser.hpp"
#include "compiler/treewalk/treewalk.hpp"
#include "platform/file_io.hpp"

namespace {

const QUVException::Class kSourceFileError{QUVException::FileError, QUVException::CharStreamIO};

// Reads the whole source, opened once and read once (platform::ReadWithStop):
// a pipe or a terminal gives the bytes a file does, and a job stopped while
// it waits for them ends (JobStopped). False, with why, when the file cannot
// be opened or read.
bool readSource(const JobState& job, const std::string& file, std::string& text, std::string& why) {
    const platform::ReadEnd end =
        platform::ReadWithStop(file, text, why, [&job] { return job.stopRequested(); });
    if (end == platform::ReadEnd::Stopped)
        throw JobStopped();
    return end == platform::ReadEnd::Read;
}

// The bytes of a string as a stream, without a copy of them.
class TextStream : private std::streambuf, public std::istream {
public:
    explicit TextStream(std::string& text) : std::istream(this) {
        setg(&text[0], &text[0], &text[0] + text.size());
    }
};

// The compiler's own stages: the recovering lexer, the parser with QUV_AST
// nodes, and the tree walker.
class CompilerStages : public CompileStages {
public:
    antlr::RefAST parse(JobState& job, const std::string& file, TypesettingPass* typesetting) override {
        // A source that cannot be read is reported as such; the parser would
        // only meet an empty input and blame the program.
        std::string text, why;
        if (!readSource(job, file, text, why)) {
            QUVException(job, kSourceFileError, 0, 0, "", file, "can't read the source file: " + why);
            return antlr::nullAST;
        }
        TextStream in(text);
        SourceParser source(in, file, job);
        // The lexer holds its own copy.
        std::string().swap(text);
        if (typesetting) {
            source.parser.typesetProgram(*typesetting);
            return antlr::nullAST;
        }
        source.parser.program();
        return source.parser.getAST();
    }

    void walk(JobState& job, antlr::RefAST tree, TopFragment& top) override {
        QUVTreeWalk walker;
        walker.program(tree, job, &top);
    }
};

CompileStages& stagesOf(const QUVCompiler& driver) {
    static CompilerStages own;
    return driver.stages ? *driver.stages : own;
}


void stageLine(const QUVCompiler& driver, const std::string& subject, const std::string& text) {
    if (driver.stageText)
        driver.stageText(subject.c_str(), text.c_str());
}

// "STAGE Finished!, N errors found!"
std::string finishedLine(const char* stage, size_t count) {
    return std::string(stage) + " Finished!, " + std::to_string(count) + " errors found!";
}

// Runs a step; whatever it throws ends the step with a fatal diagnostic, so
// the job counts it and a later build does not go on over stale files. ANTLR's
// exceptions have no std::exception base and are caught by their own. A stop
// is no failure: it ends the step without a diagnostic (the job's stop stays
// requested, and the job ends there). True when anything was caught.
template <class Step>
bool underFatalGuard(JobState& job, Step step, const char* fatalText) {
    bool named = true;
    try {
        step();
        return false;
    } catch (const JobStopped&) {
        return true;
    } catch (const std::exception& ex) {
        std::cerr << "Fatal Exception : " << ex.what() << std::endl;
    } catch (const antlr::ANTLRException& ex) {
        std::cerr << "Fatal Exception : " << ex.getMessage() << std::endl;
    } catch (QUVRunTimeException& failure) {
        // Filed here: what threw it may know no job.
        job.fileFailure(failure);
        named = false;
    } catch (...) {
        named = false;
    }
    QUVException(job).makeFatal(fatalText);
    if (!named)
        std::cerr << "unknown Fatal Exception! " << std::endl;
    return true;
}

const char kFatalProgram[] = "Fatal error occured in the program!";
const char kFatalTypesetting[] = "Fatal error occured in typesetting the program!";

}  // namespace

void QUVCompiler::typeset(const std::string& file) {
    // Each job typesets from a fresh state of its own.
    TypesettingPass pass(*this);
    CompileStages& s = stagesOf(*this);
    const bool caught = underFatalGuard(*this, [&] { s.parse(*this, file, &pass); }, kFatalTypesetting);
    // A stopped job reports nothing more: the host asked for its end, not for a failure.
    if (stopRequested())
        return;

    std::cerr << "\n-------- typesetting Finished! -------------\n" << std::endl;
    std::cerr << pass.typesetText << std::endl;
    const size_t count = records().size();
    stageLine(*this, file, finishedLine("Typesetting", count));
    // One report: a text the pass could not finish is never offered as done.
    if (typesetDone)
        typesetDone(!caught && count == 0, pass.typesetText);
}

void QUVCompiler::syntaxCheck(const std::string& file) {
    stageLine(*this, file, "Syntax Checking Started!");
    fileName = file;
    CompileStages& s = stagesOf(*this);
    underFatalGuard(*this, [&] { s.parse(*this, file, nullptr); }, kFatalProgram);
    if (stopRequested())
        return;
    std::cerr << "\n-------- Syntax Checking Finished! -------------\n" << std::endl;
    stageLine(*this, file, finishedLine("Syntax Checking", records().size()));
}

void QUVCompiler::compileFile(const std::string& file) {
    const std::string base = stripExtension(file);
    translate(file, OutputNames::ofBase(base));
}

void QUVCompiler::translate(const std::string& file, const OutputNames& outputs) {
    const size_t start = records().size();
    stageLine(*this, file, "Syntax Checking Started!");
    fileName = file;
    CompileStages& s = stagesOf(*this);
    antlr::RefAST tree;
    underFatalGuard(*this, [&] { tree = s.parse(*this, file, nullptr); }, kFatalProgram);
    // A stopped job ends here and after the walk: it writes no file it had not finished.
    if (stopRequested())
        return;
    std::cerr << "\n-------- Syntax Checking Finished! -------------\n" << std::endl;
    stageLine(*this, file, finishedLine("Syntax Checking", records().size() - start));

    const size_t semanticStart = records().size();
    stageLine(*this, file, "Semantic Checking Started!");
    // The parser's recovery leaves a tree after syntax errors too; it is walked all the same.
    if (tree) {
        underFatalGuard(
            *this, [&] {
                writeStringTree(std::cerr, tree);
                std::cerr << std::endl;
                TopFragment top;
                try {
                    s.walk(*this, tree, top);
                } catch (const JobStopped&) {
                    throw;
                } catch (...) {
                    // A walk that failed after it left its program still has
                    // that program's files written, before the failure is
                    // counted.
                    top.writeFiles(*this, outputs);
                    throw;
                }
                top.writeFiles(*this, outputs);
                // Only a walk that ended normally leaves a program for the link check.
                programs.push_back({file, top.programKind});
            },
            kFatalProgram);
    }
    if (stopRequested())
        return;
    stageLine(*this, file, finishedLine("Semantic Checking", records().size() - semanticStart));
}

void QUVCompiler::compileProject(const std::vector<std::string>& files, const std::string& project) {
    const size_t start = records().size();
    stageLine(*this, project, "Compile Project Started!");
    // A stop asked for by the host (stopProcess) ends the job between files.
    for (const std::string& file : files) {
        if (childProcess.stopRequested())
            return;
        compileFile(file);
    }
    if (childProcess.stopRequested())
        return;

    const size_t linkStart = records().size();
    stageLine(*this, project, "Link Project Started!");
    linkProject();
    stageLine(*this, project, finishedLine("Link Project", records().size() - linkStart));
    stageLine(*this, project, finishedLine("Compile Project", records().size() - start));
}

namespace {
// The channel formal `name` of a process; null when it has none.
const ChannelFormal* channelFormal(const ProcessChannels* process, const std::string& name) {
    if (!process)
        return nullptr;
    for (const ChannelFormal& f : process->formals)
        if (f.name == name)
            return &f;
    return nullptr;
}

QUVException::ChannelEnd endOf(const std::string& process, const ProcessChannels& p, const ChannelFormal& f) {
    return {process, f.name, f.input, f.element->getTypeset(), p.line, p.column, p.file};
}

// The channels whose ends a parallel statement's own file could not compare,
// now that every process of the project is known: the check the statement
// makes where both processes are its file's. An end whose process or formal
// is missing was reported, or is never read.
void checkPendingChannels(DiagnosticSink& job, const ProcessRegistry& registry) {
    for (const PendingChannel& c : registry.getPendingChannels()) {
        const ProcessChannels* one = registry.getChannelFormals(c.process);
        const ProcessChannels* other = registry.getChannelFormals(c.peer);
        const ChannelFormal* f = channelFormal(one, c.formal);
        const ChannelFormal* g = channelFormal(other, c.peerFormal);
        if (!f || !g || !f->element || !g->element || Type::equal(f->element, g->element))
            continue;
        QUVException::ChannelEnd a = endOf(c.process, *one, *f), b = endOf(c.peer, *other, *g);
        // The sending end first.
        if (f->input && !g->input)
            std::swap(a, b);
        QUVException(job).makeChannelTypesDiffer(c.line, c.column, c.file, a, b);
    }
}
}  // namespace

void QUVCompiler::linkProject() {
    for (const ProcessRecord& r : processRegistry.getReferences()) {
        QUVException e(*this);
        e.makeProcessUndeclared(r.name, r.line, r.column, r.file);
    }
    checkPendingChannels(*this, processRegistry);
    // Two files' variables of one name would be two definitions of one C++
    // variable: the program could not be linked.
    const std::vector<ProcessRecord>& shared = processRegistry.getSharedVariables();
    for (auto it = shared.begin(); it != shared.end(); ++it) {
        for (auto old = shared.begin(); old != it; ++old) {
            if (old->name == it->name && old->file != it->file) {
                QUVException e(*this);
                e.makeSharedRedeclared(it->name, it->line, it->column, it->file, old->line, old->column, old->file);
                break;
            }
        }
    }
    const ProgramRecord* mainProgram = nullptr;
    for (const ProgramRecord& p : programs) {
        if (p.kind != 0 && p.kind != 2)
            continue;
        if (!mainProgram)
            mainProgram = &p;
        else
            QUVException(*this).makeMainTwice(p.name, mainProgram->name);
    }
    if (!mainProgram)
        QUVException(*this).makeNoMain();
}


void QUVCompiler::generateMakefile(const std::vector<std::string>& files, const std::string& project) {
    compileProject(files, project);
    if (records().size() > 0 || childProcess.stopRequested())
        return;
    stageLine(*this, project, "Generate Makefile Started!");
    if (!writeMakefile(files, project, stripExtension(project) + ".mak"))
        return;
    stageLine(*this, project, "Generate Makefile Successfully Finished!");
}
