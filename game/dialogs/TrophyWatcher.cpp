#include "game/dialogs/TrophyWatcher.h"

TT_DEFINE_RECORD(TrophyWatcher, &Task::classRecord);

TrophyWatcher* TrophyWatcher::instance = nullptr;

TrophyWatcher* TrophyWatcher::create()
{
    if (!instance) {
        instance = new TrophyWatcher();
        instance->addRef();
    }
    return instance;
}

void TrophyWatcher::destroyInstance()
{
    if (!instance)
        return;
    TrophyWatcher* watcher = instance;
    instance = nullptr;
    if (watcher->isRegistered())
        watcher->setFinished();
    watcher->release();
}
