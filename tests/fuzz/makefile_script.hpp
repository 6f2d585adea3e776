// Our nmake's reader over a makefile's text: the text is read into macros,
// blocks and rules, and every name and command line of it expanded as make
// would expand them before running anything.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Reads the makefile and expands what make would; the first error text of
// the reader or an expansion, or an empty text when there was none.
std::string ReadMakefileScript(const std::uint8_t* data, std::size_t size);
