// Random valid programs for the differential check of the translation.
#pragma once

#include <cstdint>
#include <string>

namespace quvgen {

// The program of SEED: the same text for the same seed everywhere.
std::string randomProgram(std::uint64_t seed);

}  // namespace quvgen
