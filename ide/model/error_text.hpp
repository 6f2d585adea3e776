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

// A whole-file read that stopped at its bound (its message ends in
// platform::kTooLargeReason), in our words; empty for any other message.
std::string TooLargeReason(const std::string& readError);

// What to tell of a control of class `classId` that could not be created
// (`error` says why): when the registry file at `registryPath` cannot be read
// or is no registry file, that, naming the file; when the class is not
// registered, `error` and where it is looked for; each with how quvreg
// registers the control again. Any other `error` as it stands.
std::string ControlCreationFailure(const std::string& registryPath, const std::string& classId,
                                   const std::string& error);

} // namespace ide
