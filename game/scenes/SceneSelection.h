#pragma once

#include "game/scenes/SceneTortelune.h"

class Button;
class Label;
class Modifier;
class Sprite;

// The player-selection scene ("SCENE_SELECTION"), the game's main menu: it
// greets the current player, leads to the career map and, once the arcade is
// open, through its door to the arcade; it opens the player, help, settings
// and trophy dialogs. With no player yet it asks for a name first.
class SceneSelection : public SceneTortelune {
    TT_CLASS_RECORD(SceneSelection)
public:
    static constexpr int kBalloonCount = 6;

    explicit SceneSelection(AbstractProperty* configuration);

    void loadContent() override;
    void show() override;
    void hide() override;

    // Brings the menu up to date for the current player (or for none).
    void updatePlayer();
    // The close callback of the new-player dialog.
    int onNewPlayerClosed(BaseObject* argument);
    static int onNewPlayerClosed(void* context, BaseObject* argument);
    void showWelcomeHint();
    // The chef and the trophies button bounce up into view after `parent`.
    Modifier* henriEntrance(Modifier* parent);
    // The one-time opening of the arcade door; returns the step the chef's
    // entrance may follow.
    Modifier* openArcadeDoor();

    // Set by the map when the last level was won: entering opens "DIALOG_GAMEEND".
    bool gameEndPending = false;
    bool isFirstEntry() const { return firstEntry; }
    Sprite* getSmoke() const { return smoke; }
    Sprite* getSunshine() const { return sunshine; }
    GameNode* getBalloon(int index) const { return index >= 0 && index < kBalloonCount ? balloons[index] : nullptr; }
    Button* getTrophiesButton() const { return trophiesButton; }

private:
    static int onChangeName(void* context, BaseObject* argument);
    static int onLevel(void* context, BaseObject* argument);
    static int onArcade(void* context, BaseObject* argument);
    static int onHelp(void* context, BaseObject* argument);
    static int onSettings(void* context, BaseObject* argument);
    static int onTrophies(void* context, BaseObject* argument);
    static int onStop(void* context, BaseObject* argument);
    void openDialog(const std::string& name);
    void sunshineLoop();
    bool arcadeOpen() const;

    bool firstEntry = true;
    Sprite* smoke = nullptr;
    Sprite* sunshine = nullptr;
    GameNode* balloons[kBalloonCount] = {};
    Button* trophiesButton = nullptr;
    Sprite* henri = nullptr;
    int henriY = 0;
    int trophiesY = 0;
};
