#pragma once

#include "game/dialogs/DialogTortelune.h"

class Label;

// Tells the player that a new rank was reached and what it brings
// ("DIALOG_RANKUP"). It closes itself 5 s after its sound or at the first
// press anywhere, whichever comes first; its close callback runs once.
class DialogRankUp : public DialogTortelune {
    TT_CLASS_RECORD(DialogRankUp)
public:
    explicit DialogRankUp(AbstractProperty* configuration);

    void show() override;
    bool onLeftDown(int x, int y, int keys, bool doubleClick) override;

    // The rank to show; the opener sets it before showing.
    int rank = -1;

private:
    static int onTimeUp(void* context, BaseObject* argument);
    void cancelTimer();

    Label* header = nullptr;
    Label* rankLabel = nullptr;
    Label* reward = nullptr;
    RefPointer<Modifier> wait;
    RefPointer<Modifier> timer;
};
