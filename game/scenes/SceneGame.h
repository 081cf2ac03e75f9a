#pragma once

#include "framework/core/RefPointer.h"
#include "game/scenes/SceneTortelune.h"

class BaseObject;

// The scene that hosts a level ("SCENE_GAME").
// TODO(scenes): the flags and the quit hooks are here; the level, its phases
// and the saving of a level in progress arrive with the game scene's issue.
class SceneGame : public SceneTortelune {
    TT_CLASS_RECORD(SceneGame)
public:
    explicit SceneGame(AbstractProperty* configuration);

    // Saves the level being played into the current player's saved game.
    virtual void saveRunningGame();
    // Leaves and drops the current phase (the quit's last step in this scene).
    virtual void leavePhase();
    // The "no" of the quit question asked in this scene: closes it and plays on.
    static int resumeAfterQuitQuestion(void* context, BaseObject* button);

    // A level is being played: leaving saves it.
    bool saveOnLeave = false;
    bool inputBlocked = false;
    // The map restored a saved level: the scene resumes it instead of starting afresh.
    bool resumeSavedGame = false;
    // How often the quit question was answered "no" (tests).
    int quitDeclined = 0;
};
