#include "game/production/Phase.h"

#include "framework/scenegraph/GameNode.h"
#include "game/production/GameScreen.h"

void GamePieces::release()
{
    customerView = nullptr;
    board = nullptr;
    toolSlots = nullptr;
    goalPanel = nullptr;
    pastryGoalPanel = nullptr;
    station = nullptr;
    bonusMeterView = nullptr;
    plateStack = nullptr;
}

void PhaseIdle::enter()
{
    for (const char* name : {"TOOLS", "CONVEYOR", "CONVEYOR_FRONT", "CONVEYOR_BACK", "CONVEYOR_PORT",
                             "CONVEYOR_BASKET", "CONVEYOR_TRAP", "CONVEYOR_HANDLE", "CONVEYOR_LIGHT",
                             "CONVEYOR_LIGHT2"})
        gamescreen::show(gamescreen::node(name), false);
}
