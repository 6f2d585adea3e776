// nmake of our tool chain: runs the makefiles the compile driver writes, and
// nothing more than their dialect:
//
//   NAME = value \            macros, continued by a backslash at the line end
//       more                  $(NAME) expands them; environment variables are
//                             macros too, below the makefile's own unless -E;
//                             $$ is a "$" of a name
//   target : dependents       description blocks, their commands indented; the
//                             colon that separates has a blank before or after
//                             it, so a name may hold colons of its own
//   .cpp.obj::                inference rule: "::" runs its commands once for
//                             all out-of-date sources ($< is all of them), ":"
//                             once per source
//   cmd @<<  ...  <<          inline text handed to the command as a temporary file
//
// The first target is built by default. Options, "-" or "/" in any letter
// case: -A build all targets whatever their times, -D show the times of the
// files, -E environment above makefile, -F file the makefile.
// Each command is echoed and run; the first that fails ends make with status 2.
// As make does, a command that fails or is stopped takes its target with it
// when it touched the target (a batch rule's objects stay: each compiler
// removes the object it did not finish).
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

#include "platform/process_runner.hpp"
#include "platform/toolchain/makefile_reader.hpp"
#include "platform/toolchain/tool_arguments.hpp"
#include "platform/toolchain/tool_steps.hpp"

namespace {

const int kFailed = 2;

struct Failure {
    std::string message;
};

[[noreturn]] void fail(const std::string& message) {
    throw Failure{message};
}

using toolchain::InferenceRule;
using Command = toolchain::MakeCommand;
using Block = toolchain::MakeBlock;

struct Options {
    bool all = false;
    bool dates = false;
    bool environmentFirst = false;
    std::string makefile;
};

std::string quotedIfBlank(const std::string& name) {
    return name.find_first_of(" \t") == std::string::npos ? name : "\"" + name + "\"";
}

std::string extensionOf(const std::string& name) {
    const size_t dot = name.rfind('.');
    const size_t slash = name.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    return name.substr(dot);
}

class Make {
public:
    explicit Make(const Options& o) : options(o) { makefile.environmentFirst = o.environmentFirst; }

    void read(const std::string& file);
    void buildDefault();

private:
    std::string expand(const std::string& text, const std::string* sources) const {
        return makefile.expand(text, sources);
    }

    // When a target is made: the time of its file, or "now" when it was made in this run.
    struct Stamp {
        bool made = false;
        bool exists = false;
        timespec time{};
    };
    static bool newer(const Stamp& a, const Stamp& b);
    Stamp make(const std::string& target);
    const InferenceRule* ruleFor(const std::string& target, const Block* block, std::string& source) const;
    void runCommands(const std::vector<Command>& commands, const std::string* sources, const std::string& target);
    void runCommand(const Command& command, const std::string* sources, const std::string* target);
    void flushBatch();

    Options options;
    toolchain::Makefile makefile;
    std::map<std::string, Stamp> made;
    std::set<std::string> making;
    // Sources of the batch rules waiting to run, per rule, in order.
    std::vector<std::pair<const InferenceRule*, std::string>> batch;
};

void Make::read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        fail("cannot open the makefile '" + file + "'");
    std::ostringstream text;
    text << in.rdbuf();
    makefile.read(text.str());
}

bool Make::newer(const Stamp& a, const Stamp& b) {
    if (a.made || !b.exists)
        return !b.made;
    if (!a.exists || b.made)
        return false;
    return a.time.tv_sec != b.time.tv_sec ? a.time.tv_sec > b.time.tv_sec : a.time.tv_nsec > b.time.tv_nsec;
}

const InferenceRule* Make::ruleFor(const std::string& target, const Block* block, std::string& source) const {
    const std::string to = extensionOf(target);
    const std::string base = target.substr(0, target.size() - to.size());
    for (const InferenceRule& r : makefile.rules) {
        if (to.empty() || r.to != to)
            continue;
        source = base + r.from;
        struct stat st;
        bool named = false;
        if (block)
            for (const std::string& d : block->dependents)
                named = named || d == source;
        if (named || makefile.blocks.count(source) || stat(source.c_str(), &st) == 0)
            return &r;
    }
    return nullptr;
}

Make::Stamp Make::make(const std::string& target) {
    auto done = made.find(target);
    if (done != made.end())
        return done->second;
    if (!making.insert(target).second)
        fail("'" + target + "' depends on itself");
    auto found = makefile.blocks.find(target);
    const Block* block = found == makefile.blocks.end() ? nullptr : &found->second;
    std::string source;
    const InferenceRule* rule = block && !block->commands.empty() ? nullptr : ruleFor(target, block, source);

    Stamp stamp;
    struct stat st;
    if (stat(target.c_str(), &st) == 0) {
        stamp.exists = true;
        stamp.time = st.st_mtim;
    }
    if (!block && !rule) {
        if (!stamp.exists)
            fail("don't know how to make '" + target + "'");
        made[target] = stamp;
        making.erase(target);
        return stamp;
    }

    std::vector<std::string> dependents = block ? block->dependents : std::vector<std::string>();
    if (rule && std::find(dependents.begin(), dependents.end(), source) == dependents.end())
        dependents.push_back(source);
    bool outOfDate = options.all || !stamp.exists;
    for (const std::string& d : dependents) {
        const Stamp dependent = make(d);
        outOfDate = outOfDate || newer(dependent, stamp);
    }
    if (options.dates) {
        char when[64] = "does not exist";
        if (stamp.exists) {
            tm local;
            localtime_r(&stamp.time.tv_sec, &local);
            std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
        }
        std::cout << "  " << when << "  " << target << std::endl;
    }
    if (outOfDate) {
        if (rule && rule->batch) {
            batch.push_back({rule, source});
        } else if (rule) {
            const std::string quoted = quotedIfBlank(source);
            runCommands(rule->commands, &quoted, target);
        } else {
            runCommands(block->commands, nullptr, target);
        }
        stamp.made = true;
    }
    made[target] = stamp;
    making.erase(target);
    return stamp;
}

void Make::runCommands(const std::vector<Command>& commands, const std::string* sources,
                       const std::string& target) {
    // What a batch rule owes must exist before any later command runs.
    flushBatch();
    for (const Command& c : commands)
        runCommand(c, sources, &target);
}

void Make::flushBatch() {
    while (!batch.empty()) {
        const InferenceRule* rule = batch.front().first;
        std::string sources;
        for (auto it = batch.begin(); it != batch.end();) {
            if (it->first != rule) {
                ++it;
                continue;
            }
            sources += (sources.empty() ? "" : " ") + quotedIfBlank(it->second);
            it = batch.erase(it);
        }
        for (const Command& c : rule->commands)
            runCommand(c, &sources, nullptr);
    }
}

// The inline files that exist now, kept where a signal handler may read
// them: a stop (SIGTERM, SIGINT, SIGHUP) removes them before make ends.
// Changed only with those signals held.
const int kMaxLiveFiles = 64;
char liveFiles[kMaxLiveFiles][PATH_MAX];
volatile sig_atomic_t liveCount = 0;

extern "C" void removeLiveFiles() {
    for (sig_atomic_t i = 0; i < liveCount; ++i)
        unlink(liveFiles[i]);
}

// The target of the command that runs now, as it was before the command
// started; like the inline files, read by a stop.
char watchedTarget[PATH_MAX];
struct stat watchedBefore;
bool watchedExisted = false;
volatile sig_atomic_t watching = 0;

// Removes the watched target when the command touched it: made it, or gave
// its name another file or its file another modification time. Only calls
// that are safe in a signal handler.
void removeTouchedTarget() {
    struct stat now;
    if (!watching || lstat(watchedTarget, &now) != 0 || S_ISDIR(now.st_mode))
        return;
    if (watchedExisted && now.st_dev == watchedBefore.st_dev && now.st_ino == watchedBefore.st_ino &&
        now.st_mtim.tv_sec == watchedBefore.st_mtim.tv_sec && now.st_mtim.tv_nsec == watchedBefore.st_mtim.tv_nsec)
        return;
    if (unlink(watchedTarget) != 0)
        return;
    const char* parts[] = {"nmake: deleted '", watchedTarget, "', which the command did not finish\n"};
    for (const char* part : parts)
        (void)!write(2, part, std::strlen(part));
}

extern "C" void removeTargetOfAFailedStep(bool aStepFailed) {
    if (aStepFailed)
        removeTouchedTarget();
}

// Watches the target of one command while it lives.
struct TargetWatch {
    explicit TargetWatch(const std::string* target) {
        if (!target || target->size() >= PATH_MAX)
            return;
        const toolchain::StopsHeld held;
        std::strcpy(watchedTarget, target->c_str());
        watchedExisted = lstat(watchedTarget, &watchedBefore) == 0;
        watching = 1;
    }
    ~TargetWatch() {
        const toolchain::StopsHeld held;
        watching = 0;
    }
    void commandFailed() {
        const toolchain::StopsHeld held;
        removeTouchedTarget();
    }
};

// Removes the inline files of one command whatever way it ends.
struct InlineFiles {
    ~InlineFiles() {
        const toolchain::StopsHeld held;
        for (const std::string& f : names)
            std::remove(f.c_str());
        liveCount = 0;
    }
    // Creates a file for an inline text in the temporary folder; false when it cannot.
    bool create(std::string& name, int& fd) {
        const char* folder = std::getenv("TMPDIR");
        name = std::string(folder && *folder ? folder : "/tmp") + "/nmXXXXXX";
        if (liveCount >= kMaxLiveFiles || name.size() >= PATH_MAX)
            return false;
        const toolchain::StopsHeld held;
        fd = mkstemp(&name[0]);
        if (fd >= 0) {
            std::strcpy(liveFiles[liveCount], name.c_str());
            liveCount = liveCount + 1;
            names.push_back(name);
        }
        return fd >= 0;
    }
    std::vector<std::string> names;
};

void Make::runCommand(const Command& command, const std::string* sources, const std::string* target) {
    InlineFiles files;
    std::string line;
    size_t start = 0;
    for (const std::string& text : command.inlineTexts) {
        const size_t at = command.line.find("<<", start);
        std::string name;
        int fd = -1;
        if (!files.create(name, fd))
            fail("cannot make an inline file in " + name);
        const std::string content = expand(text, sources);
        const bool written = write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
        close(fd);
        if (!written)
            fail("cannot write the inline file " + name);
        line += expand(command.line.substr(start, at - start), sources) + quotedIfBlank(name);
        start = at + 2;
    }
    line += expand(command.line.substr(start), sources);

    std::cout << '\t' << line << std::endl;
    std::vector<std::string> argv = toolchain::splitWords(line);
    if (argv.empty())
        return;
    // The tool chain's own programs are found beside make first.
    if (argv[0].find('/') == std::string::npos) {
        char self[4096];
        const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
        if (n > 0) {
            std::string beside(self, n);
            beside = beside.substr(0, beside.rfind('/') + 1) + argv[0];
            if (access(beside.c_str(), X_OK) == 0)
                argv[0] = beside;
        }
    }
    TargetWatch watch(target);
    const int code = toolchain::runStep("nmake", argv, false);
    if (code != 0) {
        watch.commandFailed();
        fail("'" + line + "' ended with exit code " + std::to_string(code));
    }
}

void Make::buildDefault() {
    if (makefile.firstTarget.empty())
        fail("no target in the makefile");
    make(makefile.firstTarget);
    flushBatch();
}

bool readOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.size() < 2 || (a[0] != '-' && a[0] != '/'))
            fail("unexpected argument '" + a + "'");
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(a[1])));
        if (letter == 'F') {
            options.makefile = a.size() > 2 ? a.substr(2) : (i + 1 < argc ? argv[++i] : "");
            if (options.makefile.empty())
                fail("option '" + a + "' needs a makefile name");
            continue;
        }
        if (a.size() != 2 || (letter != 'A' && letter != 'D' && letter != 'E'))
            fail("unknown option '" + a + "'");
        options.all = options.all || letter == 'A';
        options.dates = options.dates || letter == 'D';
        options.environmentFirst = options.environmentFirst || letter == 'E';
    }
    if (options.makefile.empty())
        fail("no makefile: name it with -F FILE");
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // The inline files go at once; the command has half of a stop's grace
    // to end, so that make is done before what stops it kills the group.
    toolchain::endStepsOnStop(platform::kStopGrace / 2, {removeLiveFiles, removeTargetOfAFailedStep});
    try {
        Options options;
        readOptions(argc, argv, options);
        Make make(options);
        make.read(options.makefile);
        make.buildDefault();
    } catch (const Failure& f) {
        std::cout.flush();
        std::cerr << "nmake: " << f.message << std::endl;
        return kFailed;
    } catch (const toolchain::MakefileError& e) {
        std::cout.flush();
        std::cerr << "nmake: " << e.what() << std::endl;
        return kFailed;
    }
    return 0;
}
