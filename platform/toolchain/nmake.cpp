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
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <csignal>
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

#include "platform/process_runner.hpp"
#include "platform/toolchain/tool_arguments.hpp"

namespace {

const int kFailed = 2;

struct Failure {
    std::string message;
};

[[noreturn]] void fail(const std::string& message) {
    throw Failure{message};
}

// A command line with the texts of its inline files, in the order of their "<<".
struct Command {
    std::string line;
    std::vector<std::string> inlineTexts;
};

struct Block {
    std::vector<std::string> dependents;
    std::vector<Command> commands;
};

struct InferenceRule {
    std::string from;  // ".cpp"
    std::string to;    // ".obj"
    bool batch;
    std::vector<Command> commands;
};

struct Options {
    bool all = false;
    bool dates = false;
    bool environmentFirst = false;
    std::string makefile;
};

std::string trim(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The first `c` outside double quotes; npos when none.
size_t outsideQuotes(const std::string& line, char c) {
    bool quoted = false;
    for (size_t k = 0; k < line.size(); ++k) {
        if (line[k] == '"')
            quoted = !quoted;
        else if (!quoted && line[k] == c)
            return k;
    }
    return std::string::npos;
}

bool blank(char c) {
    return c == ' ' || c == '\t';
}

// The colon (or the first of "::") between the targets and the dependents:
// outside double quotes, with a blank before it or a blank or the line end
// after it. A name is written in quotes when it holds a blank, so a colon
// inside a name never stands beside one.
size_t separatingColon(const std::string& line) {
    bool quoted = false;
    for (size_t k = 0; k < line.size(); ++k) {
        if (line[k] == '"') {
            quoted = !quoted;
            continue;
        }
        if (quoted || line[k] != ':')
            continue;
        const size_t after = k + 1 < line.size() && line[k + 1] == ':' ? k + 2 : k + 1;
        if ((k > 0 && blank(line[k - 1])) || after == line.size() || blank(line[after]))
            return k;
        k = after - 1;
    }
    return std::string::npos;
}

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
    explicit Make(const Options& o) : options(o) {}

    void read(const std::string& file);
    void buildDefault();

private:
    std::string expand(const std::string& text, const std::string* sources, int depth = 0) const;
    std::string macroValue(const std::string& name, int depth) const;
    void readDependencyLine(const std::string& line, size_t colon, std::vector<Command>*& commands);
    std::vector<std::string> names(const std::string& text) const;

    // When a target is made: the time of its file, or "now" when it was made in this run.
    struct Stamp {
        bool made = false;
        bool exists = false;
        timespec time{};
    };
    static bool newer(const Stamp& a, const Stamp& b);
    Stamp make(const std::string& target);
    const InferenceRule* ruleFor(const std::string& target, const Block* block, std::string& source) const;
    void runCommands(const std::vector<Command>& commands, const std::string* sources);
    void runCommand(const Command& command, const std::string* sources);
    void flushBatch();

    Options options;
    std::map<std::string, std::string> macros;
    std::map<std::string, Block> blocks;
    std::string firstTarget;
    std::vector<InferenceRule> rules;
    std::map<std::string, Stamp> made;
    std::set<std::string> making;
    // Sources of the batch rules waiting to run, per rule, in order.
    std::vector<std::pair<const InferenceRule*, std::string>> batch;
};

void Make::read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        fail("cannot open the makefile '" + file + "'");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }

    std::vector<Command>* commands = nullptr;  // of the block or rule being read
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        if (trim(line).empty())
            continue;
        if (line[0] == ' ' || line[0] == '\t') {
            if (!commands)
                fail("line " + std::to_string(i + 1) + ": a command outside a description block");
            Command c{trim(line), {}};
            for (size_t at = c.line.find("<<"); at != std::string::npos; at = c.line.find("<<", at + 2)) {
                std::string text;
                for (++i; i < lines.size() && lines[i].compare(0, 2, "<<") != 0; ++i)
                    text += lines[i] + "\n";
                if (i == lines.size())
                    fail("an inline file without its closing \"<<\"");
                c.inlineTexts.push_back(text);
            }
            commands->push_back(c);
            continue;
        }
        // Macro definitions and dependency lines go on after a backslash at the line end.
        while (!line.empty() && line.back() == '\\' && i + 1 < lines.size())
            line = trim(line.substr(0, line.size() - 1)) + " " + trim(lines[++i]);
        if (!line.empty() && line.back() == '\\')
            line.pop_back();
        // A line with a separating colon is a dependency line, whatever "="
        // its names hold; any other line with an "=" defines a macro.
        const size_t colon = separatingColon(line);
        const size_t equals = colon == std::string::npos ? outsideQuotes(line, '=') : std::string::npos;
        if (colon != std::string::npos) {
            readDependencyLine(line, colon, commands);
        } else if (equals != std::string::npos) {
            macros[trim(line.substr(0, equals))] = trim(line.substr(equals + 1));
            commands = nullptr;
        } else {
            fail("line " + std::to_string(i + 1) + ": not a macro, a description block or a command");
        }
    }
}

void Make::readDependencyLine(const std::string& line, size_t colon, std::vector<Command>*& commands) {
    const bool twoColons = colon + 1 < line.size() && line[colon + 1] == ':';
    const std::string left = trim(line.substr(0, colon));
    const std::string right = line.substr(colon + (twoColons ? 2 : 1));
    // ".from.to" alone on the left, nothing on the right: an inference rule.
    const size_t second = left.find('.', 1);
    if (left.size() > 2 && left[0] == '.' && second != std::string::npos && left.find_first_of(" \t/") ==
        std::string::npos && trim(right).empty()) {
        rules.push_back({left.substr(0, second), left.substr(second), twoColons, {}});
        commands = &rules.back().commands;
        return;
    }
    if (twoColons)
        fail("\"::\" only after an inference rule: " + line);
    const std::vector<std::string> targets = names(left);
    if (targets.empty())
        fail("a description block without a target: " + line);
    const std::vector<std::string> dependents = names(right);
    for (const std::string& t : targets) {
        Block& b = blocks[t];
        b.dependents.insert(b.dependents.end(), dependents.begin(), dependents.end());
    }
    if (firstTarget.empty())
        firstTarget = targets.front();
    commands = &blocks[targets.front()].commands;
}

std::vector<std::string> Make::names(const std::string& text) const {
    return toolchain::splitWords(expand(text, nullptr));
}

std::string Make::macroValue(const std::string& name, int depth) const {
    const char* environment = std::getenv(name.c_str());
    auto own = macros.find(name);
    // Values from the environment are taken as they are.
    if (environment && (options.environmentFirst || own == macros.end()))
        return environment;
    return own == macros.end() ? "" : expand(own->second, nullptr, depth + 1);
}

std::string Make::expand(const std::string& text, const std::string* sources, int depth) const {
    if (depth > 50)
        fail("a macro that expands into itself: " + text);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '$') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '$') {
            out += '$';
            ++i;
        } else if (i + 1 < text.size() && text[i + 1] == '<') {
            if (!sources)
                fail("$< outside the commands of an inference rule");
            out += *sources;
            ++i;
        } else if (i + 1 < text.size() && text[i + 1] == '(') {
            const size_t close = text.find(')', i);
            if (close == std::string::npos)
                fail("a macro without its \")\": " + text);
            out += macroValue(text.substr(i + 2, close - i - 2), depth);
            i = close;
        } else {
            fail("only $(NAME), $< and $$ are known: " + text);
        }
    }
    return out;
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
    for (const InferenceRule& r : rules) {
        if (to.empty() || r.to != to)
            continue;
        source = base + r.from;
        struct stat st;
        bool named = false;
        if (block)
            for (const std::string& d : block->dependents)
                named = named || d == source;
        if (named || blocks.count(source) || stat(source.c_str(), &st) == 0)
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
    auto found = blocks.find(target);
    const Block* block = found == blocks.end() ? nullptr : &found->second;
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
            runCommands(rule->commands, &quoted);
        } else {
            runCommands(block->commands, nullptr);
        }
        stamp.made = true;
    }
    made[target] = stamp;
    making.erase(target);
    return stamp;
}

void Make::runCommands(const std::vector<Command>& commands, const std::string* sources) {
    // What a batch rule owes must exist before any later command runs.
    flushBatch();
    for (const Command& c : commands)
        runCommand(c, sources);
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
            runCommand(c, &sources);
    }
}

// The inline files that exist now, kept where a signal handler may read
// them: a stop (SIGTERM, SIGINT, SIGHUP) removes them before make ends.
// Changed only with those signals blocked.
const int kMaxLiveFiles = 64;
char liveFiles[kMaxLiveFiles][PATH_MAX];
volatile sig_atomic_t liveCount = 0;

sigset_t stopSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&set, s);
    return set;
}

extern "C" void removeLiveFilesAndEnd(int signal) {
    for (sig_atomic_t i = 0; i < liveCount; ++i)
        unlink(liveFiles[i]);
    // Ends make by the same signal once the handler returns.
    std::signal(signal, SIG_DFL);
    raise(signal);
}

void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = removeLiveFilesAndEnd;
    action.sa_mask = stopSignals();
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaction(s, &action, nullptr);
}

// Removes the inline files of one command whatever way it ends.
struct InlineFiles {
    ~InlineFiles() {
        const sigset_t block = stopSignals();
        sigset_t old;
        sigprocmask(SIG_BLOCK, &block, &old);
        for (const std::string& f : names)
            std::remove(f.c_str());
        liveCount = 0;
        sigprocmask(SIG_SETMASK, &old, nullptr);
    }
    // Creates a file for an inline text in the temporary folder; false when it cannot.
    bool create(std::string& name, int& fd) {
        const char* folder = std::getenv("TMPDIR");
        name = std::string(folder && *folder ? folder : "/tmp") + "/nmXXXXXX";
        if (liveCount >= kMaxLiveFiles || name.size() >= PATH_MAX)
            return false;
        const sigset_t block = stopSignals();
        sigset_t old;
        sigprocmask(SIG_BLOCK, &block, &old);
        fd = mkstemp(&name[0]);
        if (fd >= 0) {
            std::strcpy(liveFiles[liveCount], name.c_str());
            liveCount = liveCount + 1;
            names.push_back(name);
        }
        sigprocmask(SIG_SETMASK, &old, nullptr);
        return fd >= 0;
    }
    std::vector<std::string> names;
};

void Make::runCommand(const Command& command, const std::string* sources) {
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
    const int code = toolchain::runStep("nmake", argv);
    if (code != 0)
        fail("'" + line + "' ended with exit code " + std::to_string(code));
}

void Make::buildDefault() {
    if (firstTarget.empty())
        fail("no target in the makefile");
    make(firstTarget);
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
    catchStopSignals();
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
    }
    return 0;
}
