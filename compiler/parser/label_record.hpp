// A label as the label checks keep it: its text and where it was written.
#pragma once
#include <string>

struct LabelRecord {
    // A record that was never filled reads as no label at no place.
    std::string name;
    int line = -1;
    int column = -1;
};
