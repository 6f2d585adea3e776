// libFuzzer harness: the typesetting pass over any bytes, set up as a
// typesetting job sets it up.
#include <sstream>

#include "fresh_state.hpp"
#include "tests/support/own_session.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    silenceFrontEnd();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = sourceText(data, size);
    OwnJob driver("fuzz.e");
    TypesettingPass pass(driver);
    std::istringstream in(text);
    SourceParser source(in, "fuzz.e", driver);
    try {
        source.parser.typesetProgram(pass);
    } catch (const antlr::ANTLRException&) {
        // Typesetting stopped; its diagnostic is filed.
    }
    return 0;
}
