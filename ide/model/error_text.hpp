// Why a file could not be read or written, in the IDE's own Chinese words.
#pragma once
#include <string>

namespace ide {

// The common error numbers (a missing file or folder, no permission, a
// read-only file system, a full disk, ...) in our own words; any other in the
// system's text. UTF-8.
std::string ErrorText(int error);

// The reason line of a failed save: the error in our words, and when the
// write lost the file's old contents, that too. `fallback` (the system's own
// account) when there is no error number.
std::string SaveFailureReason(int error, bool oldContentsLost, const std::string& fallback);

// Why the file at `path` cannot be read (it is missing, not ours to read, a
// folder), in our words; empty when it can be read.
std::string ReadFailureReason(const std::string& path);

} // namespace ide
