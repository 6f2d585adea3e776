#include "tool_run.hpp"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

RunResult runCommand(const std::string& command)
{
    RunResult result{"", -1};
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.out.append(buffer, n);
    const int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

RunResult runQuvdump(const std::string& args)
{
    return runCommand(std::string(QUVDUMP_PATH) + " " + args + " 2>/dev/null");
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string programOutput(const std::string& quvcOut, const std::string& exe) {
    const std::string started = "stage " + exe + ": Run executable program " + exe + " Started!\n";
    const size_t from = quvcOut.find(started);
    const size_t to = quvcOut.find("Run executable Program " + exe + "Finished!\n");
    if (from == std::string::npos || to == std::string::npos)
        return "<not run>";
    const size_t begin = from + started.size();
    return quvcOut.substr(begin, quvcOut.rfind("stage ", to) - begin);
}

std::string diagLines(const std::string& toolOut)
{
    std::istringstream lines(toolOut);
    std::string line;
    std::string found;
    while (std::getline(lines, line))
        if (line.rfind("diag ", 0) == 0)
            found += line + "\n";
    return found;
}

bool becomeNobodyIfRoot()
{
    const uid_t nobody = 65534;
    return geteuid() != 0 || (setgroups(0, nullptr) == 0 && setgid(nobody) == 0 && setuid(nobody) == 0);
}

TempFolder::TempFolder(const std::string& prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
    if (mkdtemp(&pattern[0]) == nullptr) {
        std::perror(pattern.c_str());
        std::abort();
    }
    path = pattern;
}

TempFolder::~TempFolder()
{
    // A test may have left the folder read-only; its owner may always open it again.
    std::error_code ignored;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path, ignored);
}

std::string readToEnd(int fd)
{
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    close(fd);
    return text;
}
