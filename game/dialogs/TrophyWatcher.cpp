#include "game/dialogs/TrophyWatcher.h"

#include "framework/players/PlayerManager.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/Trophies.h"

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

int TrophyWatcher::kindOf(int trophyIndex)
{
    static const int kinds[15] = {1, 3, 0, 1, 1, 3, 3, 4, 1, 1, 1, 1, 3, 3, 3};
    return trophyIndex >= 0 && trophyIndex < 15 ? kinds[trophyIndex] : -1;
}

int TrophyWatcher::countTrophiesOfKind(int kind) const
{
    if (kind == -1)
        return 0;
    PlayerManager* players = PlayerManager::getInstance();
    auto* player = players ? dynamic_cast<TortelunePlayer*>(players->getCurrentPlayer()) : nullptr;
    Trophies* trophies = player ? player->getTrophies() : nullptr;
    if (!trophies)
        return 0;
    int count = 0;
    for (int index = 0; index < 15 && index < trophies->getCount(); ++index)
        if (trophies->getState(index) == 1 && kindOf(index) == kind)
            ++count;
    return count;
}

bool TrophyWatcher::requestAnnouncement(int kind, const GuiMethod& onDone)
{
    if (pendingKind != -1 || countTrophiesOfKind(kind) <= 0)
        return false;
    pendingKind = kind;
    onAnnounced = onDone;
    return true;
}
