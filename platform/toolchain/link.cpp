// link.exe of our tool chain: links the objects and libraries of its command
// line (and of its "@" response files) with g++ and pthreads into the program
// that /out: names; libraries come after the objects.
//
// g++ writes the program to a file beside it, which takes the program's name
// once the link has succeeded: a failed or stopped link leaves the program
// that was there. g++ runs in a process group of its own, which ends with it
// and with a stop of link.exe, so the linker it starts does not outlive us.
//
// Options without a meaning here are ignored; any other is refused.
#include <dirent.h>
#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "platform/process_runner.hpp"
#include "platform/toolchain/tool_arguments.hpp"
#include "platform/toolchain/tool_steps.hpp"

namespace {

const char kTool[] = "link.exe";

int refuse(const std::string& message) {
    std::cerr << kTool << ": " << message << std::endl;
    return 2;
}

bool isIgnored(const std::string& word) {
    // A console program without incremental linking is all g++ makes.
    for (const char* option : {"nologo", "subsystem:console", "incremental:no"})
        if (toolchain::sameLetters(word.substr(1), option))
            return true;
    return word.size() > 9 && toolchain::sameLetters(word.substr(1, 8), "machine:");
}

// The file g++ writes the program to, beside the program: hidden, without the
// program's extension at its end, and named after this link's process, so a
// link killed without a word leaves nothing that can be taken for the
// program, and a later link can tell that leftover's link is gone.
const char kLinkTag[] = ".link-";
const char kShortPrefix[] = ".quv-link-";  // where the program's name would make the name too long
char temporary[PATH_MAX];

extern "C" void removeTemporary(bool) {
    unlink(temporary);
}

std::string folderOf(const std::string& file) {
    const size_t slash = file.rfind('/');
    return slash == std::string::npos ? "" : file.substr(0, slash + 1);
}

std::string temporaryFor(const std::string& program) {
    const std::string folder = folderOf(program);
    const std::string name = "." + program.substr(folder.size()) + kLinkTag;
    const std::string id = std::to_string(getpid());
    return folder + (name.size() + id.size() <= NAME_MAX ? name : kShortPrefix) + id;
}

// Removes what links of `program` that are gone left in its folder: a
// leftover whose link's process no longer runs.
void removeLeftovers(const std::string& program) {
    const std::string folder = folderOf(program);
    const std::string name = "." + program.substr(folder.size()) + kLinkTag;
    DIR* entries = opendir(folder.empty() ? "." : folder.c_str());
    if (!entries)
        return;
    while (const dirent* entry = readdir(entries)) {
        const std::string file = entry->d_name;
        size_t digits = 0;
        for (const std::string& start : {name, std::string(kShortPrefix)})
            if (file.size() > start.size() && file.compare(0, start.size(), start) == 0)
                digits = start.size();
        if (digits == 0 || file.find_first_not_of("0123456789", digits) != std::string::npos ||
            file.size() - digits > 9)
            continue;
        const pid_t owner = static_cast<pid_t>(std::stol(file.substr(digits)));
        if (owner != getpid() && kill(owner, 0) != 0 && errno == ESRCH)
            unlink((folder + file).c_str());
    }
    closedir(entries);
}

}  // namespace

int main(int argc, char** argv) {
    // Within the grace make gives us, so that the linker is gone first.
    toolchain::endStepsOnStop(platform::kStopGrace / 4, {nullptr, removeTemporary});
    std::vector<std::string> words;
    std::string error;
    if (!toolchain::expandResponseFiles(std::vector<std::string>(argv + 1, argv + argc), words, error))
        return refuse(error);

    std::string out;
    std::vector<std::string> objects;
    std::vector<std::string> libraries;
    for (const std::string& w : words) {
        const bool option = w.size() > 1 && (w[0] == '-' || w[0] == '/');
        // Objects and libraries first: an absolute name starts with '/' too,
        // and a name may start with "-out:" or "/machine:".
        if (toolchain::endsWithLetters(w, ".obj"))
            objects.push_back(toolchain::fileArgument(w));
        else if (toolchain::endsWithLetters(w, ".lib"))
            libraries.push_back(toolchain::fileArgument(w));
        else if (option && w.size() > 5 && toolchain::sameLetters(w.substr(1, 4), "out:"))
            out = w.substr(5);
        else if (option && isIgnored(w))
            continue;
        else
            return refuse(option ? "unknown option '" + w + "'" : "not an object or library: '" + w + "'");
    }
    if (objects.empty())
        return refuse("no object file");
    if (out.empty())
        out = objects.front().substr(0, objects.front().rfind('.')) + ".exe";

    const std::string linked = temporaryFor(out);
    if (linked.size() >= sizeof temporary)
        return refuse("the program's name is too long: '" + out + "'");
    removeLeftovers(out);
    {
        const toolchain::StopsHeld held;
        std::strcpy(temporary, linked.c_str());
    }
    std::vector<std::string> gxx = {QUV_GXX, "-pthread", "-o", toolchain::fileArgument(linked)};
    gxx.insert(gxx.end(), objects.begin(), objects.end());
    gxx.insert(gxx.end(), libraries.begin(), libraries.end());
    const int status = toolchain::runStep(kTool, gxx, true);
    // A stop from here on finds the program in place, or the old one and no
    // temporary file.
    toolchain::finishWithoutStops();
    if (status != 0) {
        removeTemporary(false);
        return status;
    }
    if (std::rename(linked.c_str(), out.c_str()) != 0) {
        const int error = errno;
        removeTemporary(false);
        return refuse("cannot put the program in place as '" + out + "': " + std::strerror(error));
    }
    return 0;
}
