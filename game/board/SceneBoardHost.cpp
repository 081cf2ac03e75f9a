#include "game/board/SceneBoardHost.h"

#include "framework/platform/TimedTaskManager.h"
#include "framework/scenegraph/Modifier.h"
#include "game/production/BonusMeterView.h"
#include "game/production/Phase.h"
#include "game/production/ToolSlots.h"
#include "game/scenes/SceneGame.h"

Modifier* SceneBoardHost::getAnimationRoot()
{
    return scene->getAnimTree();
}

PastryStation* SceneBoardHost::getPastryStation()
{
    return station ? station.get() : scene->getPastryStation();
}

bool SceneBoardHost::isInputBlocked() const
{
    // A paused level (menu, pause, trophies) freezes the board too: its hint
    // timer would otherwise raise a modal hint over the menu's dialogs.
    return scene->inputBlocked || scene->isPaused();
}

bool SceneBoardHost::isPlaying() const
{
    return scene->saveOnLeave;
}

iInputListenerContainer* SceneBoardHost::getInputListeners()
{
    return &scene->getInputContainer();
}

TaskManager* SceneBoardHost::getTaskManager()
{
    return TimedTaskManager::instance;
}

GameNode* SceneBoardHost::getFloaterLayer()
{
    return scene->getComponent("NODE_FLOATER");
}

GameNode* SceneBoardHost::getAnnouncementLayer()
{
    return scene->getComponent("NODE_FLOATERSTARS");
}

GamePieces* SceneBoardHost::pieces() const
{
    RefPointer<Phase> phase = scene->getPhase();
    return phase ? phase->getPieces() : nullptr;
}

void SceneBoardHost::pulseTool(int toolId)
{
    if (ToolSlots* slots = scene->getToolSlots())
        slots->pulseToolById(toolId, scene->getAnimTree());
}

void SceneBoardHost::emitToolParticles(int toolId, GameNode* target, int amount, bool inside)
{
    if (ToolSlots* slots = scene->getToolSlots())
        slots->emitParticlesById(toolId, scene->getAnimTree(), target, amount, inside);
}

void SceneBoardHost::flyStarToTools(int x, int y)
{
    if (ToolSlots* slots = scene->getToolSlots())
        slots->flyStarToTools(scene->getAnimTree(), x, y);
}

GameNode* SceneBoardHost::getScoreLabel()
{
    return scene->getComponent("LABEL_SCORE");
}

void SceneBoardHost::deliverToBonusMeter(GameNode* letter)
{
    // The weight of a floater: run length × 256 for a long run, the combo level for a chain.
    GamePieces* held = pieces();
    if (held && held->bonusMeterView && letter)
        held->bonusMeterView->onMatchDelivered(letter->getTag() / 256, letter->getTag() % 256);
}

void SceneBoardHost::flyStarToGoal(int x, int y, int delayMs, int soundNumber, float scale)
{
    GamePieces* held = pieces();
    if (held && held->goalPanel)
        held->goalPanel->flyStarToGoal(x, y, delayMs, soundNumber, scale);
}
