#pragma once

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "game/board/GameBoard.h"
#include "game/production/BonusMeterView.h"
#include "game/production/CustomerView.h"
#include "game/production/GoalPanel.h"
#include "game/production/PastryGoalPanel.h"
#include "game/production/PastryStation.h"
#include "game/production/PlateStack.h"
#include "game/production/ToolSlots.h"

// The game-screen pieces of a running level. The phases hold them by count and
// hand counted copies on; a level kind lacks some (null).
struct GamePieces {
    RefPointer<CustomerView> customerView;
    RefPointer<GameBoard> board;
    RefPointer<ToolSlots> toolSlots;
    RefPointer<PastryStation> station;
    RefPointer<GoalPanel> goalPanel;
    RefPointer<PastryGoalPanel> pastryGoalPanel;
    RefPointer<BonusMeterView> bonusMeterView;
    RefPointer<PlateStack> plateStack;

    // Drops every piece, in the order above.
    void release();
};

// One stage of a level in the game scene (idle, intro, play, end, results).
// The scene leaves the old phase before it enters the new one.
class Phase : public BaseObject {
public:
    virtual void enter() = 0;
    virtual void update(int /*ms*/) {}
    virtual void leave() {}
    virtual void pause() {}
    virtual void resume() {}
    // The pieces the phase holds; null for a phase that holds none.
    virtual GamePieces* getPieces() { return nullptr; }
};

// The parked phase while no level runs: the tool and belt nodes are hidden.
class PhaseIdle : public Phase {
public:
    void enter() override;
};
