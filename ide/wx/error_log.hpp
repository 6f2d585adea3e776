// quvbench's standard error goes to a log in its settings folder: started
// from a terminal, the toolkit's warnings and what the compiler writes to
// standard error (its trees, its GBK texts) do not land on the user's screen.
#pragma once
#include <string>

namespace ide {

// The log: quvbench.log beside QuvBench.ini.
std::string StandardErrorLogPath();

// Points descriptor 2 (and with it the stream stderr) at `path`, created or
// emptied; the result is a descriptor of what 2 was before, for a line the
// user must see. When the log cannot be opened, nothing changes and the
// result is -1.
int SendStandardErrorTo(const std::string& path);

} // namespace ide
