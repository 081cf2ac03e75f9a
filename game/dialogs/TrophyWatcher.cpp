#include "game/dialogs/TrophyWatcher.h"

#include <string>

#include "framework/core/Log.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/players/PlayerManager.h"
#include "game/data/TortelunePlayer.h"

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

namespace {

// The moment each trophy is announced at, by trophy index.
constexpr int kTrophyKinds[15] = {1, 3, 0, 1, 1, 3, 3, 4, 1, 1, 1, 1, 3, 3, 3};

Trophies* currentTrophies()
{
    PlayerManager* players = PlayerManager::getInstance();
    auto* player = players ? objectCast<TortelunePlayer>(players->getCurrentPlayer()) : nullptr;
    return player ? player->getTrophies() : nullptr;
}

} // namespace

int TrophyWatcher::kindOfTrophy(int index)
{
    return index >= 0 && index < 15 ? kTrophyKinds[index] : -1;
}

int TrophyWatcher::countTrophiesOfKind(int kind) const
{
    Trophies* trophies = currentTrophies();
    if (kind == -1 || !trophies)
        return 0;
    int count = 0;
    for (int index = 0; index < 15 && index < trophies->getCount(); ++index)
        count += trophies->getState(index) == 1 && kindOfTrophy(index) == kind ? 1 : 0;
    return count;
}

void TrophyWatcher::run(int /*elapsedMs*/)
{
    if (pendingKind != 0 && pendingKind != 1 && pendingKind != 3 && pendingKind != 4)
        return;
    Scene* scene = SceneManager::instance ? SceneManager::instance->getCurrentScene() : nullptr;
    if (scene && (scene->isDialogShown("DIALOG_TROPHYSCREEN") || scene->isDialogShown("DIALOG_TROPHYAWARDED")))
        return;
    if (countTrophiesOfKind(pendingKind) <= 0) {
        pendingKind = -1;
        GuiMethod callback = onAnnounced;
        onAnnounced = GuiMethod();
        if (callback.getContext() && callback.isBound())
            callback.invoke(this);
        return;
    }
    Trophies* trophies = currentTrophies();
    for (int index = 0; index < 15 && index < trophies->getCount(); ++index) {
        if (trophies->getState(index) != 1 || kindOfTrophy(index) != pendingKind)
            continue;
        Dialog* dialog = scene ? scene->getOrCreateDialog("DIALOG_TROPHYAWARDED", "DIALOG_TROPHYAWARDED") : nullptr;
        if (dialog) {
            dialog->setTag(index);
            scene->showDialog(dialog);
        } else {
            LOG_WARNING("trophy " + std::to_string(index) + ": no awarded dialog; counted as announced");
        }
        trophies->setState(index, 2);
        return;
    }
}
