// libFuzzer harness: our nmake's reader over any bytes as a makefile, with
// every command expanded as make would before running it; nothing runs.
#include "makefile_script.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ReadMakefileScript(data, size);
    return 0;
}
