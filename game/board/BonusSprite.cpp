#include "game/board/BonusSprite.h"

#include "framework/core/ObjectFactoryContainer.h"

TT_DEFINE_RECORD(BonusSprite, &CellSprite::classRecord);
TT_REGISTER_CLASS(BonusSprite);

void BonusSprite::activate(const GuiMethod& callback, BaseObject* keepAlive, int /*argument*/)
{
    popOut(callback, keepAlive, nullptr);
}

void BonusSprite::onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* /*parent*/)
{
    activate(callback, keepAlive, 0);
}
