// quvbench's standard error goes to a log in its settings folder: started
// from a terminal, the toolkit's warnings and what the compiler writes to
// standard error (its trees, its GBK texts) do not land on the user's screen.
#pragma once
#include <string>

namespace ide {

// The log: quvbench.log beside QuvBench.ini.
std::string StandardErrorLogPath();

// Points descriptor 2 (and with it the stream stderr) at the end of `path`,
// created when missing: what earlier runs wrote stays, the only trace a crash
// leaves. A log past 1 MiB is first moved to "PATH.1" (replacing the one
// before), so the two stay bounded. The result is a descriptor of what 2 was
// before, for a line the user must see. When the log cannot be opened,
// nothing changes and the result is -1.
int SendStandardErrorTo(const std::string& path);

} // namespace ide
