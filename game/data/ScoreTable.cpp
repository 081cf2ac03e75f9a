#include "game/data/ScoreTable.h"

#include <string>

#include "framework/players/PropertyAccess.h"
#include "game/data/TuningTable.h"

ScoreTable::ScoreTable()
{
    for (int n = 1; n <= 10; ++n)
        pointsCombo[n] = basicInt("POINTS_COMBO" + std::to_string(n));
    for (int k = 1; k <= 3; ++k)
        pointsPastry[k] = basicInt("POINTS_PASTRY" + std::to_string(k));
    for (int m = 3; m <= 7; ++m) {
        pointsMatch[m] = basicInt("POINTS_MATCH" + std::to_string(m));
        qualityMatch[m] = basicFloat("QUALITY_MATCH" + std::to_string(m));
    }
}

int getBonusMeterGain(int matchSize, int comboLevel, float factor)
{
    const TuningTable& t = tuning();
    int value = 0;
    if (comboLevel == 0) {
        if (matchSize <= 3)
            return 0;
        switch (matchSize) {
        case 4: value = t.BONUS_MATCH4; break;
        case 5: value = t.BONUS_MATCH5; break;
        case 6: value = t.BONUS_MATCH6; break;
        default: value = t.BONUS_MATCH7; break;
        }
    } else {
        static const int TuningTable::*const kCombo[] = {
            &TuningTable::BONUS_COMBO1, &TuningTable::BONUS_COMBO2, &TuningTable::BONUS_COMBO3,
            &TuningTable::BONUS_COMBO4, &TuningTable::BONUS_COMBO5, &TuningTable::BONUS_COMBO6,
            &TuningTable::BONUS_COMBO7, &TuningTable::BONUS_COMBO8, &TuningTable::BONUS_COMBO9};
        value = (comboLevel >= 1 && comboLevel <= 9) ? t.*kCombo[comboLevel - 1] : t.BONUS_COMBO10;
    }
    return static_cast<int>(static_cast<float>(value) * factor);
}
