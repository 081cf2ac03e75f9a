#pragma once

#include "game/board/BonusSprite.h"

// Sucks every other tile into itself, then blows a freshly chosen board out
// of its own cell. The board is busy from the activation to the blow.
class TotalRefreshBonus : public BonusSprite {
    TT_CLASS_RECORD(TotalRefreshBonus)
public:
    using BonusSprite::BonusSprite;

    void highlightTargets() override;
    void onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* parent) override;
    // Fills every board cell but its own afresh, each tile blown out of the bonus.
    void blow();

private:
    static int blowCallback(void* context, BaseObject* step);
};
