// Random valid programs for the differential check of the translation.
#pragma once

#include <cstdint>
#include <string>

namespace quvgen {

// The program of SEED: the same text for the same seed everywhere. PENDING
// lets it write, now and then, the constructs whose translation is known to
// fail, so that the check finds them again once they are mended.
std::string randomProgram(std::uint64_t seed, bool pending);

}  // namespace quvgen
