#include "game/dialogs/TrophyWatcher.h"

#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DialogTrophyAwarded.h"
#include "game/dialogs/Trophies.h"
#include "game/production/GameScreen.h"

TT_DEFINE_RECORD(TrophyWatcher, &Task::classRecord);

TrophyWatcher* TrophyWatcher::instance = nullptr;

namespace {

// The announcing moment of each trophy, by index.
constexpr int kKinds[TrophyWatcher::kTrophyCount] = {1, 3, 0, 1, 1, 3, 3, 4, 1, 1, 1, 1, 3, 3, 3};

bool isAnnouncedKind(int kind)
{
    return kind == TrophyWatcher::KindToolShop || kind == TrophyWatcher::KindGameScene ||
           kind == TrophyWatcher::KindMap || kind == TrophyWatcher::KindArcade;
}

} // namespace

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

int TrophyWatcher::kindOf(int index)
{
    return index >= 0 && index < kTrophyCount ? kKinds[index] : KindNone;
}

Trophies* TrophyWatcher::currentTrophies()
{
    TortelunePlayer* player = gamescreen::currentPlayer();
    return player ? player->getTrophies() : nullptr;
}

Scene* TrophyWatcher::targetScene()
{
    return SceneManager::instance ? SceneManager::instance->getCurrentScene() : nullptr;
}

int TrophyWatcher::countTrophiesOfKind(int kind) const
{
    Trophies* trophies = currentTrophies();
    if (kind == KindNone || !trophies)
        return 0;
    int count = 0;
    // A short trophy file has fewer trophies: the absent ones never count.
    for (int index = 0; index < kTrophyCount && index < trophies->getCount(); ++index)
        if (trophies->getState(index) == 1 && kindOf(index) == kind)
            ++count;
    return count;
}

bool TrophyWatcher::requestAnnouncement(int kind, const GuiMethod& onDone)
{
    if (pendingKind != KindNone || !isAnnouncedKind(kind) || countTrophiesOfKind(kind) <= 0)
        return false;
    pendingKind = kind;
    onAnnounced = onDone;
    return true;
}

void TrophyWatcher::run(int /*elapsedMs*/)
{
    if (!isAnnouncedKind(pendingKind))
        return;
    Scene* scene = targetScene();
    if (scene && (scene->isDialogShown("DIALOG_TROPHYSCREEN") || scene->isDialogShown("DIALOG_TROPHYAWARDED")))
        return;
    if (countTrophiesOfKind(pendingKind) <= 0) {
        pendingKind = KindNone;
        GuiMethod callback = onAnnounced;
        onAnnounced = GuiMethod();
        if (callback.context && callback.function)
            callback.invoke(this);
        return;
    }
    Trophies* trophies = currentTrophies();
    for (int index = 0; index < kTrophyCount && index < trophies->getCount(); ++index) {
        if (trophies->getState(index) != 1 || kindOf(index) != pendingKind)
            continue;
        // Marked announced even when no dialog could open, so a missing
        // template never keeps the watcher (and its asker) waiting for ever.
        DialogTrophyAwarded::showTrophy(index);
        trophies->setState(index, 2);
        return;
    }
}
