// A folder of its own for a harness or test that writes files: in memory where
// the system offers it, so a disk busy with other work cannot push an input
// past the fuzzer's time limit.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <string>

inline std::string makeScriptFolder(const char* prefix)
{
    const std::filesystem::path memory = "/dev/shm";
    const std::filesystem::path parent =
        std::filesystem::is_directory(memory) ? memory : std::filesystem::temp_directory_path();
    std::string folder = (parent / (std::string(prefix) + "XXXXXX")).string();
    if (!mkdtemp(folder.data()))
        std::abort();
    return folder;
}
