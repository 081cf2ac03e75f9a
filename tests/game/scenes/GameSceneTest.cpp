#include "LevelSceneFixture.h"

#include "framework/core/PropertyStore.h"
#include "framework/core/SetupStore.h"
#include "framework/gui/Button.h"
#include "framework/players/PlayerManager.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DialogTortelune.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/dialogs/Trophies.h"
#include "game/dialogs/TrophyWatcher.h"
#include "game/production/PhasePlay.h"
#include "host/WindowMessages.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"

#include <unistd.h>

namespace {

// The game scene asking the real trophy watcher.
class WatcherScene : public TestGameScene {
public:
    using TestGameScene::TestGameScene;
    bool trophyPending() const override { return SceneGame::trophyPending(); }
    bool handTrophiesToWatcher() override { return SceneGame::handTrophiesToWatcher(); }
};

} // namespace

class GameSceneTest : public LevelSceneTest {
protected:
    void closeShown(const std::string& name)
    {
        auto* dialog = objectCast<DialogTortelune>(shown(name));
        ASSERT_NE(nullptr, dialog) << name;
        dialog->close();
        ASSERT_TRUE(waitGone(name)) << name;
    }
};

TEST_F(GameSceneTest, RequestsPauseOnceAndResumeOnlyWhenEveryPauseDialogHasGone)
{
    startCareerLevel(0);
    // Pause and menu in one frame: only the pause dialog.
    scene->requestPause();
    scene->requestMenu();
    frame();
    EXPECT_TRUE(scene->isPaused());
    EXPECT_NE(nullptr, shown("DIALOG_PAUSE"));
    EXPECT_EQ(nullptr, shown("DIALOG_MENU"));
    // Paused already: a further request opens nothing more.
    scene->requestMenu();
    frame();
    EXPECT_EQ(nullptr, shown("DIALOG_MENU"));
    // A trophy dialog still up keeps the game paused after the pause dialog closed.
    Dialog* trophy = scene->getOrCreateDialog(std::string(), "DIALOG_TROPHYAWARDED");
    ASSERT_NE(nullptr, trophy);
    scene->showDialog(trophy);
    closeShown("DIALOG_PAUSE");
    frames(5);
    EXPECT_TRUE(scene->isPaused());
    closeShown("DIALOG_TROPHYAWARDED");
    scene->requestResume();
    frame();
    EXPECT_FALSE(scene->isPaused());
    // The menu alone opens the menu; its close resumes.
    scene->requestMenu();
    frame();
    EXPECT_NE(nullptr, shown("DIALOG_MENU"));
    closeShown("DIALOG_MENU");
    frame();
    EXPECT_FALSE(scene->isPaused());
}

TEST_F(GameSceneTest, FocusLossPausesOnlyWhileThePauseButtonIsEnabled)
{
    startCareerLevel(0);
    auto* pause = objectCast<Button>(node("BUTTON_PAUSE"));
    ASSERT_NE(nullptr, pause);
    pause->setEnabled(false);
    scene->onMessage(WM_KILLFOCUS, 0, 0);
    frame();
    EXPECT_FALSE(scene->isPaused());
    pause->setEnabled(true);
    scene->onMessage(WM_SETFOCUS, 0, 0);
    frame();
    EXPECT_FALSE(scene->isPaused());
    scene->onMessage(WM_KILLFOCUS, 0, 0);
    frame();
    EXPECT_TRUE(scene->isPaused());
    EXPECT_NE(nullptr, shown("DIALOG_PAUSE"));
}

TEST_F(GameSceneTest, TrophyPauseWaitsForAFreeWatcherAndIsDroppedWithNothingWaiting)
{
    RefPointer<WatcherScene> watched(new WatcherScene(SetupStore::instance->findScene("SCENE_GAME")));
    watched->loadContent();
    // As its first show would: a show that found it unloaded would lay a
    // second copy of the layout over the first.
    watched->setState(Scene::Loaded);
    scene->leavePhase();
    scene = watched;
    makeCurrent();
    startCareerLevel(0);
    // The watcher's own announcing is not run here: only the hand-over is.
    TrophyWatcher::create();

    // Nothing waiting: the request goes and the level plays on.
    scene->requestTrophies();
    frame();
    EXPECT_FALSE(scene->isPaused());
    EXPECT_FALSE(scene->isTrophyRequestPending());

    // Busy with another kind: no pause yet, the request stays.
    player->getTrophies()->setState(3, 1);
    TrophyWatcher::instance->pendingKind = TrophyWatcher::KindMap;
    scene->requestTrophies();
    frames(3);
    EXPECT_FALSE(scene->isPaused());
    EXPECT_TRUE(scene->isTrophyRequestPending());

    // Free again: the watcher takes it, the level pauses, and its completion resumes.
    TrophyWatcher::instance->pendingKind = -1;
    frame();
    EXPECT_TRUE(scene->isPaused());
    EXPECT_EQ(TrophyWatcher::KindGameScene, TrophyWatcher::instance->pendingKind);
    ASSERT_TRUE(TrophyWatcher::instance->onAnnounced.isBound());
    TrophyWatcher::instance->onAnnounced.invoke(TrophyWatcher::instance);
    frame();
    EXPECT_FALSE(scene->isPaused());
    TrophyWatcher::destroyInstance();
}

TEST_F(GameSceneTest, QuitHoldsTheLevelAndTheNoAnswerPlaysOn)
{
    startCareerLevel(0);
    makeCurrent();
    ASSERT_TRUE(runUntil([this] { return dynamic_cast<PhasePlay*>(phase()) != nullptr; }));
    scene->quit();
    frame();
    EXPECT_TRUE(scene->isPaused());
    EXPECT_NE(nullptr, shown("CTEXT_QUESTION_QUIT"));
    EXPECT_EQ(nullptr, shown("DIALOG_PAUSE"));
    SceneGame::resumeAfterQuitQuestion(scene.get(), nullptr);
    ASSERT_TRUE(waitGone("CTEXT_QUESTION_QUIT"));
    frame();
    EXPECT_FALSE(scene->isPaused());
}

TEST_F(GameSceneTest, LeavingDuringPlaySavesTheLevelAndAResumedGameGoesOnInPlay)
{
    startCareerLevel(0);
    frames(20);
    ASSERT_TRUE(scene->saveOnLeave);
    state().playSessionInfo.score = 1234;
    PlayerManager* players = PlayerManager::getInstance();
    players->deleteSavedGame("LEVEL", "Tester");
    SceneGame::leaveFromMenu(scene.get(), nullptr);
    EXPECT_EQ(1, scene->leftGame);

    RefPointer<PropertyStore> saved(new PropertyStore());
    ASSERT_TRUE(players->loadGameState("LEVEL", "Tester", *saved));
    GameData::instance->startLevel(1);
    EXPECT_EQ(0, state().playSessionInfo.score);
    GameData::instance->loadGame(saved.get());
    EXPECT_EQ(1234, state().playSessionInfo.score);
    scene->resumeSavedGame = true;
    makeCurrent();
    EXPECT_NE(nullptr, dynamic_cast<PhasePlay*>(phase()));
    EXPECT_FALSE(scene->resumeSavedGame);
    EXPECT_LT(0, state().playSessionInfo.resumeTime);

    // The arcade keeps its own saved game.
    players->deleteSavedGame("ARCADE", "Tester");
    state().mode = 1;
    scene->saveRunningGame();
    RefPointer<PropertyStore> arcade(new PropertyStore());
    EXPECT_TRUE(players->loadGameState("ARCADE", "Tester", *arcade));
    state().mode = 0;
}

TEST_F(GameSceneTest, LeavingTheSceneEmptiesItsLayersAndDropsItsHint)
{
    startCareerLevel(0);
    GameNode* plates = node("NODE_PLATES");
    ASSERT_NE(nullptr, plates);
    EXPECT_NE(nullptr, plates->getFirstChild());
    Dialog* hint = scene->getOrCreateDialog(std::string(), "DIALOG_HINT");
    ASSERT_NE(nullptr, hint);
    scene->showDialog(hint);
    scene->saveOnLeave = true;
    scene->hide();
    EXPECT_EQ(nullptr, plates->getFirstChild());
    EXPECT_EQ(nullptr, scene->getDialog("DIALOG_HINT"));
    EXPECT_FALSE(scene->saveOnLeave);
    EXPECT_EQ(nullptr, scene->getPhase()->getPieces());
}

TEST_F(GameSceneTest, AMissingPauseDialogIsLoggedAndThePlayGoesOn)
{
    startCareerLevel(0);
    LogCapture log;
    // A definition that makes no dialog stands for a missing template.
    const std::string broken = std::string(TORTELUNE_BINARY_DIR) + "/test-home/level-scene-nopause-"
        + std::to_string(getpid()) + ".xml";
    writeTestFile(broken, R"(<root><Node id="dialogs"><Node id="DIALOG_PAUSE"/></Node></root>)");
    SetupStore::instance->addFileName(broken);
    ASSERT_TRUE(SetupStore::instance->load());
    scene->requestPause();
    frame();
    frame();
    EXPECT_FALSE(scene->isPaused());
    EXPECT_TRUE(log.contains("DIALOG_PAUSE"));
}

TEST_F(GameSceneTest, AResumedLevelShowsItsPlateStack)
{
    startCareerLevel(0);
    GameNode* plates = node("NODE_PLATES");
    ASSERT_NE(nullptr, plates);
    auto countVisible = [plates] {
        int shown = 0;
        for (GameNode* plate = plates->getFirstChild(); plate; plate = plate->getNextSibling())
            shown += plate->isVisible() ? 1 : 0;
        return plates->isVisible() ? shown : 0;
    };
    // Pastries come onto the spots; their plates stay on the stack until they are made.
    ASSERT_TRUE(runUntil([this] { return state().pastryWrapper.get(0) != nullptr; }));
    frames(20);
    const int stack = countVisible();
    ASSERT_LT(static_cast<int>(state().order.size()), stack);

    // Saved and left as the menu's stop does, then resumed as the map does.
    PlayerManager* players = PlayerManager::getInstance();
    scene->saveRunningGame();
    scene->hide();
    RefPointer<PropertyStore> saved(new PropertyStore());
    ASSERT_TRUE(players->loadGameState("LEVEL", "Tester", *saved));
    GameData::instance->resetLevel();
    GameData::instance->loadGame(saved.get());
    scene->resumeSavedGame = true;
    makeCurrent();
    frames(10);
    ASSERT_NE(nullptr, dynamic_cast<PhasePlay*>(phase()));
    EXPECT_EQ(stack, countVisible());
    players->deleteSavedGame("LEVEL", "Tester");
}
