// The one table of bonus kinds: the content name a level lists, the class a
// saved board names, and how to build the tile. The content choice and the
// saved board both go through it.
#include "game/board/BoardKeys.h"
#include "game/board/BonusSprite.h"
#include "game/board/ChocolateLoverBonus.h"
#include "game/board/CountertopBonuses.h"
#include "game/board/StarBonus.h"
#include "game/board/TotalRefreshBonus.h"
#include "game/board/ZapBonus.h"

namespace {

struct BonusKind {
    const char* name;
    const char* className;
    BonusSprite* (*make)(int column, int row, const std::string& name);
};

template <class Bonus>
BonusSprite* build(int column, int row, const std::string& name)
{
    return new Bonus(column, row, name);
}

const BonusKind kKinds[] = {
    {"row zap bonus", "RowZapBonus", &build<RowZapBonus>},
    {"column zap bonus", "ColumnZapBonus", &build<ColumnZapBonus>},
    {"block zap bonus", "BlockZapBonus", &build<BlockZapBonus>},
    {"random zap bonus", "RandomZapBonus", &build<RandomZapBonus>},
    {"fruit picker bonus", "FruitPickerBonus", &build<FruitPickerBonus>},
    {"unripe zap bonus", "UnripeZapBonus", &build<UnripeZapBonus>},
    {"star +1 bonus", "StarBonus", &build<StarBonus>},
    {"star +5 bonus", "FiveStarBonus", &build<FiveStarBonus>},
    {"secret bonus", "SecretBonus", &build<SecretBonus>},
    {"super secret bonus", "SuperSecretBonus", &build<SuperSecretBonus>},
    {"work done bonus", "WorkDoneBonus", &build<WorkDoneBonus>},
    {"chocolate lover bonus", "ChocolateLoverBonus", &build<ChocolateLoverBonus>},
    {"total refresh bonus", "TotalRefreshBonus", &build<TotalRefreshBonus>},
};

const BonusKind* kindOf(const std::string& name)
{
    for (const BonusKind& kind : kKinds) {
        if (name == kind.name)
            return &kind;
    }
    return nullptr;
}

} // namespace

RefPointer<BonusSprite> BonusSprite::create(int column, int row, const std::string& name)
{
    if (const BonusKind* kind = kindOf(name))
        return RefPointer<BonusSprite>(kind->make(column, row, name));
    return RefPointer<BonusSprite>(new BonusSprite(column, row, name));
}

const char* BonusSprite::classNameFor(const std::string& name)
{
    const BonusKind* kind = kindOf(name);
    return kind ? kind->className : nullptr;
}

bool BonusSprite::isBonusClassName(const std::string& className)
{
    if (className == "BonusSprite" || className == "ZapBonus")
        return true;
    for (const BonusKind& kind : kKinds) {
        if (className == kind.className)
            return true;
    }
    return false;
}
