#include "process_tree.hpp"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

namespace {

struct Stat {
    char state = 0;
    pid_t parent = 0;
    unsigned long long started = 0;
};

// False when the process is gone.
bool statOf(pid_t pid, Stat& stat)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!std::getline(in, text))
        return false;
    // The name in parentheses may hold anything; the fields follow its last ')'.
    const size_t close = text.rfind(')');
    if (close == std::string::npos)
        return false;
    std::istringstream fields(text.substr(close + 1));
    std::string skip;
    fields >> stat.state >> stat.parent;
    for (int field = 5; field < 22; ++field)
        fields >> skip;
    fields >> stat.started;
    return static_cast<bool>(fields);
}

bool runs(const SeenProcess& p)
{
    int status;
    waitpid(p.pid, &status, WNOHANG);
    Stat stat;
    return statOf(p.pid, stat) && stat.started == p.started && stat.state != 'Z';
}

}  // namespace

void adoptOrphans()
{
    prctl(PR_SET_CHILD_SUBREAPER, 1);
}

std::vector<SeenProcess> descendantsOf(pid_t root)
{
    std::multimap<pid_t, SeenProcess> children;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        Stat stat;
        if (name.find_first_not_of("0123456789") == std::string::npos &&
            statOf(static_cast<pid_t>(std::stol(name)), stat) && stat.state != 'Z')
            children.insert({stat.parent, SeenProcess{static_cast<pid_t>(std::stol(name)), stat.started}});
    }
    std::vector<SeenProcess> found;
    std::vector<pid_t> parents = {root};
    while (!parents.empty()) {
        const pid_t parent = parents.back();
        parents.pop_back();
        auto range = children.equal_range(parent);
        for (auto it = range.first; it != range.second; ++it) {
            found.push_back(it->second);
            parents.push_back(it->second.pid);
        }
    }
    return found;
}

bool allEnd(const std::vector<SeenProcess>& seen)
{
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    for (;;) {
        bool left = false;
        for (const SeenProcess& p : seen)
            left = left || runs(p);
        if (!left)
            return true;
        if (std::chrono::steady_clock::now() > giveUp)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    for (const SeenProcess& p : seen)
        if (runs(p))
            kill(p.pid, SIGKILL);
    for (const SeenProcess& p : seen)
        waitpid(p.pid, nullptr, WNOHANG);
    return false;
}
