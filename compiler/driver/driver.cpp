// What every job of the driver shares: the stop of the running job and the
// file names it derives.
#include "compiler/driver/driver.hpp"

#include <iostream>

bool QUVCompiler::stopProcess() {
    // The running stage ends at its next check, the running child at once.
    requestStop();
    if (childProcess.stop())
        return true;
    std::cerr << "ERROR! the running program could not be stopped" << std::endl;
    return false;
}

std::string QUVCompiler::stripExtension(const std::string& path) {
    const std::string::size_type dot = path.rfind('.');
    return dot == std::string::npos ? path : path.substr(0, dot);
}
