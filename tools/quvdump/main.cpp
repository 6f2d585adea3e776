// quvdump: prints what the compiler's stages make of a ".e" file, for tests
// and for people working on the compiler.
//
//     quvdump VERB FILE

#include <cstring>
#include <exception>
#include <iostream>

#include "tools/common/terminal_text.hpp"
#include "tools/quvdump/dump_common.hpp"
#include "tools/quvdump/verbs.hpp"

namespace {

struct Verb {
    const char* name;
    int (*run)(const std::string& path);
};

const Verb kVerbs[] = {
    {"tokens", quvdump::dumpTokens},
    {"tree", quvdump::dumpTree},
    {"parse", quvdump::dumpParseOnly},
    {"expr", quvdump::dumpExpression},
    {"typeset", quvdump::dumpTypeset},
    {"translate", quvdump::dumpTranslate},
};

int usage()
{
    std::cerr << "usage: quvdump VERB FILE\nverbs:";
    for (const Verb& verb : kVerbs)
        std::cerr << ' ' << verb.name;
    std::cerr << '\n';
    return quvdump::kExitUsage;
}

} // namespace

int main(int argc, char** argv)
{
    // Every verb writes through the C++ streams alone; unsynchronised, they
    // buffer instead of passing each piece to stdio. This replaces the
    // streams' buffers, so it comes before standard error gets its converter.
    std::ios_base::sync_with_stdio(false);
    terminal::convertStandardError();
    if (argc != 3)
        return usage();
    for (const Verb& verb : kVerbs) {
        if (std::strcmp(argv[1], verb.name) != 0)
            continue;
        // A source that fails while it is read, or memory that runs out,
        // ends the verb with a line that says so rather than with an abort.
        try {
            return verb.run(argv[2]);
        } catch (const std::exception& ex) {
            std::cerr << "quvdump: " << verb.name << " stopped: " << ex.what() << '\n';
            return quvdump::kExitStopped;
        }
    }
    return usage();
}
