// libFuzzer harness: the compile driver on a mutated source and project file
// in a folder of its own, as `quvc makefile` runs them, without make
// (driver_script.hpp).
#include <cstdio>
#include <cstdlib>

#include "driver_script.hpp"
#include "fresh_state.hpp"
#include "script_folder.hpp"

namespace {
std::string folder;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    silenceFrontEnd();
    folder = makeScriptFolder("quv_fuzz_driver_");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string failure = RunDriverScript(data, size, folder);
    if (!failure.empty()) {
        std::fprintf(stderr, "fuzz_driver: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
