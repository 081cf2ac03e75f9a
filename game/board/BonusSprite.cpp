#include "game/board/BonusSprite.h"

#include "framework/core/ObjectFactoryContainer.h"

TT_DEFINE_RECORD(BonusSprite, &CellSprite::classRecord);
TT_REGISTER_CLASS(BonusSprite);

void BonusSprite::setHighlighted()
{
    if (isHighlighted() || !getParent())
        return;
    addHighlight(-4, true);
}

void BonusSprite::activate(const GuiMethod& callback, BaseObject* keepAlive, int /*argument*/)
{
    popOut(callback, keepAlive, nullptr);
}

void BonusSprite::onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* /*parent*/)
{
    activate(callback, keepAlive, 0);
}

RefPointer<BonusSprite> BonusSprite::create(int column, int row, const std::string& name)
{
    return RefPointer<BonusSprite>(new BonusSprite(column, row, name));
}

bool BonusSprite::isBonusClassName(const std::string& className)
{
    static const char* const kClasses[] = {
        "BonusSprite",       "ZapBonus",        "BlockZapBonus",   "RowZapBonus",       "ColumnZapBonus",
        "RandomZapBonus",    "FruitPickerBonus", "UnripeZapBonus", "StarBonus",         "FiveStarBonus",
        "SecretBonus",       "SuperSecretBonus", "WorkDoneBonus",  "ChocolateLoverBonus", "TotalRefreshBonus"};
    for (const char* known : kClasses) {
        if (className == known)
            return true;
    }
    return false;
}
