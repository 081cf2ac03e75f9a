#pragma once

#include <array>
#include <cstdint>

// Points and quality per run length, combo level and pastry grade, copied
// once from the global properties so that the board reads them by index.
class ScoreTable {
public:
    ScoreTable();

    std::array<int32_t, 11> pointsCombo{};
    std::array<int32_t, 8> pointsMatch{};
    std::array<float, 8> qualityMatch{};
    std::array<int32_t, 4> pointsPastry{};
};

// Bonus-meter points for one removed run: by run size outside a combo, by
// combo level inside one; times `factor`, truncated toward zero.
int getBonusMeterGain(int matchSize, int comboLevel, float factor);
