#include "game/board/StarBonus.h"

#include "framework/core/ObjectFactoryContainer.h"
#include "game/board/BoardHost.h"
#include "game/board/BoardKeys.h"
#include "game/data/TuningTable.h"

TT_DEFINE_RECORD(StarBonus, &BonusSprite::classRecord);
TT_DEFINE_RECORD(FiveStarBonus, &StarBonus::classRecord);
TT_REGISTER_CLASS(StarBonus);
TT_REGISTER_CLASS(FiveStarBonus);

void StarBonus::launchStars(int count, int delayStepMs, const GuiMethod& callback, BaseObject* keepAlive)
{
    playSound("SOUND_BONUS_STAR");
    const int x = getAbsoluteX() + 25;
    const int y = getAbsoluteY() + getHeight() / 2 - boardKeys().cellHeight;
    if (BoardHost* host = BoardHost::current()) {
        for (int i = 0; i < count; ++i)
            host->flyStarToGoal(x, y, i * delayStepMs, 1, tuning().BONUS_STARS_SCALE);
    }
    finishOnNextStep(callback, keepAlive);
}

void StarBonus::onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* /*parent*/)
{
    launchStars(1, 0, callback, keepAlive);
}

void FiveStarBonus::onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* /*parent*/)
{
    launchStars(5, tuning().STAR_FLY_DELAY, callback, keepAlive);
}
