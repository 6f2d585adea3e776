// quvc: runs one compile job with callbacks that print to standard output,
// for tests, scripts and people on a machine without a display.
//
//     quvc typeset|check|compile FILE.e
//     quvc project|makefile|build|run FILE.prj
//
// Standard output gets one "stage SUBJECT: TEXT" line per stage line and, per
// diagnostic, "diag FILE LINE:COLUMN KIND NUMBER RULE" followed by its details
// on indented lines; typeset prints the typeset text when it succeeded; build
// and run write the output of make and of the program through as it comes.
// Exit status: 0 when the job made no diagnostic (and, for build and run, make
// succeeded), 1 when it made any, make failed or the project file could not
// be loaded, 2 for bad usage. The program's own exit code shows on standard
// error, with the driver's report.

#include <cstring>
#include <iostream>
#include <string>

#include "compiler/driver/driver.hpp"
#include "tools/common/terminal_text.hpp"

namespace {

const int kExitClean = 0;
const int kExitDiagnostics = 1;
const int kExitUsage = 2;

std::string orDash(const std::string& s) {
    return s.empty() ? "-" : s;
}

void printDiagnostic(const QUVException& record) {
    std::cout << "diag " << orDash(record.getFileName()) << ' ' << record.getLine() << ':' << record.getColumn()
              << ' ' << record.getKind() << ' ' << record.getNumber() << ' ' << orDash(record.getRule()) << '\n';
    // Every line of the details indented, so none can pass for a diag or stage line.
    const std::string details = terminal::fromGbk(record.getDetails());
    size_t start = 0;
    do {
        const size_t end = details.find('\n', start);
        std::cout << "  " << details.substr(start, end == std::string::npos ? std::string::npos : end - start)
                  << '\n';
        start = end == std::string::npos ? details.size() + 1 : end + 1;
    } while (start <= details.size());
    std::cout.flush();
}

void printStage(const char* subject, const char* text) {
    std::cout << "stage " << subject << ": " << terminal::fromGbk(text) << std::endl;
}

void printTypeset(bool ok, const std::string& text) {
    if (!ok)
        return;
    std::cout << text;
    if (!text.empty() && text.back() != '\n')
        std::cout << '\n';
    std::cout.flush();
}

// make's and the program's bytes, each on its way at once.
void printChar(char c) {
    std::cout.put(c).flush();
}

void startOutput() {}

// Set when the run job got as far as running the program.
bool programRan = false;

void printRunStage(const char* subject, const char* text) {
    if (std::string(text).rfind("Run executable program ", 0) == 0)
        programRan = true;
    printStage(subject, text);
}

void printMessage(const std::string& text) {
    std::cout << "message " << terminal::fromGbk(text) << std::endl;
}

int usage() {
    std::cerr << "usage: quvc typeset|check|compile FILE.e\n"
                 "       quvc project|makefile|build|run FILE.prj\n";
    return kExitUsage;
}

int runProjectJob(QUVCompiler& driver, const std::string& verb, const std::string& projectFile) {
    CQuvProject project;
    project.messageSink = printMessage;
    if (!project.Load(projectFile))
        return kExitDiagnostics;
    const std::vector<std::string> files = project.ResolvedFiles();
    if (verb == "project") {
        driver.compileProject(files, projectFile);
    } else if (verb == "makefile") {
        driver.generateMakefile(files, projectFile);
    } else if (verb == "build") {
        return driver.build(files, projectFile) ? kExitClean : kExitDiagnostics;
    } else {
        driver.stageText = printRunStage;
        driver.run(files, projectFile);
        return programRan ? kExitClean : kExitDiagnostics;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    terminal::convertStandardError();
    if (argc != 3)
        return usage();
    const std::string verb = argv[1];
    const std::string file = argv[2];

    QUVCompiler driver;
    driver.errorSink = printDiagnostic;
    driver.stageText = printStage;
    driver.typesetDone = printTypeset;
    driver.makeText = printStage;
    driver.makeErrorChar = printChar;
    driver.makeChar = printChar;
    driver.runText = printStage;
    driver.runChar = printChar;
    driver.makeStart = startOutput;
    driver.runStart = startOutput;

    if (verb == "typeset") {
        driver.typeset(file);
    } else if (verb == "check") {
        driver.syntaxCheck(file);
    } else if (verb == "compile") {
        driver.compileFile(file);
    } else if (verb == "project" || verb == "makefile" || verb == "build" || verb == "run") {
        const int status = runProjectJob(driver, verb, file);
        if (status >= 0)
            return status;
    } else {
        return usage();
    }
    std::cout.flush();
    return QUVException::list().empty() ? kExitClean : kExitDiagnostics;
}
