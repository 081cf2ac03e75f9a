#pragma once

#include <string>

#include "game/board/CellSprite.h"

// A bonus tile: never part of a run, activated by the player.
// TODO(bonuses): the thirteen bonus kinds and their activations arrive with the
// bonus issue; until then every bonus is this plain class and activating it
// removes it like a popped tile.
class BonusSprite : public CellSprite {
    TT_CLASS_RECORD(BonusSprite)
public:
    BonusSprite(int column, int row, const std::string& name) : CellSprite(column, row, name, false, 1) {}
    explicit BonusSprite(AbstractProperty* configuration) : CellSprite(configuration) {}

    bool isBonus() const override { return true; }
    // One animated highlight drawn over the bonus, without the back.
    void setHighlighted() override;
    // Fires the bonus; `callback` runs once for every cell it removes.
    virtual void activate(const GuiMethod& callback, BaseObject* keepAlive, int argument);
    void onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* parent) override;

    // The bonus that a content name stands for, as the content choice and a
    // restored board build it.
    static RefPointer<BonusSprite> create(int column, int row, const std::string& name);
    // The class names a saved board may name for a bonus tile.
    static bool isBonusClassName(const std::string& className);
};
