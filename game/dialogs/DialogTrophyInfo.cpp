#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DialogTrophyInfo.h"

TT_DEFINE_RECORD(DialogTrophyInfo, &DialogTrophyCard::classRecord);
TT_REGISTER_CLASS(DialogTrophyInfo);

DialogTrophyInfo::DialogTrophyInfo(AbstractProperty* configuration) : DialogTrophyCard(configuration) {}

bool DialogTrophyInfo::setTrophy(int index)
{
    return fill(index, 0, trophytext::Column::HintAndInfo);
}

void DialogTrophyInfo::show()
{
    showAndFadeIn();
    addPictureTwinkles(buildEntrance(false));
}
