#include "makefile_script.hpp"

#include "platform/toolchain/makefile_reader.hpp"

std::string ReadMakefileScript(const std::uint8_t* data, std::size_t size)
{
    toolchain::Makefile makefile;
    makefile.environmentFirst = size > 0 && data[0] == 'E';
    try {
        makefile.read(std::string(reinterpret_cast<const char*>(data), size));
        // What make expands before it runs a command: the line, and the text
        // of each inline file, with $< the sources of a rule.
        const std::string sources = "a.cpp \"b c.cpp\"";
        for (const auto& [target, block] : makefile.blocks)
            for (const toolchain::MakeCommand& command : block.commands) {
                makefile.expand(command.line, nullptr);
                for (const std::string& text : command.inlineTexts)
                    makefile.expand(text, nullptr);
            }
        for (const toolchain::InferenceRule& rule : makefile.rules)
            for (const toolchain::MakeCommand& command : rule.commands) {
                makefile.expand(command.line, &sources);
                for (const std::string& text : command.inlineTexts)
                    makefile.expand(text, &sources);
            }
    } catch (const toolchain::MakefileError& error) {
        return error.what();
    }
    return std::string();
}
