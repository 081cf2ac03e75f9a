#include "game/scenes/HintManager.h"

#include "framework/core/Log.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/players/PlayerManager.h"
#include "game/dialogs/DialogTortelune.h"
#include "game/data/TortelunePlayer.h"

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

void HintManager::showHint(const std::string& name, const GuiMethod& onClosed)
{
    lastRequested = name;
    PlayerManager* players = PlayerManager::getInstance();
    auto* player = players ? objectCast<TortelunePlayer>(players->getCurrentPlayer()) : nullptr;
    if (!player || !player->showHints || player->hasSeenHint(name))
        return;
    Scene* scene = SceneManager::instance ? SceneManager::instance->getCurrentScene() : nullptr;
    if (!scene || scene->isDialogShown("DIALOG_HINT"))
        return;
    auto* dialog = objectCast<DialogTortelune>(scene->getOrCreateDialog("DIALOG_HINT", "DIALOG_HINT"));
    if (!dialog) {
        LOG_WARNING("hint \"" + name + "\": no hint dialog; going on as if it had closed");
        GuiMethod callback = onClosed;
        callback.invoke(nullptr);
        return;
    }
    dialog->closeCallback = onClosed;
    scene->showDialog(dialog);
    player->setHintSeen(name);
}
