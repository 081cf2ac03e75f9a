#pragma once

#include "framework/core/RefPointer.h"
#include "game/board/BoardHost.h"
#include "game/production/PastryStation.h"

struct GamePieces;

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
    GameNode* getFloaterLayer() override;
    GameNode* getAnnouncementLayer() override;
    void pulseTool(int toolId) override;
    void emitToolParticles(int toolId, GameNode* target, int amount, bool inside) override;
    void flyStarToTools(int x, int y) override;
    GameNode* getScoreLabel() override;
    void deliverToBonusMeter(GameNode* letter) override;
    void flyStarToGoal(int x, int y, int delayMs, int soundNumber, float scale) override;

private:
    GamePieces* pieces() const;

    RefPointer<SceneGame> scene;
    RefPointer<PastryStation> station;
};
