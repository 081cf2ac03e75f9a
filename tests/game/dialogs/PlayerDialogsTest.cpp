#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/gui/Button.h"
#include "framework/gui/InputLabel.h"
#include "framework/platform/InputHandler.h"
#include "framework/players/PlayerManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DialogNameInput.h"
#include "game/dialogs/DialogPlayerSelect.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/scenes/SceneSelection.h"
#include "support/FrontDoorFixture.h"

namespace {

class PlayerDialogsTest : public FrontDoorFixture {
protected:
    DialogNameInput* nameDialog() const
    {
        return objectCast<DialogNameInput>(selection()->getDialog("DIALOG_NEWPLAYER"));
    }
    DialogPlayerSelect* openPlayerList()
    {
        auto* list = objectCast<DialogPlayerSelect>(selection()->getOrCreateDialog("DIALOG_PLAYERSELECT",
                                                                                   "DIALOG_PLAYERSELECT"));
        selection()->showDialog(list);
        frames(600);
        return list;
    }
    // Each typed character sets the field's text (fonts are not loaded here,
    // so the field's own key handling would refuse every glyph).
    void type(const std::u16string& text)
    {
        InputLabel* field = nameDialog()->getNameField();
        for (char16_t character : text)
            field->setText(field->getText() + character, true);
    }
    std::string greeting() const
    {
        auto* label = objectCast<Label>(selection()->getComponent("LABEL_PLAYERNAME"));
        return label ? toNarrowString(label->getText()) : std::string();
    }
};

TEST_F(PlayerDialogsTest, FirstRunAsksForANameThatCannotBeCancelledAndWritesThePlayer)
{
    enter("SCENE_SELECTION");
    DialogNameInput* dialog = nameDialog();
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(selection()->isDialogShown("DIALOG_NEWPLAYER"));
    EXPECT_EQ(nullptr, dialog->getCancelButton());
    EXPECT_EQ(nullptr, dialog->getComponent("BUTTON_CANCEL"));
    ASSERT_NE(nullptr, dialog->getOkButton());
    EXPECT_EQ(210, dialog->getOkButton()->getX());
    EXPECT_FALSE(dialog->getOkButton()->isEnabled());
    EXPECT_TRUE(dialog->getNameField()->isFocused());
    for (int i = 0; i < SceneSelection::kBalloonCount; ++i)
        EXPECT_FALSE(selection()->getBalloon(i)->isVisible());

    // A name never begins with a blank; one letter enables OK.
    type(u" ");
    EXPECT_EQ(u"", dialog->getNameField()->getText());
    EXPECT_FALSE(dialog->getOkButton()->isEnabled());
    type(u"Anna");
    EXPECT_TRUE(dialog->getOkButton()->isEnabled());
    DialogNameInput::onOk(dialog, nullptr);
    frames(1500);

    ASSERT_NE(nullptr, currentPlayer());
    EXPECT_EQ("Anna", currentPlayer()->getName());
    EXPECT_NE(std::string::npos, playersFileText().find("Anna"));
    EXPECT_EQ("Welcome, Anna", greeting());
    EXPECT_FALSE(selection()->isDialogShown("DIALOG_NEWPLAYER"));
    // The chef bounces in after the first name.
    auto* henri = objectCast<Sprite>(selection()->getComponent("SPRITE_HENRI"));
    ASSERT_NE(nullptr, henri);
    EXPECT_TRUE(henri->isVisible());
    EXPECT_EQ(296, henri->getY());
}

TEST_F(PlayerDialogsTest, AnExistingNameSelectsThatPlayerAndAddingStopsAtFive)
{
    addPlayer("Anna");
    addPlayer("Bruno");
    enter("SCENE_SELECTION");
    DialogPlayerSelect* list = openPlayerList();
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(0, list->getSelectedIndex());
    DialogPlayerSelect::onAdd(list, nullptr);
    ASSERT_NE(nullptr, nameDialog());
    ASSERT_NE(nullptr, nameDialog()->getCancelButton());
    type(u"Bruno");
    DialogNameInput::onOk(nameDialog(), nullptr);
    frames(1000);
    EXPECT_EQ(2u, PlayerManager::getInstance()->getPlayers().size());
    EXPECT_EQ("Bruno", currentPlayer()->getName());

    for (const char* name : {"Carla", "Dora", "Emil"})
        addPlayer(name);
    list = openPlayerList();
    EXPECT_FALSE(list->getAddButton()->isEnabled());
    EXPECT_EQ(1, list->getSelectedIndex());
    EXPECT_EQ(list->getRowButton(1)->getY(), list->getBorder()->getY());
    // Every row is a player: a click selects, it never opens the name dialog.
    DialogPlayerSelect::onNameClicked(list, list->getRowButton(4));
    EXPECT_EQ("Emil", currentPlayer()->getName());
    EXPECT_EQ(list->getRowButton(4)->getY(), list->getBorder()->getY());
    EXPECT_FALSE(selection()->isDialogShown("DIALOG_NEWPLAYER"));
}

TEST_F(PlayerDialogsTest, RemovingAsksFirstAndKeepsTheMenuOnALivingPlayer)
{
    addPlayer("Anna");
    addPlayer("Bruno");
    addPlayer("Carla");
    enter("SCENE_SELECTION");
    DialogPlayerSelect* list = openPlayerList();
    // Not the current player: the current one and its frame stay.
    DialogPlayerSelect::onNameClicked(list, list->getRowButton(1));
    DialogPlayerSelect::onNameClicked(list, list->getRowButton(2));
    EXPECT_EQ("Carla", currentPlayer()->getName());
    DialogPlayerSelect::onRemove(list, nullptr);
    EXPECT_TRUE(selection()->isDialogShown("CTEXT_REMOVE_PLAYER"));
    // The current player in the last row: the row before becomes current.
    DialogPlayerSelect::onRemoveConfirmed(list, nullptr);
    EXPECT_FALSE(selection()->isDialogShown("CTEXT_REMOVE_PLAYER"));
    EXPECT_EQ("Bruno", currentPlayer()->getName());
    EXPECT_EQ("Welcome, Bruno", greeting());
    EXPECT_EQ(1, list->getSelectedIndex());
    EXPECT_EQ(u"", list->getRowLabel(2)->getText());
    // A click on the emptied row asks for a new name; the current player stays.
    DialogPlayerSelect::onNameClicked(list, list->getRowButton(2));
    EXPECT_TRUE(selection()->isDialogShown("DIALOG_NEWPLAYER"));
    EXPECT_EQ("Bruno", currentPlayer()->getName());
    frames(600);
    nameDialog()->getCancelButton()->fire();
    frames(600);
    EXPECT_FALSE(selection()->isDialogShown("DIALOG_NEWPLAYER"));

    DialogPlayerSelect::onRemoveConfirmed(list, nullptr);
    EXPECT_EQ("Anna", currentPlayer()->getName());
    // Removing the last player: the menu greets nobody and the name dialog opens.
    DialogPlayerSelect::onRemoveConfirmed(list, nullptr);
    EXPECT_EQ(nullptr, currentPlayer());
    EXPECT_TRUE(PlayerManager::getInstance()->getPlayers().empty());
    EXPECT_EQ("Welcome, ", greeting());
    EXPECT_TRUE(selection()->isDialogShown("DIALOG_NEWPLAYER"));
    EXPECT_EQ(std::string::npos, playersFileText().find("Anna"));
}

TEST_F(PlayerDialogsTest, CancelAfterAConfirmationLeavesTheSceneItsCallback)
{
    addPlayer("Anna");
    enter("SCENE_SELECTION");
    Dialog* opened = selection()->getOrCreateDialog("DIALOG_NEWPLAYER", "DIALOG_NEWPLAYER");
    selection()->showDialog(opened);
    frames(600);
    DialogNameInput* dialog = nameDialog();
    type(u"Zoe");
    DialogNameInput::onOk(dialog, nullptr);
    // A second press in the same moment: cancel must not hand the scene's
    // callback the dialog as its scene.
    DialogNameInput::onCancel(dialog, nullptr);
    frames(1500);
    EXPECT_EQ("Zoe", currentPlayer()->getName());
    EXPECT_TRUE(objectCast<Sprite>(selection()->getComponent("SPRITE_HENRI"))->isVisible());

    // A plain cancel closes without any callback.
    selection()->showDialog(selection()->getOrCreateDialog("DIALOG_NEWPLAYER", "DIALOG_NEWPLAYER"));
    frames(600);
    static int calls;
    calls = 0;
    nameDialog()->closeCallback = GuiMethod(nullptr, [](void*, BaseObject*) { return ++calls; });
    DialogNameInput::onCancel(nameDialog(), nullptr);
    frames(1000);
    EXPECT_EQ(0, calls);
    EXPECT_EQ(2u, PlayerManager::getInstance()->getPlayers().size());
}

} // namespace

namespace {

TEST_F(PlayerDialogsTest, QuitQuestionAskedOnTheWayInStaysInFrontOfTheNameDialog)
{
    // The window is closed while the selection scene is still on its way in.
    selection()->quit();
    ASSERT_TRUE(selection()->isDialogShown("CTEXT_QUESTION_QUIT"));
    enter("SCENE_SELECTION");
    ASSERT_TRUE(selection()->isDialogShown("DIALOG_NEWPLAYER"));
    Dialog* question = selection()->getDialog("CTEXT_QUESTION_QUIT");
    const std::vector<iInputListener*>& listeners = selection()->getInputHandler()->getContainer().getListeners();
    ASSERT_FALSE(listeners.empty());
    EXPECT_EQ(&question->getInputContainer(), listeners.front());
    // Drawn over the name dialog too.
    int order = 0;
    int questionAt = -1;
    int nameDialogAt = -1;
    for (GameNode* node = selection()->getTree()->getFirstChild(); node; node = node->getNextSibling(), ++order) {
        questionAt = node == question ? order : questionAt;
        nameDialogAt = node == nameDialog() ? order : nameDialogAt;
    }
    EXPECT_GT(questionAt, nameDialogAt);
}

} // namespace
