#include "compiler/driver/driver.hpp"

std::string QUVCompiler::stripExtension(const std::string& path) {
    const std::string::size_type dot = path.rfind('.');
    return dot == std::string::npos ? path : path.substr(0, dot);
}
