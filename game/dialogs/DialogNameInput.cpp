#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DialogNameInput.h"

#include "framework/core/Log.h"
#include "framework/gui/Button.h"
#include "framework/gui/InputLabel.h"
#include "framework/gui/SceneManager.h"
#include "framework/players/PlayerManager.h"
#include "game/data/TortelunePlayer.h"
#include "game/scenes/SceneSelection.h"

TT_DEFINE_RECORD(DialogNameInput, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogNameInput);

DialogNameInput::DialogNameInput(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    nameField = objectCast<InputLabel>(bindComponent("INPUT_NAME", GuiMethod(this, &DialogNameInput::onNameChanged)));
    if (nameField)
        nameField->setOnEnter(GuiMethod(this, &DialogNameInput::onOk));
    okButton = objectCast<Button>(bindComponent("BUTTON_OK", GuiMethod(this, &DialogNameInput::onOk)));

    PlayerManager* players = PlayerManager::getInstance();
    if (players && !players->getPlayers().empty()) {
        cancelButton = objectCast<Button>(bindComponent("BUTTON_CANCEL", GuiMethod(this, &DialogNameInput::onCancel)));
    } else if (GameNode* cancel = getComponent("BUTTON_CANCEL")) {
        // The first player of an installation has nothing to go back to.
        removeComponent(cancel);
        if (okButton) {
            okButton->setAnchorPoint(Sprite::Top);
            if (okButton->getPivotFollowsAnchor())
                okButton->setPivotPointKind(Sprite::Top);
            okButton->setX(getWidth() / 2);
        }
    }
    if (okButton)
        okButton->setEnabled(nameField && !nameField->getText().empty());
}

void DialogNameInput::show()
{
    DialogTortelune::show();
    playShowAnimation();
    focusField();
}

void DialogNameInput::focusField()
{
    if (nameField)
        nameField->setFocus(true);
}

bool DialogNameInput::onLeftDown(int x, int y, int keys, bool doubleClick)
{
    focusField();
    return Dialog::onLeftDown(x, y, keys, doubleClick);
}

bool DialogNameInput::onLeftUp(int x, int y, int keys)
{
    focusField();
    return Dialog::onLeftUp(x, y, keys);
}

int DialogNameInput::onNameChanged(void* context, BaseObject* /*argument*/)
{
    auto* dialog = static_cast<DialogNameInput*>(context);
    Button::playSound("SOUND_CHARACTER", "default");
    InputLabel* field = dialog->nameField;
    if (!field)
        return 0;
    // A name cannot begin with a blank.
    if (field->getText() == u" ")
        field->setText(WString(), true);
    if (dialog->okButton)
        dialog->okButton->setEnabled(!field->getText().empty());
    return 0;
}

int DialogNameInput::onOk(void* context, BaseObject* /*argument*/)
{
    RefPointer<DialogNameInput> dialog(static_cast<DialogNameInput*>(context));
    PlayerManager* players = PlayerManager::getInstance();
    if (dialog->nameField && !dialog->nameField->getText().empty() && players && !dialog->isClosing()) {
        const std::string name = toNarrowString(dialog->nameField->getText());
        if (!players->playerExists(name)) {
            RefPointer<TortelunePlayer> player(new TortelunePlayer(name));
            if (!players->addPlayer(player.get()))
                LOG_WARNING("new player \"" + name + "\" was refused");
        }
        // An existing name (or one stored under the same file name) selects that player.
        int index = players->findPlayer(name);
        if (index >= 0)
            players->selectPlayer(players->getPlayers()[static_cast<size_t>(index)]->getName());
        if (!players->savePlayerList())
            LOG_ERROR("the players file could not be written");

        Scene* scene = SceneManager::instance ? SceneManager::instance->getCurrentScene() : nullptr;
        if (scene) {
            if (Dialog* select = scene->getDialog("DIALOG_PLAYERSELECT"))
                scene->forgetDialog(select);
        }
        if (auto* selection = objectCast<SceneSelection>(scene)) {
            selection->updatePlayer();
            dialog->closeCallback = GuiMethod(selection, &SceneSelection::onNewPlayerClosed);
        }
        dialog->close();
    }
    dialog->focusField();
    return 0;
}

int DialogNameInput::onCancel(void* context, BaseObject* /*argument*/)
{
    auto* dialog = static_cast<DialogNameInput*>(context);
    // A confirmation already on its way keeps its callback.
    if (dialog->isClosing())
        return 0;
    dialog->closeCallback = GuiMethod();
    dialog->close();
    return 0;
}
