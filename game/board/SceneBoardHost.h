#pragma once

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/GameNode.h"
#include "game/board/BoardHost.h"
#include "game/production/PastryStation.h"

struct GamePieces;

class SceneGame;

// The board's host in the game: the game scene's animation tree, flags and
// listeners, the frame timer, and the station the play phase hands over.
// The scene owns the board (through its phase), and the board this host: the
// host only borrows the scene, through its node link, so that a scene dropped
// with a level on its board still goes, and a host left behind finds it gone.
class SceneBoardHost : public BoardHost {
public:
    explicit SceneBoardHost(SceneGame* scene);

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
    // The scene, or null once it is gone.
    SceneGame* game() const;

    RefPointer<NodeLink> sceneLink;
    RefPointer<PastryStation> station;
};
