// Whole-file reads (writes: safe_write.hpp).
#pragma once
#include <string>

namespace platform {

// Reads every byte of the file (NUL bytes included) without opening it for
// writing, so read-only files load. False with `error` set on failure.
bool ReadWholeFile(const std::string& path, std::string& data, std::string& error);

// Why the file cannot be opened for reading: the system's error number
// (ENOENT when it is missing, EISDIR for a folder), 0 when it can.
int ReadOpenError(const std::string& path);

} // namespace platform
