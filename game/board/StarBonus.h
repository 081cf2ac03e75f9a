#pragma once

#include "game/board/BonusSprite.h"

// One star to the level's star goal.
class StarBonus : public BonusSprite {
    TT_CLASS_RECORD(StarBonus)
public:
    using BonusSprite::BonusSprite;
    void onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* parent) override;

protected:
    // Sends `count` stars, `delayStepMs` apart, then ends the own cell.
    void launchStars(int count, int delayStepMs, const GuiMethod& callback, BaseObject* keepAlive);
};

// Five stars to the level's star goal, one after the other.
class FiveStarBonus : public StarBonus {
    TT_CLASS_RECORD(FiveStarBonus)
public:
    using StarBonus::StarBonus;
    void onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* parent) override;
};
