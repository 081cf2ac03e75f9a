#pragma once

#include "game/dialogs/DialogTrophyCard.h"

// "DIALOG_TROPHYAWARDED": announces one newly earned trophy with a sting,
// its picture popping in and twinkling, and an OK button that fades in once
// the picture is there. Opened only by the trophy watcher.
class DialogTrophyAwarded : public DialogTrophyCard {
    TT_CLASS_RECORD(DialogTrophyAwarded)
public:
    explicit DialogTrophyAwarded(AbstractProperty* configuration);

    // Opens the dialog for the trophy in the scene the player sees; null
    // (logged) when there is no scene, template or such trophy.
    static DialogTrophyAwarded* showTrophy(int index);

    bool setTrophy(int index);
    void show() override;
    // OK becomes usable and fades in.
    void enableOk();
};
