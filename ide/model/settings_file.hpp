// Where the IDE keeps QuvBench.ini and its per-user registry file, and the
// small text helpers the settings share.
#pragma once
#include <string>

namespace ide {

// "$XDG_CONFIG_HOME/QuvBench/QuvBench.ini", or "~/.config/QuvBench/QuvBench.ini"
// when XDG_CONFIG_HOME is unset or empty.
std::string SettingsFilePath();

// Creates the folder that holds `file` (and its parents) when it is missing.
void EnsureFolderOf(const std::string& file);

// The first `units` UTF-16 code units of a UTF-8 text, never splitting a
// character: the fixed buffers of the settings count in those units.
std::string CutToUtf16Units(const std::string& utf8, size_t units);

} // namespace ide
