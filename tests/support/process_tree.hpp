// What a process started, for tests that end it suddenly: the processes below
// it are taken down before the end, and afterwards the test waits for each
// to go, as the parent they are handed to (a subreaper).
#pragma once
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

// A process as it was seen: its id and when it started, so that an id taken
// again by a later process is not mistaken for it.
struct SeenProcess {
    pid_t pid;
    unsigned long long started;
};

// Makes this process the subreaper of what its descendants leave, so that
// those come to it (to be reaped, and ended after a failure) rather than to init.
void adoptOrphans();

// Every process below `root` now (children, their children, ...).
std::vector<SeenProcess> descendantsOf(pid_t root);

// Waits, reaping what has come to this process, until none of `seen` runs (a
// zombie no longer runs); true when none is left. Gives up after `patience`
// and kills what is left, so that a failed test leaves nothing running.
bool allEnd(const std::vector<SeenProcess>& seen, std::chrono::milliseconds patience = std::chrono::minutes(1));

// Those of `seen` whose command name (as /proc shows it) is one of `names`.
std::vector<SeenProcess> named(const std::vector<SeenProcess>& seen, const std::vector<std::string>& names);
