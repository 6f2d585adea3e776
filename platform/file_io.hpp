// Whole-file reads (writes: safe_write.hpp).
#pragma once
#include <string>

namespace platform {

// Reads every byte of the file (NUL bytes included) without opening it for
// writing, so read-only files load. False with `error` set on failure.
bool ReadWholeFile(const std::string& path, std::string& data, std::string& error);

} // namespace platform
