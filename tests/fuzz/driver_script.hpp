// The compile driver on a source and a project file, as `quvc makefile`
// runs it but without make: the project file is loaded, saved and loaded
// again, and the project's files are compiled, checked as a whole and given
// a makefile.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The input up to its first NUL is the source "fuzz.e", the rest the project
// file "fuzz.prj" (without a NUL, a project of that one source). `folder`
// must exist and belong to the script: it is emptied first, and only files
// inside it are compiled. Returns an empty text when the project read back
// as it was saved, else what differed.
std::string RunDriverScript(const std::uint8_t* data, std::size_t size, const std::string& folder);
