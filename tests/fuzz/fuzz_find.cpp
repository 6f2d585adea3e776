// libFuzzer harness: find and replace in one document with texts and regular
// expressions, checked against plain models (find_script.hpp).
#include <cstdio>
#include <cstdlib>

#include "find_script.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string failure = RunFindScript(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "fuzz_find: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
