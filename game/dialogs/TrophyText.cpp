#include "game/dialogs/TrophyText.h"

#include "framework/core/Log.h"
#include "framework/graphics/Image.h"
#include "framework/resources/ResourceManager.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/Trophies.h"
#include "game/production/GameScreen.h"

namespace trophytext {

namespace {

WString rankName(int rank)
{
    RankTable* ranks = RankTable::getInstance();
    return ranks ? ranks->getRankName(rank) : WString();
}

} // namespace

WString substituteValues(int trophyIndex, WString description, Column column)
{
    const WString percent = toWide("%");
    const TuningTable& values = tuning();
    switch (trophyIndex) {
    case 1:
        replaceAll(description, percent, rankName(7), true);
        break;
    case 5:
        replaceAll(description, percent, rankName(1), true);
        break;
    case 6:
        replaceAll(description, percent, rankName(9), true);
        break;
    case 7:
        replaceAll(description, percent, groupedNumber(values.TROPHYVALUE_GIANTSCORE), true);
        break;
    case 8:
        replaceAll(description, percent, groupedNumber(values.TROPHYVALUE_BONUSFRENZY), true);
        break;
    case 10:
        replaceAll(description, percent,
                   column == Column::Awarded ? intToWString(values.TROPHYVALUE_COMBOQUEEN)
                                             : groupedNumber(values.TROPHYVALUE_COMBOQUEEN),
                   true);
        break;
    case 11:
        if (column == Column::Awarded) {
            replaceAll(description, percent, groupedNumber(values.TROPHYVALUE_PERSEVERANCE), true);
        } else {
            TortelunePlayer* player = gamescreen::currentPlayer();
            replaceAll(description, toWide("%1"), groupedNumber(values.TROPHYVALUE_PERSEVERANCE), true);
            replaceAll(description, toWide("%2"), groupedNumber(player ? player->numPastries : 0), true);
        }
        break;
    default:
        break;
    }
    return description;
}

RefPointer<Image> recordImage(const TrophyInfo& record)
{
    RefPointer<Image> image;
    if (!record.image.empty() && ResourceManager::instance) {
        ResourceLock lock;
        image = ResourceManager::instance->getLoadedResourceAs<Image>(record.image, record.section);
    }
    if (!image)
        LOG_WARNING("trophy picture \"" + record.image + "\" of section \"" + record.section + "\" is missing");
    return image;
}

} // namespace trophytext
