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
// error, with the driver's report. Whatever the compiler itself writes to
// standard output while the job runs (the parser's banner after a fatal
// syntax error) goes to standard error, so standard output holds only the
// lines above.
//
// When make's or the program's output stops in the middle of a line, quvc's
// next line starts on a line of its own wherever the two meet on a terminal
// (or in one file): a stage line on a terminal, the driver's report on
// standard error when it goes where standard output goes. Output that goes
// to a file alone keeps its bytes.
//
// SIGINT, SIGTERM and SIGHUP stop the running job as the IDE's stop command
// does (the load of a project file that waits for a pipe's writer ends, the
// stage that runs ends at its next check, make or the program and
// everything they started end, no further file is compiled, no file is left
// half-written); quvc then ends by the same signal.

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <streambuf>
#include <string>
#include <thread>

#include "compiler/driver/driver.hpp"
#include "tools/common/terminal_text.hpp"

namespace {

const int kExitClean = 0;
const int kExitDiagnostics = 1;
const int kExitUsage = 2;

// Standard output as it was when quvc started; std::cout itself is pointed
// at standard error for the whole job.
std::ostream& out() {
    static std::ostream stream(std::cout.rdbuf());
    return stream;
}

// Set while the last byte make or the program wrote to standard output left
// its line open; written on the runner's reader thread.
std::atomic<bool> lineOpen{false};
// Standard output is a terminal; standard error lands where standard output does.
bool outputIsTerminal = false;
bool errorSharesOutput = false;

void findWhereOutputGoes() {
    outputIsTerminal = isatty(1) == 1;
    struct stat output, error;
    errorSharesOutput = (outputIsTerminal && isatty(2) == 1) ||
                        (fstat(1, &output) == 0 && fstat(2, &error) == 0 && output.st_dev == error.st_dev &&
                         output.st_ino == error.st_ino);
}

// Before a line of quvc's own on standard output.
void startLine() {
    if (lineOpen.exchange(false) && outputIsTerminal)
        out() << '\n';
}

// Standard error's buffer, put in front of the one it had: the first byte
// after output that left its line open starts a line when the two meet.
class LineStartBuffer : public std::streambuf {
public:
    explicit LineStartBuffer(std::streambuf* target) : target(target) {}

protected:
    int overflow(int c) override {
        if (c == traits_type::eof())
            return traits_type::not_eof(c);
        endOpenLine();
        return target->sputc(static_cast<char>(c));
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        if (n > 0)
            endOpenLine();
        return target->sputn(s, n);
    }
    int sync() override { return target->pubsync(); }

private:
    void endOpenLine() {
        if (errorSharesOutput && lineOpen.exchange(false))
            target->sputc('\n');
    }

    std::streambuf* target;
};

std::string orDash(const std::string& s) {
    return s.empty() ? "-" : s;
}

void printDiagnostic(const QUVException& record) {
    startLine();
    out() << "diag " << orDash(terminal::fromFileName(record.getFileName())) << ' ' << record.getLine() << ':' << record.getColumn()
              << ' ' << record.getKind() << ' ' << record.getNumber() << ' ' << orDash(record.getRule()) << '\n';
    // Every line of the details indented, so none can pass for a diag or stage line.
    const std::string details = terminal::fromGbk(record.getDetails());
    size_t start = 0;
    do {
        const size_t end = details.find('\n', start);
        out() << "  " << details.substr(start, end == std::string::npos ? std::string::npos : end - start)
                  << '\n';
        start = end == std::string::npos ? details.size() + 1 : end + 1;
    } while (start <= details.size());
    out().flush();
}

void printStage(const char* subject, const char* text) {
    startLine();
    // The driver's stage lines are plain words around file names.
    out() << "stage " << terminal::fromFileName(subject) << ": " << terminal::fromFileName(text) << std::endl;
}

void printTypeset(bool ok, const std::string& text) {
    if (!ok)
        return;
    startLine();
    out() << text;
    if (!text.empty() && text.back() != '\n')
        out() << '\n';
    out().flush();
}

// make's and the program's bytes, each on its way at once.
void printChar(char c) {
    out().put(c).flush();
    lineOpen = c != '\n';
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
    startLine();
    out() << "message " << terminal::fromGbk(text) << std::endl;
}

// Takes SIGINT, SIGTERM and SIGHUP from the process while a job runs: they
// are blocked in every thread (the runner's threads inherit that; its children
// start with no signal blocked) and read by a watcher thread, which stops the
// job through the driver. After the job has returned, Finish ends quvc by the
// signal that came, if one did.
class SignalStop {
public:
    explicit SignalStop(QUVCompiler& driver) : driver(driver) {
        sigemptyset(&signals);
        for (int s : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&signals, s);
        pthread_sigmask(SIG_BLOCK, &signals, nullptr);
        source = signalfd(-1, &signals, SFD_CLOEXEC);
        if (source < 0 || pipe2(done, O_CLOEXEC) != 0)
            return;
        watcher = std::thread([this] { watch(); });
    }

    ~SignalStop() {
        endWatch();
        for (int fd : {source, done[0], done[1]})
            if (fd >= 0)
                close(fd);
        pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
    }

    // After the job: ends quvc by the signal that stopped it; otherwise returns.
    void finish() {
        endWatch();
        if (caught == 0)
            return;
        out().flush();
        std::cerr.flush();
        signal(caught, SIG_DFL);
        sigset_t one;
        sigemptyset(&one);
        sigaddset(&one, caught);
        raise(caught);
        pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
        _exit(128 + caught);
    }

private:
    void endWatch() {
        if (!watcher.joinable())
            return;
        const char end = 1;
        while (write(done[1], &end, 1) < 0 && errno == EINTR) {
        }
        watcher.join();
    }

    void watch() {
        pollfd fds[2] = {{source, POLLIN, 0}, {done[0], POLLIN, 0}};
        while (poll(fds, 2, -1) < 0 && errno == EINTR) {
        }
        signalfd_siginfo info;
        if ((fds[0].revents & POLLIN) && read(source, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
            caught = static_cast<int>(info.ssi_signo);
            driver.stopProcess();
        }
    }

    QUVCompiler& driver;
    sigset_t signals;
    int source = -1;
    int done[2] = {-1, -1};
    int caught = 0;
    std::thread watcher;
};

int usage() {
    std::cerr << "usage: quvc typeset|check|compile FILE.e\n"
                 "       quvc project|makefile|build|run FILE.prj\n";
    return kExitUsage;
}

int runProjectJob(QUVCompiler& driver, const std::string& verb, const std::string& projectFile) {
    CQuvProject project;
    project.messageSink = printMessage;
    // A stop while the load waits for a pipe's writer ends the job there; quvc then ends by the signal.
    if (!project.Load(projectFile, [&driver] { return driver.stopRequested(); }))
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
    findWhereOutputGoes();
    // Never freed: standard error is written through it until the process ends.
    static LineStartBuffer* errorBuffer = new LineStartBuffer(std::cerr.rdbuf());
    std::cerr.rdbuf(errorBuffer);
    out();
    std::cout.rdbuf(std::cerr.rdbuf());
    if (argc != 3)
        return usage();
    const std::string verb = argv[1];
    const std::string file = argv[2];

    // Every file of a project job compiles in the one session of the run.
    CompileSession session;
    QUVCompiler driver(session);
    driver.errorSink = printDiagnostic;
    driver.stageText = printStage;
    driver.typesetDone = printTypeset;
    driver.makeText = printStage;
    driver.makeChar = printChar;
    driver.runText = printStage;
    driver.runChar = printChar;
    driver.makeStart = startOutput;
    driver.runStart = startOutput;

    SignalStop stop(driver);
    if (verb == "typeset") {
        driver.typeset(file);
    } else if (verb == "check") {
        driver.syntaxCheck(file);
    } else if (verb == "compile") {
        driver.compileFile(file);
    } else if (verb == "project" || verb == "makefile" || verb == "build" || verb == "run") {
        const int status = runProjectJob(driver, verb, file);
        stop.finish();
        if (status >= 0)
            return status;
    } else {
        return usage();
    }
    stop.finish();
    out().flush();
    return driver.records().empty() ? kExitClean : kExitDiagnostics;
}
