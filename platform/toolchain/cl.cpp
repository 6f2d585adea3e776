// cl.exe of our tool chain: compiles each C++ source of its command line (and
// of its "@" response files) with g++ into an ".obj" beside the source.
//
//     cl.exe @response      with -Idir /Idir /Dname /D name /c /nologo /MT /W3 /GX and sources
//
// Options without a meaning here are ignored; any other is refused.
#include <iostream>

#include "platform/toolchain/tool_arguments.hpp"

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

}  // namespace

int main(int argc, char** argv) {
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

    int status = 0;
    for (const std::string& source : sources) {
        std::cout << source << std::endl;
        const std::string object = source.substr(0, source.rfind('.')) + ".obj";
        std::vector<std::string> gxx = {QUV_GXX, "-std=gnu++17", "-pthread", "-c", source, "-o", object};
        gxx.insert(gxx.end(), flags.begin(), flags.end());
        const int code = toolchain::runStep(kTool, gxx);
        if (code != 0)
            status = code;
    }
    return status;
}
