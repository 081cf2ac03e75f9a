#include "GameDialogsFixture.h"

#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyValue.h"
#include "framework/gui/Button.h"
#include "framework/gui/SceneManager.h"
#include "framework/players/PlayerManager.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/scenes/SceneGame.h"
#include "support/FileSizeLimit.h"
#include "support/TestFolders.h"

namespace {

class StopWithFailedSaveTest : public GameDialogsFixture {
protected:
    void SetUp() override
    {
        GameDialogsFixture::SetUp();
        players = PlayerManager::getInstance();
        players->setBaseFolder(makeTestFolder("stop-with-failed-save"));
        writeSavedGames(game);
        game->saveOnLeave = true;
    }

    // An older saved level, as an earlier stop left it.
    void keepOlderSavedLevel()
    {
        RefPointer<PropertyStore> older(new PropertyStore());
        older->addChild(new PropertyValue("marker", "older"));
        ASSERT_TRUE(players->saveGameState("LEVEL", "Ada", *older));
        ASSERT_TRUE(players->savedGameExists("LEVEL", "Ada"));
    }

    // The menu's stop, answered yes.
    void stopFromTheMenu()
    {
        Dialog* menu = open("DIALOG_MENU");
        advance(600);
        objectCast<Button>(menu->getComponent("BUTTON_STOP"))->fire();
        auto* question = objectCast<DialogYesNo>(game->getDialog("CTEXT_MENU_STOP"));
        ASSERT_NE(nullptr, question);
        question->getYesButton()->fire();
    }

    DialogYesNo* failureQuestion() const
    {
        return isShown("CTEXT_SAVE_FAILED") ? objectCast<DialogYesNo>(game->getDialog("CTEXT_SAVE_FAILED"))
                                            : nullptr;
    }

    PlayerManager* players = nullptr;
};

TEST_F(StopWithFailedSaveTest, AWrittenSaveLeavesForTheMapWithoutAQuestion)
{
    stopFromTheMenu();
    EXPECT_EQ(nullptr, failureQuestion());
    EXPECT_TRUE(players->savedGameExists("LEVEL", "Ada"));
    EXPECT_EQ(map, SceneManager::instance->getNextScene());
}

// A full disk: the player is told, may play on, and the older saved level is
// never offered in place of the one that was lost.
TEST_F(StopWithFailedSaveTest, AFailedSaveIsToldAndTheOlderSavedLevelIsDropped)
{
    keepOlderSavedLevel();
    {
        FileSizeLimit fullDisk(8);
        stopFromTheMenu();
    }

    DialogYesNo* question = failureQuestion();
    ASSERT_NE(nullptr, question) << "the player is told the level was not kept";
    EXPECT_EQ(question, game->getShownDialogs().front().get());
    EXPECT_EQ(nullptr, SceneManager::instance->getNextScene()) << "nothing is left unasked";
    EXPECT_FALSE(players->savedGameExists("LEVEL", "Ada")) << "the older saved level is not offered";
    PropertyStore stale;
    EXPECT_FALSE(players->loadGameState("LEVEL", "Ada", stale));
    EXPECT_TRUE(log.contains("could not be written"));
    advance(600);
    EXPECT_FALSE(isShown("CTEXT_MENU_STOP")) << "the stop question gave way to the news";
    screenshot("dialog_save_failed.png");

    // "No": the level plays on, with the menu open as before.
    question->getNoButton()->fire();
    advance(600);
    EXPECT_FALSE(isShown("CTEXT_SAVE_FAILED"));
    EXPECT_TRUE(isShown("DIALOG_MENU"));
    EXPECT_TRUE(game->saveOnLeave);
    EXPECT_EQ(nullptr, SceneManager::instance->getNextScene());

    // Stop again, still failing, and "yes": off to the map without the level.
    {
        FileSizeLimit fullDisk(8);
        stopFromTheMenu();
    }
    question = failureQuestion();
    ASSERT_NE(nullptr, question);
    question->getYesButton()->fire();
    EXPECT_EQ(map, SceneManager::instance->getNextScene());
    EXPECT_FALSE(game->saveOnLeave);
    EXPECT_FALSE(players->savedGameExists("LEVEL", "Ada"));
}

} // namespace
