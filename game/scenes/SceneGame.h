#pragma once

#include "framework/core/RefPointer.h"
#include "framework/platform/MessageHandler.h"
#include "game/scenes/SceneTortelune.h"

class BaseObject;
class Button;
class CustomerView;
class GameBoard;
class GoalPanel;
class GameNode;
class ModifierContainer;
class PastryStation;
class Phase;
class ToolSlots;

// The scene that hosts a level ("SCENE_GAME"): it starts the level's intro
// (or, for a restored level, its play), forwards frames to the current phase,
// turns the pause, menu, trophy and hold requests raised inside callbacks into
// pauses with their dialogs on the next frame, pauses when the window loses
// the focus, and saves the level in progress when the player quits or leaves.
class SceneGame : public SceneTortelune, public iMessageListener {
    TT_CLASS_RECORD(SceneGame)
public:
    // Emptied when the scene is left; the phases fill them.
    static const char* const kLayerNames[17];

    explicit SceneGame(AbstractProperty* configuration);
    ~SceneGame() override;

    // The game scene (the program has one); null when none exists.
    static SceneGame* getInstance();

    // Leaves the current phase and enters `next`. With `resetContainer` the
    // chains of the old phase are cut short and a fresh container takes them.
    void setPhase(RefPointer<Phase> next, bool resetContainer);
    RefPointer<Phase> getPhase() const;
    ModifierContainer* getPhaseContainer() const;
    // The current phase's pieces, not counted; null when the phase holds none
    // (before a level's screen, or a level kind without that piece).
    PastryStation* getPastryStation() const;
    ToolSlots* getToolSlots() const;
    CustomerView* getCustomerView() const;
    GoalPanel* getGoalPanel() const;

    // A level starts from its intro (the game data has reset it).
    void startLevel();
    // A level restored by the game data goes on in play.
    void resumeLevel();

    // Requests are taken at the next frame, so that no dialog opens from
    // inside another object's callback.
    void requestPause() { pauseRequested = true; }
    void requestMenu() { menuRequested = true; }
    void requestTrophies() { trophiesRequested = true; }
    // A pause without a dialog (the quit question brings its own).
    void requestHold() { holdRequested = true; }
    void requestResume() { resumeRequested = true; }
    // The close callback of the pause and menu dialogs and of the trophy screen.
    static int onResumeRequested(void* context, BaseObject* argument);
    bool isPaused() const { return paused; }
    bool isTrophyRequestPending() const { return trophiesRequested; }
    bool isResumeRequested() const { return resumeRequested; }

    void loadContent() override;
    void show() override;
    // Per frame: pending requests, a pending resume, then the phase's update.
    void update(int deltaMs) override;
    void hide() override;
    // Closing the window: the level holds, then the quit question.
    void quit() override;
    // Losing the keyboard focus during play opens the pause dialog.
    void onMessage(uint32_t message, uint32_t wParam, uint32_t lParam) override;

    // The board on the grid node; the real grid unless a test puts a fake here.
    virtual RefPointer<GameBoard> createBoard(GameNode* gridNode);
    // A trophy announced in the game scene waits to be shown.
    virtual bool trophyPending() const;
    // Hands the waiting trophies to the trophy watcher, which resumes the scene
    // when it is done. False while the watcher is busy with another request.
    virtual bool handTrophiesToWatcher();
    // Empties the scene's named node layers.
    virtual void createLayers();
    // To the map after a career level, to the arcade scene after an arcade run.
    virtual void leaveGame();
    // Removes the current player's saved level ("LEVEL") and/or arcade run.
    virtual void deleteSavedGames(bool level, bool arcade);
    // The game music of the level kind starts again.
    virtual void playGameMusic();

    // Saves the level being played into the current player's saved game
    // ("ARCADE" in the arcade, else "LEVEL"). False when it could not be
    // written: the older saved game of that kind is then dropped, so that it
    // is never offered in place of the one just lost.
    virtual bool saveRunningGame();
    // Leaves and drops the current phase (the quit's last step in this scene).
    virtual void leavePhase();
    // The "no" of the quit question asked in this scene: closes it and plays on.
    static int resumeAfterQuitQuestion(void* context, BaseObject* button);
    // The menu's "stop" answered yes: saves a level being played, then
    // leaves. When the save fails the player is asked first whether to leave
    // all the same (the question "CTEXT_SAVE_FAILED").
    static int leaveFromMenu(void* context, BaseObject* button);
    // The "yes" of that question: leaves without the level.
    static int leaveUnsaved(void* context, BaseObject* button);

    // A level is being played: leaving saves it.
    bool saveOnLeave = false;
    // The next show goes on with a restored level instead of a new one.
    bool resumeSavedGame = false;
    bool inputBlocked = false;
    // How often the quit question was answered "no" (tests).
    int quitDeclined = 0;

private:
    static int onPausePressed(void* context, BaseObject* button);
    static int onMenuPressed(void* context, BaseObject* button);
    // False (logged) when the scene has no such dialog.
    bool openPauseDialog(const char* name);
    void applyBackground();

    Button* pauseButton = nullptr;
    Button* menuButton = nullptr;
    RefPointer<Phase> phase;
    RefPointer<ModifierContainer> phaseContainer;
    bool paused = false;
    bool trophiesRequested = false;
    bool pauseRequested = false;
    bool menuRequested = false;
    bool holdRequested = false;
    bool resumeRequested = false;
};
