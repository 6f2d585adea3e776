// link.exe of our tool chain: links the objects and libraries of its command
// line (and of its "@" response files) with g++ and pthreads into the program
// that /out: names; libraries come after the objects.
//
// g++ runs in a process group of its own, which ends with it and with a stop
// of link.exe, so the linker it starts does not outlive us.
//
// Options without a meaning here are ignored; any other is refused.
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

}  // namespace

int main(int argc, char** argv) {
    // Within the grace make gives us, so that the linker is gone first.
    toolchain::endStepsOnStop(platform::kStopGrace / 4);
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

    std::vector<std::string> gxx = {QUV_GXX, "-pthread", "-o", toolchain::fileArgument(out)};
    gxx.insert(gxx.end(), objects.begin(), objects.end());
    gxx.insert(gxx.end(), libraries.begin(), libraries.end());
    return toolchain::runStep(kTool, gxx, true);
}
