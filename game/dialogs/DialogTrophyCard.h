#pragma once

#include "game/dialogs/DialogTortelune.h"
#include "game/dialogs/TrophyText.h"

class Button;
class Modifier;
class Sprite;

// What the awarded and the information dialogs share: a trophy's large
// picture that pops in with twinkles, its name and its description, with the
// dialog growing to the description. Each fill starts from the template's
// height and the OK button's place, so a reused dialog never grows twice.
class DialogTrophyCard : public DialogTortelune {
    TT_CLASS_RECORD(DialogTrophyCard)
public:
    explicit DialogTrophyCard(AbstractProperty* configuration);

    int getTrophy() const { return trophyIndex; }
    Sprite* getPicture() const { return picture; }
    Button* getOkButton() const { return okButton; }
    GameNode* getNameLabel() const { return nameLabel; }
    GameNode* getDescriptionLabel() const { return descriptionLabel; }

    // OK: stops the picture's animation and closes.
    int onOk(BaseObject* button);

protected:
    // Fills the dialog for trophy `index` of the current player: the picture
    // of record 1, the texts of `textRecord`. False (logged, nothing changed)
    // when the player has no such trophy.
    bool fill(int index, int textRecord, trophytext::Column column);
    // Hangs the picture's entrance on the scene's animation tree: wait the
    // fade, show, (sound,) pop; returns the pop's last step.
    Modifier* buildEntrance(bool withSounds);
    // Twinkles over the picture after `parent`.
    void addPictureTwinkles(Modifier* parent);

    Sprite* picture = nullptr;
    Button* okButton = nullptr;
    GameNode* nameLabel = nullptr;
    GameNode* descriptionLabel = nullptr;
    int trophyIndex = -1;

private:
    int templateHeight = 0;
    int okTemplateY = 0;
};
