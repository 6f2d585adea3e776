// The files a job reads and the outputs that would replace them: a source
// whose typeset copy or diagnostics file is another source of the project,
// or an output name that is a link to a source or to the project file. Such
// an output is never written, as a compiler refuses to write its output over
// its input: the input is the user's work, the output only made from it.
#include "compiler/driver/driver.hpp"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace {

std::string normalName(const std::string& name) {
    return std::filesystem::path(name).lexically_normal().string();
}

}  // namespace

void QUVCompiler::noteInputs(const std::vector<std::string>& sources, const std::string& project) {
    inputs.clear();
    auto note = [this](const std::string& name, bool isProject) {
        JobInput input{name, normalName(name), isProject, false, {}};
        input.exists = platform::IdentifyFile(name, input.identity);
        inputs.push_back(input);
    };
    for (const std::string& source : sources)
        note(source, false);
    if (!project.empty())
        note(project, true);
}

bool QUVCompiler::outputReplacesInput(const std::vector<std::string>& outputs, const std::string& source,
                                      const char* outputKind, const std::string& refused) {
    // The source is an input whoever compiles it, a job of the project or not.
    const std::string sourceName = normalName(source);
    std::optional<JobInput> own;
    if (std::none_of(inputs.begin(), inputs.end(), [&](const JobInput& in) { return in.normalName == sourceName; })) {
        own = JobInput{source, sourceName, false, false, {}};
        own->exists = platform::IdentifyFile(source, own->identity);
    }
    bool replaces = false;
    for (const std::string& output : outputs) {
        platform::FileIdentity identity;
        const bool exists = platform::IdentifyFile(output, identity);
        const std::string outputName = normalName(output);
        // A source named but not made yet would be made by this output.
        auto replaced = [&](const JobInput& input) {
            return input.normalName == outputName || (exists && input.exists && input.identity == identity);
        };
        const auto hit = std::find_if(inputs.begin(), inputs.end(), replaced);
        const JobInput* input = hit != inputs.end() ? &*hit : own && replaced(*own) ? &*own : nullptr;
        if (!input)
            continue;
        QUVException(*this, QUVException::OutputFileError, 0, 0, "", output,
                     std::string("the ") + outputKind + " " + output + " would replace the " +
                         (input->isProject ? "project file " : "source file ") + input->name + ": " + refused);
        replaces = true;
    }
    return replaces;
}
