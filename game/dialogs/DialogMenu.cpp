#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DialogMenu.h"

#include "framework/core/Log.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/scenes/SceneGame.h"

TT_DEFINE_RECORD(DialogMenu, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogMenu);

DialogMenu::DialogMenu(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    bindComponent("BUTTON_HELP", GuiMethod(this, &DialogMenu::onHelp));
    bindComponent("BUTTON_SETTINGS", GuiMethod(this, &DialogMenu::onSettings));
    bindComponent("BUTTON_STOP", GuiMethod(this, &DialogMenu::onStop));
    bindComponent("BUTTON_RESUME", GuiMethod(this, &DialogMenu::onResume));
    bindComponent("BUTTON_TROPHIES", GuiMethod(this, &DialogMenu::onTrophies));
}

void DialogMenu::show()
{
    showAndFadeIn();
}

Scene* DialogMenu::hostScene()
{
    if (!SceneManager::instance)
        return nullptr;
    if (Scene* game = SceneManager::instance->getScene("SCENE_GAME"))
        return game;
    return SceneManager::instance->getCurrentScene();
}

void DialogMenu::openAbove(const std::string& name)
{
    Scene* scene = hostScene();
    if (!scene)
        return;
    if (Dialog* dialog = scene->getOrCreateDialog(name, name))
        scene->showDialog(dialog);
}

int DialogMenu::onHelp(void* /*context*/, BaseObject* /*button*/)
{
    openAbove("DIALOG_HELP");
    return 0;
}

int DialogMenu::onSettings(void* /*context*/, BaseObject* /*button*/)
{
    openAbove("DIALOG_SETTINGS");
    return 0;
}

int DialogMenu::onTrophies(void* /*context*/, BaseObject* /*button*/)
{
    openAbove("DIALOG_TROPHYSCREEN");
    return 0;
}

int DialogMenu::onStop(void* /*context*/, BaseObject* /*button*/)
{
    auto* game = objectCast<SceneGame>(hostScene());
    if (!game) {
        LOG_WARNING("menu: no game scene to leave");
        return 0;
    }
    // "No" closes only the question; the menu stays open beneath it.
    DialogYesNo* question = DialogYesNo::ask("CTEXT_MENU_STOP", "CTEXT_MENU_STOP_HEADER", game,
                                             &SceneGame::leaveFromMenu, nullptr, nullptr, game);
    if (question)
        game->showDialog(question);
    return 0;
}

int DialogMenu::onResume(void* context, BaseObject* /*button*/)
{
    auto* menu = static_cast<DialogMenu*>(context);
    if (auto* game = objectCast<SceneGame>(hostScene()))
        menu->closeCallback = GuiMethod(game, &SceneGame::onResumeRequested);
    menu->close();
    return 0;
}
