// What painting one line of the editor means, without drawing: the window layer
// fills each cell's background and draws its bytes in its text colour.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace quvpad {

// One character: its left edge and width in client pixels, its colours
// (COLORREF) and its bytes (two for a double-byte character).
struct Cell {
    int x = 0;
    int width = 0;
    uint32_t textColor = 0;
    uint32_t backColor = 0;
    std::string bytes;
};

struct LineLayout {
    int line = 0;
    int top = 0;             // client y of the line
    bool caretLine = false;  // the whole line rectangle is filled with lineBackColor first
    uint32_t lineBackColor = 0;
    std::vector<Cell> cells;
};

} // namespace quvpad
