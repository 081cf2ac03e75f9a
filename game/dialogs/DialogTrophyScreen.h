#pragma once

#include <vector>

#include "framework/core/RefPointer.h"
#include "game/dialogs/DialogTortelune.h"

class Button;
class Label;
class Scene;
class TortelunePlayer;
class DialogTrophyHint;

// "DIALOG_TROPHYSCREEN": the shelves of all fifteen trophies of a player,
// paging through the players. Announced trophies become seen here (with a
// sound and a blink); earned ones open their information when clicked, and
// resting the mouse on any trophy's place opens its hint.
class DialogTrophyScreen : public DialogTortelune {
    TT_CLASS_RECORD(DialogTrophyScreen)
public:
    // A place not yet earned shows its lock softly at rest and in full under
    // the mouse, so the cabinet reads as locked before anyone hovers.
    static constexpr int kLockedRestAlpha = 150;

    explicit DialogTrophyScreen(AbstractProperty* configuration);

    // Opens the trophy screen in the scene; null (logged) without its template.
    static DialogTrophyScreen* open(Scene* scene);

    void show() override;
    void hide() override;
    bool onMouseMove(int x, int y, int keys) override;

    // The header names the shown player; paging buttons follow the list.
    void refresh();
    void refreshTrophies(TortelunePlayer* player);
    int previous(BaseObject* button);
    int next(BaseObject* button);
    int onTrophyClicked(BaseObject* button);

    // -1 when the current player is not in the list (or there is none).
    int getShownPlayerIndex() const { return shownPlayer; }
    // The shown player, or null.
    TortelunePlayer* getShownPlayer() const;
    int getTrophyCount() const { return static_cast<int>(earnedButtons.size()); }
    Button* getEarnedButton(int index) const;
    Button* getLockedButton(int index) const;
    DialogTrophyHint* getOpenHint() const { return openHint.get(); }
    Label* getHeaderLabel() const { return header; }
    Button* getPreviousButton() const { return previousButton; }
    Button* getNextButton() const { return nextButton; }

private:
    int trophyAt(int x, int y) const;
    void openHintFor(int index);
    void closeHint();

    int shownPlayer = -1;
    Label* header = nullptr;
    Button* okButton = nullptr;
    Button* previousButton = nullptr;
    Button* nextButton = nullptr;
    std::vector<RefPointer<Button>> earnedButtons;
    std::vector<RefPointer<Button>> lockedButtons;
    RefPointer<DialogTrophyHint> openHint;
    int hintX = 300;
    int hintBottom = 590;
};
