// The makefile dialect our nmake runs, read into macros, description blocks
// and inference rules: the part of nmake that reads a makefile and expands
// its macros, kept apart from the part that makes targets and runs commands,
// so that it can be tested and fuzzed on its own.
#pragma once
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace toolchain {

// Why a makefile cannot be read or a macro not expanded; nmake shows the text
// and ends with status 2.
struct MakefileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A command line with the texts of its inline files, in the order of their "<<".
struct MakeCommand {
    std::string line;
    std::vector<std::string> inlineTexts;
};

struct MakeBlock {
    std::vector<std::string> dependents;
    std::vector<MakeCommand> commands;
};

struct InferenceRule {
    std::string from;  // ".cpp"
    std::string to;    // ".obj"
    bool batch;
    std::vector<MakeCommand> commands;
};

// The most bytes one expansion may grow to. Macros that name each other
// twice on each level double at every level: without a bound a short
// makefile would fill the memory before the depth limit stops it.
inline constexpr size_t kMaxExpansionBytes = 1 << 20;

struct Makefile {
    // Environment variables above the makefile's macros (option -E).
    bool environmentFirst = false;
    std::map<std::string, std::string> macros;
    std::map<std::string, MakeBlock> blocks;
    std::string firstTarget;
    std::vector<InferenceRule> rules;

    // Reads the lines of a makefile's text (each ended by LF, a CR before it
    // dropped) into the macros, blocks and rules; throws MakefileError.
    void read(const std::string& text);
    // `text` with $(NAME) replaced by the macro's value, $$ by "$" and $< by `sources`
    // (an error where there is none); throws MakefileError.
    std::string expand(const std::string& text, const std::string* sources, int depth = 0) const;

private:
    std::string macroValue(const std::string& name, int depth) const;
    void readDependencyLine(const std::string& line, size_t colon, std::vector<MakeCommand>*& commands);
    std::vector<std::string> names(const std::string& text) const;
};

}  // namespace toolchain
