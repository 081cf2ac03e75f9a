#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DialogPlayerSelect.h"

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/gui/Button.h"
#include "framework/gui/SceneManager.h"
#include "framework/players/PlayerManager.h"
#include "framework/scenegraph/Label.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/scenes/SceneSelection.h"

TT_DEFINE_RECORD(DialogPlayerSelect, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogPlayerSelect);

namespace {

Scene* currentScene()
{
    return SceneManager::instance ? SceneManager::instance->getCurrentScene() : nullptr;
}

void updateSelectionScene()
{
    if (auto* selection = objectCast<SceneSelection>(currentScene()))
        selection->updatePlayer();
}

void openNameDialog()
{
    Scene* scene = currentScene();
    if (!scene)
        return;
    if (Dialog* dialog = scene->getOrCreateDialog("DIALOG_NEWPLAYER", "DIALOG_NEWPLAYER"))
        scene->showDialog(dialog);
}

} // namespace

DialogPlayerSelect::DialogPlayerSelect(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    PropertyNode* layout = getConfiguration();
    AbstractProperty* buttonTemplate = layout ? layout->getChild("namebutton") : nullptr;
    AbstractProperty* labelTemplate = layout ? layout->getChild("namelabel") : nullptr;
    const int spacing = layout ? layout->getInt("spacing") : 0;
    GameNode* buttonParent = getComponent("BUTTON_NODE");
    GameNode* labelParent = getComponent("NAME_NODE");
    for (int row = 0; row < kRowCount; ++row) {
        RefPointer<Button> button = ObjectFactoryContainer::createFrom<Button>(buttonTemplate);
        if (!button || !buttonParent) {
            LOG_WARNING("player list: no name row can be built");
            break;
        }
        button->setPosition(getWidth() / 2, button->getY() + row * spacing);
        button->setCallback(GuiMethod(this, &DialogPlayerSelect::onNameClicked));
        GameNode::addChild(buttonParent, button.get());
        button->setRemoved(false);
        addListener(button.get());
        rowButtons[row] = button.get();
        RefPointer<Label> label = ObjectFactoryContainer::createFrom<Label>(labelTemplate);
        if (label && labelParent) {
            label->setPosition(button->getX(), button->getY());
            GameNode::addChild(labelParent, label.get());
            rowLabels[row] = label.get();
        }
    }
    addButton = objectCast<Button>(bindComponent("BUTTON_ADD", GuiMethod(this, &DialogPlayerSelect::onAdd)));
    removeButton = objectCast<Button>(bindComponent("BUTTON_REMOVE", GuiMethod(this, &DialogPlayerSelect::onRemove)));
    bindComponent("BUTTON_OK", GuiMethod(this, &DialogPlayerSelect::onOk));
    border = getComponent("BORDER");
    if (border && labelParent) {
        // Drawn under the names.
        GameNode::insertBefore(border, labelParent);
        borderOffsetY = border->getY();
    }
    refresh();
}

void DialogPlayerSelect::show()
{
    showAndFadeIn();
}

int DialogPlayerSelect::playerCount() const
{
    PlayerManager* players = PlayerManager::getInstance();
    return players ? static_cast<int>(players->getPlayers().size()) : 0;
}

void DialogPlayerSelect::moveBorderTo(int row)
{
    if (border && row >= 0 && row < kRowCount && rowButtons[row] && borderOffsetY != -1000)
        border->setY(rowButtons[row]->getY() + borderOffsetY);
}

void DialogPlayerSelect::refresh()
{
    PlayerManager* players = PlayerManager::getInstance();
    const int count = playerCount();
    for (int row = 0; row < kRowCount; ++row) {
        if (!rowLabels[row])
            continue;
        if (row < count) {
            AbstractPlayer* player = players->getPlayers()[static_cast<size_t>(row)].get();
            rowLabels[row]->setText(toWideString(player->getName()));
            if (player == players->getCurrentPlayer()) {
                moveBorderTo(row);
                selectedIndex = row;
            }
        } else {
            rowLabels[row]->setText(WString());
        }
        rowLabels[row]->updateLayout();
    }
    if (border)
        border->setVisible(players && players->getCurrentPlayer());
    if (addButton)
        addButton->setEnabled(count < kRowCount);
    if (removeButton)
        removeButton->setEnabled(count >= 1);
}

int DialogPlayerSelect::onNameClicked(void* context, BaseObject* argument)
{
    auto* dialog = static_cast<DialogPlayerSelect*>(context);
    int clicked = -1;
    for (int row = 0; row < kRowCount; ++row)
        clicked = dialog->rowButtons[row] == argument ? row : clicked;
    if (clicked < 0)
        return 0;
    PlayerManager* players = PlayerManager::getInstance();
    if (clicked < dialog->playerCount() && dialog->rowLabels[clicked]) {
        dialog->selectedIndex = clicked;
        players->selectPlayer(toNarrowString(dialog->rowLabels[clicked]->getText()));
        dialog->moveBorderTo(clicked);
    } else {
        onAdd(dialog, nullptr);
    }
    for (int row = 0; row < kRowCount; ++row) {
        if (row != clicked && dialog->rowButtons[row])
            dialog->rowButtons[row]->setEnabled(true);
    }
    return 0;
}

int DialogPlayerSelect::onAdd(void* context, BaseObject* /*argument*/)
{
    if (static_cast<DialogPlayerSelect*>(context)->playerCount() < kRowCount)
        openNameDialog();
    return 0;
}

int DialogPlayerSelect::onRemove(void* context, BaseObject* /*argument*/)
{
    Scene* scene = currentScene();
    DialogYesNo* question = DialogYesNo::ask("CTEXT_REMOVE_PLAYER", "CTEXT_REMOVE_PLAYER_HEADER", context,
                                             &DialogPlayerSelect::onRemoveConfirmed, nullptr, nullptr, scene);
    if (question)
        scene->showDialog(question);
    return 0;
}

int DialogPlayerSelect::onRemoveConfirmed(void* context, BaseObject* /*argument*/)
{
    RefPointer<DialogPlayerSelect> dialog(static_cast<DialogPlayerSelect*>(context));
    PlayerManager* players = PlayerManager::getInstance();
    const int row = dialog->selectedIndex;
    if (!players || row < 0 || row >= kRowCount || !dialog->rowLabels[row])
        return 0;
    const std::string name = toNarrowString(dialog->rowLabels[row]->getText());
    const int count = dialog->playerCount();
    const bool removingCurrent = players->getCurrentPlayer() && players->getCurrentPlayer()->getName() == name;
    if (removingCurrent) {
        int next = row + 1;
        if (next >= count)
            next = count - 2;
        dialog->selectedIndex = next;
        if (next >= 0 && dialog->rowLabels[next])
            players->selectPlayer(toNarrowString(dialog->rowLabels[next]->getText()));
    }
    if (!players->deletePlayer(name))
        LOG_WARNING("player \"" + name + "\" could not be removed");
    // The menu is brought up to date only now, so it never greets a deleted player.
    updateSelectionScene();
    dialog->refresh();
    if (Scene* scene = currentScene()) {
        if (Dialog* question = scene->getDialog("CTEXT_REMOVE_PLAYER"))
            scene->forgetDialog(question);
    }
    if (players->getPlayers().empty())
        openNameDialog();
    return 0;
}

int DialogPlayerSelect::onOk(void* context, BaseObject* /*argument*/)
{
    auto* dialog = static_cast<DialogPlayerSelect*>(context);
    updateSelectionScene();
    dialog->close();
    return 0;
}
