// quvreg: has a control library record itself in the user's registry file
// (its DllRegisterServer), as an installer does, so that the IDE can create
// its controls by class id.
//
//     quvreg LIBRARY
//
// Exit status: 0 when the library registered itself, 1 when it could not be
// loaded, has no entry point or failed, 2 for bad usage.
#include <cstdint>
#include <iostream>

#include "platform/shared_library.hpp"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: quvreg LIBRARY\n";
        return 2;
    }
    platform::SharedLibrary library;
    std::string error;
    if (!library.Open(argv[1], error)) {
        std::cerr << "quvreg: " << error << '\n';
        return 1;
    }
    typedef int32_t (*RegisterServer)();
    const auto entry = reinterpret_cast<RegisterServer>(library.Symbol("DllRegisterServer"));
    if (!entry) {
        std::cerr << "quvreg: " << argv[1] << " has no DllRegisterServer\n";
        return 1;
    }
    const int32_t result = entry();
    // The library's own static objects end with the process, not before.
    library.Leak();
    if (result != 0) {
        std::cerr << "quvreg: DllRegisterServer of " << argv[1] << " failed with 0x" << std::hex
                  << static_cast<uint32_t>(result) << '\n';
        return 1;
    }
    return 0;
}
