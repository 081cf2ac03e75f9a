#pragma once

#include "framework/core/RefPointer.h"
#include "game/board/BoardHost.h"
#include "game/production/PastryStation.h"

class SceneGame;

// The board's host in the game: the game scene's animation tree, flags and
// listeners, the frame timer, and the station the play phase hands over.
class SceneBoardHost : public BoardHost {
public:
    explicit SceneBoardHost(SceneGame* scene) : scene(scene) {}

    Modifier* getAnimationRoot() override;
    bool isInputBlocked() const override;
    bool isPlaying() const override;
    // The one handed over, else the current phase's.
    PastryStation* getPastryStation() override;
    void setPastryStation(PastryStation* value) override { station = value; }
    iInputListenerContainer* getInputListeners() override;
    TaskManager* getTaskManager() override;

private:
    RefPointer<SceneGame> scene;
    RefPointer<PastryStation> station;
};
