#include "ide/model/settings_file.hpp"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace ide {

std::string SettingsFilePath()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg && *xdg) {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home ? home : ".") + "/.config";
    }
    return base + "/QuvBench/QuvBench.ini";
}

void EnsureFolderOf(const std::string& file)
{
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    if (folder.empty())
        return;
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
}

std::string CutToUtf16Units(const std::string& utf8, size_t units)
{
    size_t used = 0;
    size_t i = 0;
    while (i < utf8.size()) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        size_t length = 1;
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        // Characters beyond the basic plane take a surrogate pair.
        const size_t need = length == 4 ? 2 : 1;
        if (used + need > units)
            break;
        used += need;
        i += length;
    }
    return utf8.substr(0, i < utf8.size() ? i : utf8.size());
}

} // namespace ide
