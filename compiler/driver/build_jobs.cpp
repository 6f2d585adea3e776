// The jobs that go beyond compiling: build the program with make and run it,
// with their output through the host's character callbacks; the program runs
// as a plain child when the host has not installed its run callbacks.
#include "compiler/driver/driver.hpp"

#include <cstdlib>
#include <iostream>

namespace {

void stageLine(const QUVCompiler& driver, const std::string& subject, const std::string& text) {
    if (driver.stageText)
        driver.stageText(subject.c_str(), text.c_str());
}

std::string outcome(int exitCode) {
    return exitCode != 0 ? "errors found!" : "successfully!";
}

// The host has no box to show here: why a child could not start goes where the driver's own report goes.
void showStartError(const platform::ChildResult& r) {
    if (!r.started)
        std::cerr << "ERROR! " << r.startError << std::endl;
}

// make from the folder QuvMakePath names; without it, from the search path.
std::string makeProgram() {
    const char* folder = std::getenv("QuvMakePath");
    if (!folder || !*folder)
        return "nmake";
    return std::string(folder) + "/nmake.exe";
}

}  // namespace

bool QUVCompiler::build(const std::vector<std::string>& files, const std::string& project) {
    generateMakefile(files, project);
    // After a stop neither make nor the program starts.
    if (!records().empty() || childProcess.stopRequested())
        return false;
    const std::string makefile = stripExtension(project) + ".mak";
    const std::string opening = "nmake /E /f " + makefile + " Started!";
    std::cerr << opening << std::endl;
    stageLine(*this, makefile, opening);

    const int exitCode = startBuild(makefile, makeStart, makeText, makeChar);
    const std::string closing =
        "nmake finished with exit code = " + std::to_string(exitCode) + ", " + outcome(exitCode);
    std::cerr << closing << std::endl;
    stageLine(*this, makefile, closing);
    return exitCode == 0;
}

void QUVCompiler::run(const std::vector<std::string>& files, const std::string& project) {
    if (!build(files, project) || childProcess.stopRequested())
        return;
    const std::string exe = stripExtension(project) + ".exe";
    std::cerr << "Run program " + exe + " Started!" << std::endl;
    stageLine(*this, exe, "Run executable program " + exe + " Started!");

    int exitCode;
    if (runStart && runText && runChar) {
        exitCode = startProgram(exe, runStart, runText, runChar);
    } else {
        const platform::ChildResult r = platform::runPlain({exe}, childProcess);
        exitCode = r.started ? r.exitCode : -1;
    }
    std::cerr << "program " << exe << " finished with exit code = " << exitCode << ", " << outcome(exitCode)
              << std::endl;
    stageLine(*this, project, "Run executable Program " + exe + "Finished!");
}

// onText is kept for the host's sake: make's standard error shares the one
// pipe with its standard output, in the order written. A null slot is skipped.
int QUVCompiler::startBuild(const std::string& makefile, StartCallback onStart, TextCallback onText,
                            CharCallback onChar) {
    (void)onText;
    if (onStart)
        onStart();
    const CharCallback toHost = onChar ? onChar : [](char) {};
    const platform::ChildResult r =
        platform::runPiped({makeProgram(), "-A", "-D", "-E", "-F", makefile}, childProcess, toHost);
    showStartError(r);
    return r.exitCode;
}

int QUVCompiler::startProgram(const std::string& exe, StartCallback onStart, TextCallback onText,
                              CharCallback onChar) {
    (void)onText;
    onStart();
    const platform::ChildResult r = platform::runPiped({exe}, childProcess, onChar);
    showStartError(r);
    return r.exitCode;
}
