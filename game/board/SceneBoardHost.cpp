#include "game/board/SceneBoardHost.h"

#include "framework/platform/TimedTaskManager.h"
#include "framework/scenegraph/Modifier.h"
#include "game/production/BonusMeterView.h"
#include "game/production/Phase.h"
#include "game/production/ToolSlots.h"
#include "game/scenes/SceneGame.h"

SceneBoardHost::SceneBoardHost(SceneGame* scene) : sceneLink(scene ? scene->getLink() : nullptr) {}

SceneGame* SceneBoardHost::game() const
{
    return sceneLink ? objectCast<SceneGame>(sceneLink->node) : nullptr;
}

Modifier* SceneBoardHost::getAnimationRoot()
{
    SceneGame* scene = game();
    return scene ? scene->getAnimTree() : nullptr;
}

PastryStation* SceneBoardHost::getPastryStation()
{
    if (station)
        return station.get();
    SceneGame* scene = game();
    return scene ? scene->getPastryStation() : nullptr;
}

bool SceneBoardHost::isInputBlocked() const
{
    // A paused level (menu, pause, trophies) freezes the board too: its hint
    // timer would otherwise raise a modal hint over the menu's dialogs.
    SceneGame* scene = game();
    return !scene || scene->inputBlocked || scene->isPaused();
}

bool SceneBoardHost::isPlaying() const
{
    SceneGame* scene = game();
    return scene && scene->saveOnLeave;
}

iInputListenerContainer* SceneBoardHost::getInputListeners()
{
    SceneGame* scene = game();
    return scene ? &scene->getInputContainer() : nullptr;
}

TaskManager* SceneBoardHost::getTaskManager()
{
    return TimedTaskManager::instance;
}

GameNode* SceneBoardHost::getFloaterLayer()
{
    SceneGame* scene = game();
    return scene ? scene->getComponent("NODE_FLOATER") : nullptr;
}

GameNode* SceneBoardHost::getAnnouncementLayer()
{
    SceneGame* scene = game();
    return scene ? scene->getComponent("NODE_FLOATERSTARS") : nullptr;
}

GamePieces* SceneBoardHost::pieces() const
{
    SceneGame* scene = game();
    RefPointer<Phase> phase = scene ? scene->getPhase() : nullptr;
    return phase ? phase->getPieces() : nullptr;
}

void SceneBoardHost::pulseTool(int toolId)
{
    SceneGame* scene = game();
    if (ToolSlots* slots = scene ? scene->getToolSlots() : nullptr)
        slots->pulseToolById(toolId, scene->getAnimTree());
}

void SceneBoardHost::emitToolParticles(int toolId, GameNode* target, int amount, bool inside)
{
    SceneGame* scene = game();
    if (ToolSlots* slots = scene ? scene->getToolSlots() : nullptr)
        slots->emitParticlesById(toolId, scene->getAnimTree(), target, amount, inside);
}

void SceneBoardHost::flyStarToTools(int x, int y)
{
    SceneGame* scene = game();
    if (ToolSlots* slots = scene ? scene->getToolSlots() : nullptr)
        slots->flyStarToTools(scene->getAnimTree(), x, y);
}

GameNode* SceneBoardHost::getScoreLabel()
{
    SceneGame* scene = game();
    return scene ? scene->getComponent("LABEL_SCORE") : nullptr;
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
