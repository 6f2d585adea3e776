#include "compiler/core/base.hpp"

#include "compiler/core/diagnostics.hpp"

int base::tabnum = 0;

std::string base::indent(int n) {
    return n > 0 ? std::string(n, '\t') : std::string();
}

std::string base::tab() {
    if (tabnum < 0)
        throwInternalFailure("tabnum <0", "base::tab()");
    return indent(tabnum);
}
