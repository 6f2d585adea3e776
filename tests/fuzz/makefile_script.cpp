#include "makefile_script.hpp"

#include "platform/toolchain/makefile_reader.hpp"

std::string ReadMakefileScript(const std::uint8_t* data, std::size_t size)
{
    toolchain::Makefile makefile;
    makefile.environmentFirst = size > 0 && data[0] == 'E';
    try {
        makefile.read(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const toolchain::MakefileError& error) {
        return error.what();
    }
    // What make expands before it runs a command: the line, and the text of
    // each inline file, with $< the sources of a rule. A command that cannot
    // be expanded ends make; here the others are expanded all the same.
    std::string first;
    const auto expand = [&makefile, &first](const toolchain::MakeCommand& command, const std::string* sources) {
        try {
            makefile.expand(command.line, sources);
            for (const std::string& text : command.inlineTexts)
                makefile.expand(text, sources);
        } catch (const toolchain::MakefileError& error) {
            if (first.empty())
                first = error.what();
        }
    };
    const std::string sources = "a.cpp \"b c.cpp\"";
    for (const auto& [target, block] : makefile.blocks)
        for (const toolchain::MakeCommand& command : block.commands)
            expand(command, nullptr);
    for (const toolchain::InferenceRule& rule : makefile.rules)
        for (const toolchain::MakeCommand& command : rule.commands)
            expand(command, &sources);
    return first;
}
