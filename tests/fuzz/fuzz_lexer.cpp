// libFuzzer harness: the recovering lexer over any bytes, once as the parser
// reads a source and once as the typesetting pass does (comments and line ends
// as tokens).
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
    for (bool typesetting : {false, true}) {
        OwnJob driver("fuzz.e");
        driver.typesetting = typesetting;
        std::istringstream in(text);
        QUVSuperLexer lexer(in, driver);
        lexer.setFilename("fuzz.e");
        try {
            while (lexer.nextToken()->getType() != antlr::Token::EOF_TYPE) {
            }
        } catch (const antlr::ANTLRException&) {
            // The token stream gave up; its diagnostic is filed.
        }
    }
    return 0;
}
