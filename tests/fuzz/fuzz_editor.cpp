// libFuzzer harness over the editor model: the input is a script of keys and
// commands (plain_editor.hpp reads it), played on the editor model and on the
// plain editor; any difference aborts with what differed, and the sanitizers
// report anything lost, leaked or destroyed twice.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "plain_editor.hpp"

// Every action is compared over every line, so a script is kept to a few
// hundred actions and to as many line visits as a few dozen actions on the
// largest texts cost; what follows is not played.
const size_t LongestScript = 768;
const size_t MostWork = 100000;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size = std::min(size, LongestScript);
    quvpad::test::EditScript script(MostWork);
    const std::string difference = script.Run(data, size);
    if (!difference.empty()) {
        std::fprintf(stderr, "editor model and plain editor differ %s", difference.c_str());
        std::abort();
    }
    return 0;
}
