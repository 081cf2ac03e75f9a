#include "game/scenes/HintManager.h"

HintManager* HintManager::instance = nullptr;

HintManager* HintManager::create()
{
    if (!instance)
        instance = new HintManager();
    return instance;
}

void HintManager::destroyInstance()
{
    delete instance;
    instance = nullptr;
}
