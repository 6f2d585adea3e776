#ifndef QUV_TOOLS_QUVDUMP_DUMP_COMMON_HPP
#define QUV_TOOLS_QUVDUMP_DUMP_COMMON_HPP

#include <ostream>
#include <sstream>
#include <string>

class DiagnosticSink;

namespace quvdump {

// Exit statuses shared by every verb.
constexpr int kExitOk = 0;
// A verb that could not finish (its source failed while being read, memory ran out).
constexpr int kExitStopped = 1;
// Bad usage, or a source that cannot be opened.
constexpr int kExitUsage = 2;

// Appends text to `out` with backslash escapes: "\\", "\t", "\r", "\n", and
// "\xHH" (upper-case hex) for every other byte outside 32..126, so one item
// fits on one line.
void appendEscapedText(std::string& out, const std::string& text);

// One line per diagnostic of the job, in list order:
// "diag KIND NUMBER LINE:COLUMN RULE" (RULE is "-" when empty).
void printDiagnostics(std::ostream& out, const DiagnosticSink& job);

// Reads a source whole into `in`; kExitOk, or the verb's exit status after a
// line on stderr: kExitUsage with "quvdump: cannot open PATH: WHY" (also for
// a folder), kExitStopped when its read fails or passes the bound of every
// whole-file read.
int openSource(const std::string& path, std::istringstream& in);

} // namespace quvdump

#endif
