// A memory that refuses large requests, for the window tests of what the IDE
// does when a command cannot get its memory: while a bound is set, every
// single request of operator new above it throws std::bad_alloc, as it does
// on a machine without that much memory left. The test binary that links
// this file has its operator new and delete replaced.
#pragma once
#include <cstddef>

namespace ide::test {

// Requests above `bytes` fail from now on; 0 lets every request through again.
void RefuseRequestsAbove(std::size_t bytes);
// The requests refused since the last bound was set.
int RefusedRequests();

} // namespace ide::test
