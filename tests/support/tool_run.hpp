// Helpers the tests of several folders share: running quvdump, reading
// fixtures, temporary folders and what forked children need.
#pragma once
#include <string>

struct RunResult {
    std::string out;  // standard output; standard error is dropped
    int status;       // exit status, -1 when the tool did not exit normally
};

// Runs a shell command and gathers its standard output; the command redirects
// its standard error itself.
RunResult runCommand(const std::string& command);

// Runs the built quvdump with the given arguments.
RunResult runQuvdump(const std::string& args);

// The bytes of a file, empty when it cannot be read.
std::string readFile(const std::string& path);

// What a program run by `quvc run` wrote: the text between the two stage
// lines of the run, "<not run>" when they are missing.
std::string programOutput(const std::string& quvcOut, const std::string& exe);

// The first line of every diagnostic a tool printed (`diag ...`), in order.
std::string diagLines(const std::string& toolOut);

// In a child process a test forked: a root process becomes the user nobody,
// for whom permission bits hold. False where that failed.
bool becomeNobodyIfRoot();

// A fresh folder under the system's temporary folder ($TMPDIR, else /tmp),
// removed with all it holds when the object goes, also when the test failed.
struct TempFolder {
    explicit TempFolder(const std::string& prefix = "quvtest");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string path;
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

// Reads a pipe to its end, then closes it.
std::string readToEnd(int fd);
