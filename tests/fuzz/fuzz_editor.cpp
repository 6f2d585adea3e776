// libFuzzer harness over the editor model: the input is a script of keys and
// commands (plain_editor.hpp reads it), played on the editor model and on the
// plain editor; any difference aborts with what differed, and the sanitizers
// report anything lost, leaked or destroyed twice.
#include <cstdio>
#include <cstdlib>

#include "plain_editor.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string difference = quvpad::test::EditScript::RunFuzzed(data, size);
    if (!difference.empty()) {
        std::fprintf(stderr, "editor model and plain editor differ %s", difference.c_str());
        std::abort();
    }
    return 0;
}
