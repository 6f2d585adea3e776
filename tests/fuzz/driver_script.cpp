#include "driver_script.hpp"

#include <filesystem>
#include <fstream>
#include <vector>

#include "compiler/driver/driver.hpp"
#include "fresh_state.hpp"
#include "tests/support/own_session.hpp"

namespace fs = std::filesystem;

namespace {

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::vector<std::string> filesOf(const CQuvProject& project)
{
    std::vector<std::string> files;
    for (int i = 0; i < project.GetCount(); ++i)
        files.push_back(project.GetAt(i));
    return files;
}

// A name that stays in the folder: no other folder, nothing above it.
bool inside(const std::string& folder, const std::string& path)
{
    if (path.compare(0, folder.size() + 1, folder + "/") != 0)
        return false;
    const std::string rest = path.substr(folder.size() + 1);
    return !rest.empty() && rest.find('/') == std::string::npos && rest != "." && rest != "..";
}

} // namespace

std::string RunDriverScript(const std::uint8_t* data, std::size_t size, const std::string& folder)
{
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored))
        fs::remove_all(entry.path(), ignored);
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t nul = input.find('\0');
    const std::string source = folder + "/fuzz.e", projectFile = folder + "/fuzz.prj";
    writeText(source, input.substr(0, nul));
    writeText(projectFile, nul == std::string::npos
                               ? "[QuvBench]\r\nProject Name=fuzz\r\nProject File Num=1\r\nFile 1=fuzz.e\r\n"
                               : input.substr(nul + 1));

    CQuvProject project;
    if (!project.Load(projectFile))
        return std::string();
    // What it saves, it loads again.
    CQuvProject copy;
    copy.SetName(project.GetName());
    copy.SetPath(folder + "/copy.prj");
    for (const std::string& file : filesOf(project))
        copy.Add(file);
    CQuvProject again;
    if (copy.Save() && (!again.Load(copy.GetPath()) || again.GetName() != project.GetName() ||
                        filesOf(again) != filesOf(project)))
        return "the project " + project.GetName() + " of " + std::to_string(project.GetCount()) +
               " files did not read back as it was saved";

    std::vector<std::string> files;
    for (const std::string& file : project.ResolvedFiles())
        if (inside(folder, file))
            files.push_back(file);
    WithOwnSession<QUVCompiler> driver;
    driver.generateMakefile(files, projectFile);
    return std::string();
}
