// A script of reads and writes run on a settings file three ways: through the
// one-key functions, through PrivateProfileFile, and on a plain model (a map
// of the keys written, beside what the file gave before the first write).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The input up to its first NUL is the file; the rest picks the operations
// (without any, the keys the file names are read, written and read again).
// `folder` must exist; the script's files are written there. Returns an
// empty text when the three ways agreed at every step, else what differed.
std::string RunProfileScript(const std::uint8_t* data, std::size_t size, const std::string& folder);
