// libFuzzer harness: a settings file read and written through the one-key
// functions and through PrivateProfileFile, each step compared with the other
// way and with a plain model of the keys written (profile_script.hpp).
#include <cstdio>
#include <cstdlib>

#include "profile_script.hpp"
#include "script_folder.hpp"

namespace {
std::string folder;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    folder = makeScriptFolder("quv_fuzz_profile_");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string failure = RunProfileScript(data, size, folder);
    if (!failure.empty()) {
        std::fprintf(stderr, "fuzz_profile: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
