#include "compiler/core/base.hpp"

std::string base::indent(int n) {
    return n > 0 ? std::string(n, '\t') : std::string();
}
