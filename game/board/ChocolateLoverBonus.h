#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "game/board/BonusSprite.h"

// Turns the whole board into the level's chocolate ingredients, laid out so
// that no run forms. Fires once, and only on a full board at rest.
class ChocolateLoverBonus : public BonusSprite {
    TT_CLASS_RECORD(ChocolateLoverBonus)
public:
    using BonusSprite::BonusSprite;

    void highlightTargets() override;
    // Replaces cells rather than removing them: no done callback runs. With
    // fewer than two chocolates it only leaves, reporting its own cell.
    void onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* parent) override;
    bool hasFired() const { return fired; }

    // The level's chocolate ingredients in list order, each name once.
    static std::vector<std::string> chocolateNames();
    // The new board, row by row: a checkerboard of two names, or draws from
    // `names` that never complete three in a row or a column.
    static std::map<std::pair<int, int>, std::string> chooseContents(const std::vector<std::string>& names);

private:
    static int clearMarksCallback(void* context, BaseObject* step);
    bool fired = false;
};
