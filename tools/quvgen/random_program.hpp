// Random valid programs for the differential check of the translation.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace quvgen {

struct RandomProgram {
    // File name and text of each source: the %Prog first, then %DProg
    // sources whose processes the %Prog starts, when the program is a project.
    std::vector<std::pair<std::string, std::string>> sources;
    // The exact output of the program, run with standard input at its end.
    std::string output;
    // The marks of the statements and equations that can be left out.
    std::vector<int> marks;
};

// The program of SEED without the marked pieces WITHOUT: the same text for
// the same seed everywhere. Empty when the output of the program without
// those pieces cannot be told (a variable read before it is set).
std::optional<RandomProgram> randomProgram(std::uint64_t seed, const std::set<int>& without);

// The program's main source.
std::string randomProgram(std::uint64_t seed);

}  // namespace quvgen
