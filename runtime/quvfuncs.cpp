// The one object of quvfuncs.lib: the run-time support lives in quv.hpp, and
// compiling it here on its own keeps the header whole.
#include "quv.hpp"
