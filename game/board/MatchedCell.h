#pragma once

#include <string>

// One tile of a removed run as the board hands it to the pastry station.
struct MatchedCell {
    std::string ingredient;
    int column = 0;
    int row = 0;
};
