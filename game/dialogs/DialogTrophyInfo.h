#pragma once

#include "game/dialogs/DialogTrophyCard.h"

// "DIALOG_TROPHYINFO": an earned trophy's picture, name and description,
// opened by clicking the trophy on the trophy screen.
class DialogTrophyInfo : public DialogTrophyCard {
    TT_CLASS_RECORD(DialogTrophyInfo)
public:
    explicit DialogTrophyInfo(AbstractProperty* configuration);

    bool setTrophy(int index);
    void show() override;
};
