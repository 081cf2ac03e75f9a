#pragma once

#include "framework/core/RefPointer.h"
#include "game/scenes/SceneTortelune.h"

class BaseObject;
class CustomerView;
class GameBoard;
class GoalPanel;
class GameNode;
class ModifierContainer;
class PastryStation;
class Phase;
class ToolSlots;

// The scene that hosts a level ("SCENE_GAME"): it holds the current phase of
// the level and the container under which the phase's chains run, forwards
// its frames, pauses and resumes to the phase, and keeps the level-running
// and input-block flags.
// TODO(scenes): the scene's own layers, menus, pause requests and the saving
// of a level in progress arrive with the game scene's issue.
class SceneGame : public SceneTortelune {
    TT_CLASS_RECORD(SceneGame)
public:
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

    // Pauses and resumes are taken at the next frame.
    void requestPause() { pauseRequested = true; }
    void requestResume() { resumeRequested = true; }
    bool isPaused() const { return paused; }
    bool isResumeRequested() const { return resumeRequested; }

    // Per frame: a pending pause or resume, then the phase's update.
    void update(int deltaMs) override;
    void hide() override;

    // The board on the grid node; the real grid unless a test puts a fake here.
    virtual RefPointer<GameBoard> createBoard(GameNode* gridNode);
    // A trophy earned in play waits to be announced.
    virtual bool trophyPending() const;
    // The trophy watcher has announced the trophies of play: play goes on.
    int onTrophiesAnnounced(BaseObject* watcher);
    // Makes the scene's named node layers afresh.
    virtual void createLayers() {}
    // To the map after a career level, to the arcade scene after an arcade run.
    virtual void leaveGame();
    // Removes the current player's saved level ("LEVEL") and/or arcade run.
    virtual void deleteSavedGames(bool level, bool arcade);
    // The game music of the level kind starts again.
    virtual void playGameMusic();

    // Saves the level being played into the current player's saved game.
    virtual void saveRunningGame();
    // Leaves and drops the current phase (the quit's last step in this scene).
    virtual void leavePhase();
    // The "no" of the quit question asked in this scene: closes it and plays on.
    static int resumeAfterQuitQuestion(void* context, BaseObject* button);
    // The menu's "stop" answered yes: saves a level being played, then leaves.
    static int leaveFromMenu(void* context, BaseObject* button);
    // The close callback of the pause and menu dialogs: requestResume.
    static int onResumeRequested(void* context, BaseObject* dialog);

    // A level is being played: leaving saves it.
    bool saveOnLeave = false;
    bool inputBlocked = false;
    // The next show goes on with the level the game data has just restored.
    bool resumeSavedGame = false;
    // The trophy watcher announces the trophies of play; resumed when it is done.
    bool trophiesRequested = false;
    // How often the quit question was answered "no" (tests).
    int quitDeclined = 0;

private:
    RefPointer<Phase> phase;
    RefPointer<ModifierContainer> phaseContainer;
    bool paused = false;
    bool pauseRequested = false;
    bool resumeRequested = false;
};
