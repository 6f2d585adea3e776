#include "process_tree.hpp"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

namespace {

// The state, parent and start time of a process; state 0 when it is gone.
// The fields follow the last ')', as the name may hold anything.
struct Stat {
    char state = 0;
    pid_t parent = 0;
    unsigned long long started = 0;
};

Stat statOf(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text, skip;
    Stat stat;
    if (!std::getline(in, text) || text.rfind(')') == std::string::npos)
        return stat;
    std::istringstream fields(text.substr(text.rfind(')') + 1));
    fields >> stat.state >> stat.parent;
    for (int field = 5; field < 22; ++field)
        fields >> skip;
    fields >> stat.started;
    return fields ? stat : Stat();
}

bool runs(const SeenProcess& p)
{
    waitpid(p.pid, nullptr, WNOHANG);
    const Stat stat = statOf(p.pid);
    return stat.state != 0 && stat.state != 'Z' && stat.started == p.started;
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
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const pid_t pid = static_cast<pid_t>(std::stol(name));
        const Stat stat = statOf(pid);
        if (stat.state != 0 && stat.state != 'Z')
            children.insert({stat.parent, SeenProcess{pid, stat.started}});
    }
    std::vector<SeenProcess> found;
    for (std::vector<pid_t> parents = {root}; !parents.empty();) {
        const auto range = children.equal_range(parents.back());
        parents.pop_back();
        for (auto it = range.first; it != range.second; ++it) {
            found.push_back(it->second);
            parents.push_back(it->second.pid);
        }
    }
    return found;
}

bool allEnd(const std::vector<SeenProcess>& seen, std::chrono::milliseconds patience)
{
    const auto leftOne = [&seen] {
        for (const SeenProcess& p : seen)
            if (runs(p))
                return true;
        return false;
    };
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    while (leftOne() && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!leftOne())
        return true;
    for (const SeenProcess& p : seen)
        if (runs(p))
            kill(p.pid, SIGKILL);
    return false;
}

std::vector<SeenProcess> named(const std::vector<SeenProcess>& seen, const std::vector<std::string>& names)
{
    std::vector<SeenProcess> found;
    for (const SeenProcess& p : seen) {
        std::string name;
        std::getline(std::ifstream("/proc/" + std::to_string(p.pid) + "/comm"), name);
        for (const std::string& n : names)
            if (name == n && statOf(p.pid).started == p.started)
                found.push_back(p);
    }
    return found;
}
