// cl.exe of our tool chain: compiles each C++ source of its command line (and
// of its "@" response files) with g++ into an ".obj" beside the source.
//
//     cl.exe @response      with -Idir /Idir /Dname /D name /c /nologo /MT /W3 /GX and sources
//
// Options without a meaning here are ignored; any other is refused.
//
// The sources of one call compile side by side, one g++ per core (the
// environment variable QUV_CL_JOBS lowers that number; 1 compiles them one
// after another with g++ writing straight to our streams). Each compiler's
// output is kept and passed on whole after its source's name, in the order of
// the sources, so the output reads as if they had compiled one by one.
//
// Each g++ runs in a process group of its own, which ends with it and with a
// stop of cl.exe: the compiler and assembler it starts do not outlive us.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <thread>

#include "platform/process_runner.hpp"
#include "platform/toolchain/tool_arguments.hpp"
#include "platform/toolchain/tool_steps.hpp"

namespace {

const char kTool[] = "cl.exe";

int refuse(const std::string& message) {
    std::cerr << kTool << ": " << message << std::endl;
    return 2;
}

bool isSource(const std::string& word) {
    for (const char* suffix : {".cpp", ".cxx", ".cc"})
        if (toolchain::endsWithLetters(word, suffix))
            return true;
    return false;
}

bool isIgnored(const std::string& word) {
    // Quiet start, static run-time, warning level, exception handling: g++ needs none of them.
    for (const char* option : {"nologo", "MT", "GX", "W0", "W1", "W2", "W3", "W4"})
        if (toolchain::sameLetters(word.substr(1), option))
            return true;
    return false;
}

// The number of compilers that may run at once: the machine's cores, at most
// QUV_CL_JOBS; 0 when QUV_CL_JOBS is not a positive number.
unsigned jobLimit() {
    unsigned cores = std::thread::hardware_concurrency();
    if (cores == 0)
        cores = 1;
    if (cores > toolchain::kMaxSteps)
        cores = toolchain::kMaxSteps;
    const char* cap = std::getenv("QUV_CL_JOBS");
    if (!cap || !*cap)
        return cores;
    unsigned long value = 0;
    for (const char* c = cap; *c; ++c) {
        if (*c < '0' || *c > '9')
            return 0;
        value = value * 10 + static_cast<unsigned long>(*c - '0');
        if (value > 1000000)
            value = 1000000;
    }
    if (value == 0)
        return 0;
    return value < cores ? static_cast<unsigned>(value) : cores;
}

// One compile running with its standard output and standard error in a file
// of its own (already removed from its folder), read back once it has ended.
struct Compile {
    std::vector<std::string> argv;
    int output = -1;
    pid_t pid = 0;
    bool done = false;
    int exitCode = 0;
    std::string startError;
};

// A file for a compiler's output, already removed from its folder: in
// TMPDIR, else in /tmp; -1 when neither takes one.
int outputFile() {
    const char* tmp = std::getenv("TMPDIR");
    for (const std::string& dir : {std::string(tmp && *tmp ? tmp : "/tmp"), std::string("/tmp")}) {
        std::string pattern = dir + "/quv-cl-XXXXXX";
        const int fd = mkostemp(&pattern[0], O_CLOEXEC);
        if (fd >= 0) {
            unlink(pattern.c_str());
            return fd;
        }
    }
    return -1;
}

void start(Compile& c) {
    c.output = outputFile();
    if (c.output < 0) {
        c.done = true;
        c.exitCode = 2;
        c.startError = std::string("cannot make a file for the compiler's output: ") + std::strerror(errno);
        return;
    }
    std::string error;
    c.pid = toolchain::startStep(c.argv, c.output, true, error);
    if (c.pid == 0) {
        c.done = true;
        c.exitCode = 2;
        c.startError = "cannot run '" + c.argv[0] + "': " + error;
    }
}

void writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        data += n;
        size -= static_cast<size_t>(n);
    }
}

// Passes on a finished compile: its source's name, then its output.
void report(const std::string& source, Compile& c) {
    std::cout << source << std::endl;
    if (!c.startError.empty())
        std::cerr << kTool << ": " << c.startError << std::endl;
    if (c.output < 0)
        return;
    char buffer[65536];
    for (off_t at = 0;;) {
        const ssize_t n = pread(c.output, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        writeAll(2, buffer, static_cast<size_t>(n));
        at += n;
    }
    close(c.output);
    c.output = -1;
}

// Compiles the sources side by side, at most `jobs` at a time, and reports
// each in the order of the sources as soon as it and those before it are done.
int compileSideBySide(const std::vector<std::string>& sources, const std::vector<std::vector<std::string>>& commands,
                      unsigned jobs) {
    std::vector<Compile> compiles(sources.size());
    size_t next = 0;
    size_t reported = 0;
    unsigned running = 0;
    int status = 0;
    while (reported < sources.size()) {
        while (running < jobs && next < sources.size()) {
            Compile& c = compiles[next];
            c.argv = commands[next];
            ++next;
            start(c);
            if (!c.done)
                ++running;
        }
        while (reported < sources.size() && compiles[reported].done) {
            report(sources[reported], compiles[reported]);
            if (compiles[reported].exitCode != 0)
                status = compiles[reported].exitCode;
            ++reported;
        }
        if (running == 0)
            continue;
        int exitCode = 0;
        const pid_t ended = toolchain::awaitStep(-1, exitCode);
        if (ended == 0)
            break;
        for (Compile& c : compiles) {
            if (c.pid != ended || c.done)
                continue;
            c.done = true;
            c.exitCode = exitCode;
            --running;
            break;
        }
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    // Within the grace make gives us, so that the compilers are gone first.
    toolchain::endStepsOnStop(platform::kStopGrace / 4);
    std::vector<std::string> words;
    std::string error;
    if (!toolchain::expandResponseFiles(std::vector<std::string>(argv + 1, argv + argc), words, error))
        return refuse(error);

    std::vector<std::string> flags;
    std::vector<std::string> sources;
    bool compileOnly = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        const bool option = w.size() > 1 && (w[0] == '-' || w[0] == '/');
        if (option && isIgnored(w))
            continue;
        if (option && toolchain::sameLetters(w.substr(1), "c")) {
            compileOnly = true;
        } else if (isSource(w)) {
            // Sources first: an absolute path starts with '/' too.
            sources.push_back(w);
        } else if (option && (w[1] == 'D' || w[1] == 'I')) {
            std::string value = w.substr(2);
            if (value.empty()) {
                // "-I$(QUVINCLUDEPATH)" with the macro unset leaves "-I" before the next option.
                const bool nextIsOption = i + 1 < words.size() && words[i + 1].size() > 1 &&
                                          (isIgnored(words[i + 1]) || toolchain::sameLetters(words[i + 1], "/c"));
                if (i + 1 == words.size() || nextIsOption)
                    return refuse("option '" + w + "' needs a value");
                value = words[++i];
            }
            flags.push_back(std::string("-") + w[1] + value);
        } else {
            return refuse(option ? "unknown option '" + w + "'" : "not a C++ source: '" + w + "'");
        }
    }
    if (!compileOnly)
        return refuse("only compiling (/c) is done here: link the objects with link.exe");
    if (sources.empty())
        return refuse("no source file");

    const unsigned jobs = jobLimit();
    if (jobs == 0)
        return refuse("QUV_CL_JOBS must be a positive number of compile jobs");

    std::vector<std::vector<std::string>> commands;
    for (const std::string& source : sources) {
        const std::string object = source.substr(0, source.rfind('.')) + ".obj";
        std::vector<std::string> gxx = {QUV_GXX, "-std=gnu++17", "-pthread", "-c",
                                        toolchain::fileArgument(source), "-o", toolchain::fileArgument(object)};
        gxx.insert(gxx.end(), flags.begin(), flags.end());
        commands.push_back(gxx);
    }
    if (jobs > 1 && sources.size() > 1)
        return compileSideBySide(sources, commands, jobs);

    int status = 0;
    for (size_t i = 0; i < sources.size(); ++i) {
        std::cout << sources[i] << std::endl;
        const int code = toolchain::runStep(kTool, commands[i], true);
        if (code != 0)
            status = code;
    }
    return status;
}
