// Whole-file reads and safe whole-file replacement.
#pragma once
#include <string>

namespace platform {

// Reads every byte of the file (NUL bytes included) without opening it for
// writing, so read-only files load. False with `error` set on failure.
bool ReadWholeFile(const std::string& path, std::string& data, std::string& error);

// Replaces the file's contents with `data`: the bytes go to a temporary file in
// the same folder, which then takes the file's place by rename, so a failed
// write leaves the old file untouched. An existing file keeps its permission
// bits (and its owner where allowed); a symbolic link keeps pointing at the
// file it named, which is the one replaced.
bool ReplaceFile(const std::string& path, const std::string& data, std::string& error);

} // namespace platform
