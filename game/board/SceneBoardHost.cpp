#include "game/board/SceneBoardHost.h"

#include "framework/platform/TimedTaskManager.h"
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
    return scene->inputBlocked;
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
