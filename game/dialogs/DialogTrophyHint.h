#pragma once

#include "game/dialogs/DialogTortelune.h"

// "DIALOG_TROPHYHINT": a small bubble saying how a trophy is earned, shown
// while the mouse rests on the trophy's place on the trophy screen. Its
// position names its lower left corner once filled.
class DialogTrophyHint : public DialogTortelune {
    TT_CLASS_RECORD(DialogTrophyHint)
public:
    explicit DialogTrophyHint(AbstractProperty* configuration);

    // False (logged, nothing changed) when the player has no such trophy.
    bool setTrophy(int index);
    // Puts the lower left corner at (x, bottom).
    void placeBottomLeft(int x, int bottom);
    void show() override;

    int getTrophy() const { return trophyIndex; }
    GameNode* getNameLabel() const { return nameLabel; }
    GameNode* getDescriptionLabel() const { return descriptionLabel; }

private:
    GameNode* nameLabel = nullptr;
    GameNode* descriptionLabel = nullptr;
    int trophyIndex = -1;
    int templateHeight = 0;
};
