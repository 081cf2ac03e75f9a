#include <gtest/gtest.h>

#include <string>

#include "app/TorteluneMain.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyStore.h"
#include "framework/gui/Button.h"
#include "framework/gui/SceneManager.h"
#include "framework/players/PlayerManager.h"
#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/Sprite.h"
#include "game/board/BoardHost.h"
#include "game/production/Phase.h"
#include "game/production/PhasePlay.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DialogTortelune.h"
#include "game/dialogs/TrophyWatcher.h"
#include "game/scenes/MapStates.h"
#include "game/scenes/SceneArcade.h"
#include "game/scenes/SceneGame.h"
#include "game/scenes/SceneMap.h"
#include "game/scenes/SceneSelection.h"
#include "game/scenes/ThemeNode.h"
#include "host/SingleInstanceLock.h"
#include "support/FrontDoorFixture.h"

namespace {

class MapScenesTest : public FrontDoorFixture {
protected:
    // The player picked in the selection scene walks through the career door.
    void enterFromSelection()
    {
        enter("SCENE_SELECTION");
        enter("SCENE_MAP");
    }
    // Back on the map from a level just played to `highest`, with its news.
    void returnFromLevel(int highest, bool raised)
    {
        enter("SCENE_GAME");
        currentPlayer()->highestLevelReached = highest;
        currentPlayer()->newLevelNotice = raised;
        enter("SCENE_MAP");
    }
    template <class State>
    State* stateAs() const
    {
        return dynamic_cast<State*>(map()->getState());
    }
    // Plays on, answering the chef's hints and the level information as a
    // player would, until the map reaches the state (at most `ms`).
    template <class State>
    State* playUntil(int ms)
    {
        for (int elapsed = 0; elapsed <= ms && !stateAs<State>(); elapsed += 20)
            frames(20);
        return stateAs<State>();
    }
    std::string hintName() const
    {
        auto* hint = stateAs<MapHintState>();
        return hint ? hint->getHintName() : std::string();
    }
    void saveLevelGame(int level)
    {
        RefPointer<PropertyStore> store(new PropertyStore());
        store->addNode("levelmanager", "Node")->setInt("currentLevel", level);
        ASSERT_TRUE(PlayerManager::getInstance()->saveGameState("LEVEL", currentPlayer()->getName(), *store));
    }
    // Runs frames for `ms`, closing each trophy announcement as a player would.
    void framesClosingTrophies(int ms)
    {
        for (int elapsed = 0; elapsed < ms; elapsed += 500) {
            frames(500);
            Scene* scene = SceneManager::instance->getCurrentScene();
            if (auto* awarded = objectCast<DialogTortelune>(scene->getDialog("DIALOG_TROPHYAWARDED")))
                awarded->close();
        }
    }
    int currentLevel() const { return GameData::instance->state->levelManager.getCurrentIndex(); }
    Scene* nextScene() const { return SceneManager::instance->getNextScene(); }
};

TEST_F(MapScenesTest, NewPlayerIsGuidedThenStartsLevelOneWithoutInformation)
{
    addPlayer("Anna");
    enterFromSelection();
    SceneMap* scene = map();
    ASSERT_NE(nullptr, stateAs<MapHintState>());
    EXPECT_EQ("HINT_LEVELSELECTION", hintName());
    EXPECT_FALSE(scene->getState()->isInputEnabled());
    EXPECT_EQ(3, scene->getPage());
    EXPECT_EQ(-1600, scene->getPanelDynamic()->getX());
    // Only the first theme is open, its first level pulsing.
    EXPECT_TRUE(scene->getTheme(0)->getPastryButton()->isVisible());
    EXPECT_TRUE(scene->getTheme(0)->isSelected());
    EXPECT_FALSE(scene->getTheme(1)->getPastryButton()->isVisible());
    EXPECT_TRUE(scene->getTheme(0)->getLevelButton(0)->isVisible());
    EXPECT_FALSE(scene->getTheme(0)->getLevelButton(1)->isVisible());
    EXPECT_FALSE(scene->getScrollRightButton()->isVisible());

    // The chef walks in from the right.
    frames(400);
    Sprite* host = stateAs<MapHintState>()->getHost();
    ASSERT_NE(nullptr, host);
    EXPECT_EQ(Sprite::BottomRight, host->getAnchorKind());
    frames(400);
    EXPECT_EQ(816, host->getX()) << "a little past the right edge";
    // Without a hint dialog the hint counts as closed: the chef leaves and the map pans to page 1.
    ASSERT_NE(nullptr, playUntil<MapIntroPanState>(3000));
    frames(3800);
    EXPECT_EQ(0, scene->getPanelDynamic()->getX());
    EXPECT_EQ("HINT_CLICK_START", hintName());
    frames(2000);
    ASSERT_NE(nullptr, stateAs<MapIdleState>());
    EXPECT_EQ(1, scene->getPage());
    EXPECT_TRUE(scene->getStartButton()->isEnabled());

    scene->getStartButton()->fire();
    EXPECT_NE(nullptr, stateAs<MapStartGameState>());
    EXPECT_EQ(0, currentLevel());
    EXPECT_EQ(SceneManager::instance->getScene("SCENE_GAME"), nextScene());
}

TEST_F(MapScenesTest, ReturningPlayerSelectsAThemeFirstThenOpensItsLevel)
{
    TortelunePlayer* player = addPlayer("Anna", 5);
    player->setHintSeen("HINT_CLICK_START");
    enterFromSelection();
    SceneMap* scene = map();
    ASSERT_NE(nullptr, stateAs<MapIdleState>());
    EXPECT_EQ(1, scene->getPage());
    EXPECT_EQ(0, scene->getPanelDynamic()->getX());
    EXPECT_EQ(1, scene->getSelectedTheme());
    ThemeNode* first = scene->getTheme(0);
    ThemeNode* second = scene->getTheme(1);
    EXPECT_EQ(4, first->getCompletedCount());
    EXPECT_TRUE(first->getPastryFinish()->isVisible());
    EXPECT_EQ(2, second->getCompletedCount());
    EXPECT_FALSE(second->getPastryFinish()->isVisible());
    EXPECT_TRUE(second->getLevelButton(2)->isVisible());
    EXPECT_FALSE(second->getLevelButton(3)->isVisible());
    EXPECT_FALSE(scene->getTheme(2)->getPastryButton()->isVisible());

    // The first click on another theme's level only selects that theme.
    first->getLevelButton(1)->fire();
    EXPECT_NE(nullptr, stateAs<MapIdleState>());
    EXPECT_EQ(0, scene->getSelectedTheme());
    EXPECT_FALSE(second->isSelected());
    // The second opens its level information, whose start starts it.
    first->getLevelButton(1)->fire();
    EXPECT_NE(nullptr, playUntil<MapStartGameState>(3000));
    EXPECT_EQ(1, currentLevel());
}

TEST_F(MapScenesTest, StartPicksTheLevelByTheSelectedThemeAndWrapsAfterTheLast)
{
    struct Case {
        int highest;
        int selectTheme;
        int expected;
    };
    // The next level; a finished theme replays its first level; after the last level, level 0.
    // A theme counts as finished from the win of its last level on, not one level before.
    for (const Case& c : {Case{5, -1, 6}, Case{5, 0, 0}, Case{59, -1, 0}, Case{7, 1, 4}, Case{6, 1, 7}}) {
        SCOPED_TRACE(c.highest * 10 + c.selectTheme);
        PlayerManager::destroyInstance();
        PlayerManager::create(false, "test")->setBaseFolder(folder.path());
        addPlayer("Anna", c.highest)->setHintSeen("HINT_CLICK_START");
        enterFromSelection();
        map()->deselectThemes();
        if (c.selectTheme >= 0)
            map()->getTheme(c.selectTheme)->setSelected(true);
        map()->getStartButton()->fire();
        EXPECT_EQ(c.expected, currentLevel());
        // The fade to the game scene ends before the next case.
        frames(1500);
    }
}

TEST_F(MapScenesTest, ScrollButtonsFollowProgress)
{
    TortelunePlayer* player = addPlayer("Anna", 23);
    player->setHintSeen("HINT_CLICK_START");
    enterFromSelection();
    SceneMap* scene = map();
    // Level 24 opens theme 6 on page 3: the map shows it.
    EXPECT_EQ(3, scene->getPage());
    EXPECT_TRUE(scene->getScrollLeftButton()->isVisible());
    EXPECT_TRUE(scene->getScrollLeftButton()->isEnabled());
    EXPECT_FALSE(scene->getScrollRightButton()->isVisible());
    scene->getScrollLeftButton()->fire();
    frames(20);
    // The button takes no more clicks and pops away while the map scrolls.
    EXPECT_FALSE(scene->getScrollLeftButton()->isEnabled());
    EXPECT_TRUE(scene->getScrollLeftButton()->isVisible());
    frames(3000);
    EXPECT_EQ(1, scene->getPage());
    EXPECT_EQ(0, scene->getPanelDynamic()->getX());
    EXPECT_FALSE(scene->getScrollLeftButton()->isVisible()) << "nothing lies left of page 1";
    EXPECT_TRUE(scene->getScrollRightButton()->isVisible());
    scene->getScrollRightButton()->fire();
    frames(3000);
    EXPECT_EQ(3, scene->getPage());
    EXPECT_EQ(-1600, scene->getPanelDynamic()->getX());

    // From level 47 on, the middle page lies between them.
    player->highestLevelReached = 47;
    scene->getScrollLeftButton()->fire();
    frames(2000);
    EXPECT_EQ(2, scene->getPage());
    EXPECT_EQ(-800, scene->getPanelDynamic()->getX());
    // Scrolling to the page shown starts nothing.
    EXPECT_EQ(scene->getAnimTree(), scene->scrollToPage(scene->getAnimTree(), 2, 2));

    // Back through the selection with less progress: page 1 wants neither button.
    player->highestLevelReached = 5;
    enterFromSelection();
    EXPECT_EQ(1, scene->getPage());
    EXPECT_FALSE(scene->getScrollLeftButton()->isVisible());
    EXPECT_FALSE(scene->getScrollRightButton()->isVisible());
}

TEST_F(MapScenesTest, RankAndScoreShowOnceThePlayerHasScored)
{
    struct Case {
        int score;
        int rank;
        bool shown;
    };
    for (const Case& c : {Case{0, 0, false}, Case{1, 0, true}, Case{52000, 3, true}}) {
        SCOPED_TRACE(c.score);
        PlayerManager::destroyInstance();
        PlayerManager::create(false, "test")->setBaseFolder(folder.path());
        TortelunePlayer* player = addPlayer("Anna", 5);
        player->setHintSeen("HINT_CLICK_START");
        player->score = c.score;
        player->rank = c.rank;
        enterFromSelection();
        EXPECT_EQ(c.shown, map()->getRankValueLabel()->isVisible());
        EXPECT_EQ(c.shown, map()->getScoreValueLabel()->isVisible());
        EXPECT_TRUE(RankTable::getInstance()->getRankName(c.rank) == map()->getRankValueLabel()->getText());
    }
    // Without a player the map shows neither.
    PlayerManager::destroyInstance();
    PlayerManager::create(false, "test")->setBaseFolder(folder.path());
    map()->updateRank(false);
    map()->updateScore(false);
    EXPECT_FALSE(map()->getRankValueLabel()->isVisible());
    EXPECT_FALSE(map()->getScoreValueLabel()->isVisible());
}

TEST_F(MapScenesTest, SavedGameIsOfferedAndResumedOrStartedAfresh)
{
    addPlayer("Anna", 5)->setHintSeen("HINT_CLICK_START");
    saveLevelGame(3);
    enterFromSelection();
    SceneMap* scene = map();
    EXPECT_TRUE(scene->savedLevelPending);
    EXPECT_EQ(3, scene->savedLevel);
    EXPECT_EQ(0, scene->getSelectedTheme());
    // Another level of the theme opens the level without asking.
    scene->getTheme(0)->getPastryButton()->fire();
    ASSERT_NE(nullptr, playUntil<MapSavedGameState>(3000));
    EXPECT_TRUE(scene->isDialogShown("CTEXT_START_SAVEGAME"));
    // No: the level starts afresh.
    MapSavedGameState::onStartNew(scene->getState(), nullptr);
    EXPECT_NE(nullptr, playUntil<MapStartGameState>(3000));
    EXPECT_FALSE(scene->isDialogShown("CTEXT_START_SAVEGAME"));

    frames(1500);
    enterFromSelection();
    scene->getStartButton()->fire();
    ASSERT_NE(nullptr, stateAs<MapSavedGameState>());
    MapSavedGameState::onContinueSaved(scene->getState(), nullptr);
    EXPECT_NE(nullptr, stateAs<MapStartGameState>());
    EXPECT_EQ(3, currentLevel());
    EXPECT_TRUE(objectCast<SceneGame>(SceneManager::instance->getScene("SCENE_GAME"))->resumeSavedGame);
}

TEST_F(MapScenesTest, AGameSceneDroppedWithALevelOnItsBoardIsFreedAndItsBoardHostFindsItGone)
{
    addPlayer("Anna", 5)->setHintSeen("HINT_CLICK_START");
    enterFromSelection();
    map()->getStartButton()->fire();
    frames(1500);
    auto* game = objectCast<SceneGame>(SceneManager::instance->getCurrentScene());
    ASSERT_NE(nullptr, game);
    ASSERT_NE(nullptr, game->getPhase());
    ASSERT_NE(nullptr, BoardHost::current());
    // A straggler holding on to the board's host after the board has gone.
    RefPointer<BoardHost> host(BoardHost::current());
    ASSERT_EQ(game->getAnimTree(), host->getAnimationRoot());
    RefPointer<NodeLink> sceneLink(game->getLink());

    // The level is left as it was, as when the program ends on a failure.
    SceneManager::destroyInstance();
    EXPECT_EQ(nullptr, sceneLink->node);
    EXPECT_EQ(nullptr, SceneGame::getInstance());
    EXPECT_EQ(nullptr, host->getAnimationRoot());
    EXPECT_EQ(nullptr, host->getInputListeners());
    EXPECT_EQ(nullptr, host->getFloaterLayer());
    EXPECT_EQ(nullptr, host->getScoreLabel());
    EXPECT_EQ(nullptr, host->getPastryStation());
    EXPECT_TRUE(host->isInputBlocked());
    EXPECT_FALSE(host->isPlaying());
    host->pulseTool(1);
    host->flyStarToTools(10, 10);
    host->flyStarToGoal(10, 10, 0, 0, 1.0f);
}

TEST_F(MapScenesTest, AnExitOnALostDisplayInTheMiddleOfALevelLetsTheLevelGoBeforeItsData)
{
    addPlayer("Anna", 5)->setHintSeen("HINT_CLICK_START");
    enterFromSelection();
    map()->getStartButton()->fire();
    frames(1500);
    auto* game = objectCast<SceneGame>(SceneManager::instance->getCurrentScene());
    ASSERT_NE(nullptr, game);
    // Straight into play, its pieces built on the level's data.
    game->resumeLevel();
    frames(200);
    ASSERT_NE(nullptr, dynamic_cast<PhasePlay*>(game->getPhase().get()));
    RefPointer<NodeLink> sceneLink(game->getLink());

    // No quit ran: the level is still on the board when the game data goes.
    shutDownTortelune(TorteluneMain::ExitNoDisplay, nullptr);
    EXPECT_EQ(nullptr, sceneLink->node);
    EXPECT_EQ(nullptr, SceneManager::instance);
    EXPECT_EQ(nullptr, GameData::instance);
}

TEST_F(MapScenesTest, TheSavedGameIsAskedAboutOnlyForItsOwnLevelOrTheme)
{
    struct Case {
        const char* what;
        int theme;
        int levelButton; // or kThemePastry, or kStartButton
        bool asks;
        int level;
    };
    const Case cases[] = {
        {"the saved level", 0, 3, true, 3},
        {"another level of its theme", 0, 1, false, 1},
        {"the pastry of its theme", 0, kThemePastry, true, 0},
        {"the pastry of another theme", 1, kThemePastry, false, 6},
        {"START", 0, kStartButton, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlayerManager::destroyInstance();
        PlayerManager::create(false, "test")->setBaseFolder(folder.path());
        addPlayer("Anna", 5)->setHintSeen("HINT_CLICK_START");
        saveLevelGame(3);
        enterFromSelection();
        ThemeNode* theme = map()->getTheme(c.theme);
        map()->deselectThemes();
        theme->setSelected(true);
        pressMapButton(c.theme, c.levelButton);
        EXPECT_EQ(c.asks, stateAs<MapSavedGameState>() != nullptr);
        if (!c.asks) {
            EXPECT_EQ(c.level, currentLevel());
        }
        frames(1500);
        enter("SCENE_SELECTION");
    }
}

TEST_F(MapScenesTest, OnlyASavedLevelThePlayerCanReachIsOffered)
{
    struct Case {
        int highest;
        int saved;
        int offered;
    };
    for (const Case& c : {Case{5, 6, 6}, Case{5, 7, -1}, Case{5, -2, -1}, Case{59, 60, -1}, Case{59, 59, 59},
                          Case{-1, 0, 0}}) {
        SCOPED_TRACE(std::to_string(c.highest) + " " + std::to_string(c.saved));
        PlayerManager::destroyInstance();
        PlayerManager::create(false, "test")->setBaseFolder(folder.path());
        addPlayer("Anna", c.highest);
        saveLevelGame(c.saved);
        EXPECT_EQ(c.offered, MapEntryState::readSavedLevel());
    }
}

TEST_F(MapScenesTest, NewLevelIsCelebratedAndTheNextLevelBlinksIn)
{
    addPlayer("Anna", 3)->setHintSeen("HINT_CLICK_START");
    enterFromSelection();
    returnFromLevel(4, true);
    ASSERT_NE(nullptr, stateAs<MapThemeFinishedState>());
    SceneMap* scene = map();
    EXPECT_FALSE(scene->getState()->isInputEnabled());
    EXPECT_EQ(0, scene->getTheme(1)->getCompletedCount());
    EXPECT_FALSE(scene->getTheme(1)->getLevelButton(0)->isVisible()) << "hidden until it blinks in";
    frames(3000);
    ASSERT_NE(nullptr, stateAs<MapIdleState>());
    EXPECT_EQ(1, scene->getTheme(1)->getCompletedCount());
    EXPECT_TRUE(scene->getTheme(1)->getLevelButton(0)->isVisible());
    EXPECT_TRUE(scene->getTheme(1)->getLevelButton(1)->isVisible());
    EXPECT_TRUE(scene->getTheme(1)->isSelected());
    EXPECT_FALSE(currentPlayer()->newLevelNotice);
}

TEST_F(MapScenesTest, ScrollButtonsLeaveAtOnceWhileANewLevelIsCelebrated)
{
    addPlayer("Anna", 25)->setHintSeen("HINT_CLICK_START");
    enterFromSelection();
    SceneMap* scene = map();
    ASSERT_EQ(3, scene->getPage());
    ASSERT_TRUE(scene->getScrollLeftButton()->isVisible());
    // The level won lies on the page shown: the map does not scroll.
    returnFromLevel(26, true);
    ASSERT_NE(nullptr, stateAs<MapThemeFinishedState>());
    EXPECT_FALSE(scene->getScrollLeftButton()->isVisible());
    EXPECT_FALSE(scene->getScrollLeftButton()->isEnabled());
}

TEST_F(MapScenesTest, EntryOpensThemesUpToTheEdgeOfAFinishedTheme)
{
    struct Case {
        int highest;
        bool secondOpen;
        bool firstFinished;
        int selected;
        int page;
    };
    // A theme opens, and the one before shows its mark, at the win of that theme's last level.
    for (const Case& c : {Case{2, false, false, 0, 1}, Case{3, true, true, 1, 1}, Case{22, false, false, 5, 1},
                          Case{23, true, true, 6, 3}}) {
        SCOPED_TRACE(c.highest);
        PlayerManager::destroyInstance();
        PlayerManager::create(false, "test")->setBaseFolder(folder.path());
        addPlayer("Anna", c.highest)->setHintSeen("HINT_CLICK_START");
        enterFromSelection();
        SceneMap* scene = map();
        // The theme of the last level won, and the one after it.
        const int first = c.highest / 4;
        EXPECT_EQ(c.firstFinished, scene->getTheme(first)->getPastryFinish()->isVisible());
        EXPECT_EQ(c.secondOpen, scene->getTheme(first + 1)->getPastryButton()->isVisible());
        EXPECT_EQ(c.secondOpen, scene->getTheme(first + 1)->getPastryButton()->isEnabled());
        EXPECT_EQ(c.selected, scene->getSelectedTheme());
        EXPECT_EQ(c.page, scene->getPage());
        EXPECT_EQ(c.highest % 4 + 1, scene->getTheme(first)->getCompletedCount());
        EXPECT_EQ(0, scene->getTheme(first + 1)->getCompletedCount());
    }
}

TEST_F(MapScenesTest, FinishedThemeGetsItsMarkAndTheNextThemeComesIn)
{
    addPlayer("Anna", 2)->setHintSeen("HINT_CLICK_START");
    enterFromSelection();
    SceneMap* scene = map();
    EXPECT_FALSE(scene->getTheme(1)->getPastryButton()->isVisible());
    returnFromLevel(3, true);
    // The next theme's name waits for its pastry to come in.
    EXPECT_FALSE(scene->getTheme(1)->getPastryName()->isVisible());
    frames(200);
    EXPECT_FALSE(scene->getTheme(0)->getPastryFinish()->isVisible());
    frames(5000);
    EXPECT_TRUE(scene->getTheme(0)->getPastryFinish()->isVisible());
    EXPECT_EQ(4, scene->getTheme(0)->getCompletedCount());
    EXPECT_TRUE(scene->getTheme(1)->getPastryButton()->isVisible());
    EXPECT_TRUE(scene->getTheme(1)->getPastryBoard()->isVisible());
    EXPECT_TRUE(scene->getTheme(1)->isSelected());
    // The first finished theme ends in its hint, then the map waits for a click.
    frames(3000);
    EXPECT_NE(nullptr, stateAs<MapIdleState>());
}

TEST_F(MapScenesTest, OpeningLevels24And48AnnouncesTheirTrophies)
{
    for (int trophy : {12, 13}) {
        SCOPED_TRACE(trophy);
        PlayerManager::destroyInstance();
        PlayerManager::create(false, "test")->setBaseFolder(folder.path());
        const int won = trophy == 12 ? 23 : 47;
        addPlayer("Anna", won - 1)->setHintSeen("HINT_CLICK_START");
        enterFromSelection();
        returnFromLevel(won, true);
        framesClosingTrophies(10000);
        EXPECT_EQ(2, currentPlayer()->getTrophies()->getState(trophy));
        EXPECT_EQ(-1, TrophyWatcher::instance->pendingKind);
        EXPECT_NE(nullptr, stateAs<MapIdleState>());
        EXPECT_FALSE(currentPlayer()->newLevelNotice);
    }
}

TEST_F(MapScenesTest, WinningTheLastLevelEndsTheGameInTheSelection)
{
    addPlayer("Anna", 58)->setHintSeen("HINT_CLICK_START");
    enterFromSelection();
    returnFromLevel(59, true);
    framesClosingTrophies(12000);
    EXPECT_EQ(2, currentPlayer()->getTrophies()->getState(14));
    EXPECT_TRUE(selection()->gameEndPending || SceneManager::instance->getCurrentScene() == selection());
    EXPECT_EQ(selection(), SceneManager::instance->getCurrentScene());
    // After the last theme no next theme comes in.
    EXPECT_TRUE(map()->getTheme(14)->getPastryFinish()->isVisible());
}

TEST_F(MapScenesTest, TrophyStateWaitsForABusyWatcherAndGoesOnWithNothingToAnnounce)
{
    addPlayer("Anna", 30)->setHintSeen("HINT_CLICK_START");
    enterFromSelection();
    SceneMap* scene = map();
    // Nothing of the map's kind waits: the state goes on at once.
    scene->setState(new MapTrophyState());
    EXPECT_NE(nullptr, stateAs<MapIdleState>());

    // The watcher is busy with the game's trophies: the map asks again every frame.
    currentPlayer()->getTrophies()->setState(12, 1);
    currentPlayer()->getTrophies()->setState(3, 1);
    TrophyWatcher::instance->pendingKind = TrophyWatcher::KindGameScene;
    scene->setState(new MapTrophyState());
    SceneManager::instance->run(20);
    SceneManager::instance->run(20);
    EXPECT_NE(nullptr, stateAs<MapTrophyState>());
    EXPECT_EQ(TrophyWatcher::KindGameScene, TrophyWatcher::instance->pendingKind);
    framesClosingTrophies(2000);
    EXPECT_EQ(2, currentPlayer()->getTrophies()->getState(3));
    framesClosingTrophies(2000);
    EXPECT_EQ(2, currentPlayer()->getTrophies()->getState(12));
    EXPECT_NE(nullptr, stateAs<MapIdleState>());

    // Left while the watcher still works for another caller, the state leaves
    // that caller's call back alone.
    int calledBack = 0;
    auto count = [](void* context, BaseObject*) {
        ++*static_cast<int*>(context);
        return 0;
    };
    currentPlayer()->getTrophies()->setState(3, 1);
    ASSERT_TRUE(TrophyWatcher::instance->requestAnnouncement(TrophyWatcher::KindGameScene, GuiMethod(&calledBack, count)));
    scene->setState(new MapTrophyState());
    scene->setState(new MapIdleState());
    framesClosingTrophies(2000);
    EXPECT_EQ(1, calledBack);
}

TEST_F(MapScenesTest, ThemeNodeShowsItsProgress)
{
    addPlayer("Anna", 5)->setHintSeen("HINT_CLICK_START");
    enterFromSelection();
    ThemeNode* theme = map()->getTheme(2);
    theme->setCompletedCount(4);
    theme->setUnlocked(true);
    for (int j = 0; j < ThemeNode::kLevelButtons; ++j) {
        EXPECT_TRUE(theme->getLevelButton(j)->isVisible());
        EXPECT_TRUE(theme->getLevelButton(j)->getOwnModifiers().empty());
    }
    EXPECT_TRUE(theme->getPastryFinish()->isVisible());
    theme->setUnlocked(false);
    EXPECT_FALSE(theme->getPastryButton()->isVisible());
    EXPECT_FALSE(theme->getPastryFinish()->isVisible());
    for (int j = 0; j < ThemeNode::kLevelButtons; ++j)
        EXPECT_FALSE(theme->getLevelButton(j)->isVisible());

    theme->setSelected(true);
    const size_t running = theme->getPastryHighlight()->getOwnModifiers().size();
    theme->setSelected(true);
    EXPECT_EQ(running, theme->getPastryHighlight()->getOwnModifiers().size());

    theme->setCompletedCount(2);
    theme->setUnlocked(true);
    theme->revealLevels(2, 3, map()->getAnimTree());
    frames(1500);
    EXPECT_EQ(3, theme->getCompletedCount());
    EXPECT_TRUE(theme->getLevelButton(2)->isVisible());
    EXPECT_FALSE(theme->getLevelButton(3)->isVisible());
}

TEST_F(MapScenesTest, ArcadeDoorOpensOnceAfterTheFirstWin)
{
    enter("SCENE_SELECTION");
    auto* arcade = objectCast<Button>(selection()->getComponent("BUTTON_ARCADE"));
    ASSERT_NE(nullptr, arcade);
    EXPECT_FALSE(arcade->isEnabled()) << "no player yet";
    TortelunePlayer* player = addPlayer("Anna", 0);
    enter("SCENE_MAP");
    enter("SCENE_SELECTION");
    GameNode* door = selection()->getComponent("SPRITE_DOOR");
    EXPECT_FALSE(arcade->isEnabled());
    EXPECT_FALSE(selection()->getSmoke()->isVisible());

    player->arcadeState[0] = 1;
    enter("SCENE_MAP");
    enter("SCENE_SELECTION");
    EXPECT_TRUE(player->arcadeUnlocked);
    EXPECT_TRUE(arcade->isEnabled());
    EXPECT_TRUE(door->isVisible());
    EXPECT_TRUE(selection()->getComponent("SPRITE_ARCADE0")->isVisible());
    frames(6000);
    EXPECT_FALSE(door->isVisible());
    EXPECT_TRUE(selection()->getSmoke()->isVisible());

    // Later visits show the open door without the sequence.
    enter("SCENE_MAP");
    enter("SCENE_SELECTION");
    EXPECT_FALSE(door->isVisible());
    EXPECT_FALSE(selection()->getComponent("SPRITE_ARCADE0")->isVisible());
}

// The first visit opens the curtain, reveals the first bowl and only then takes
// clicks; later a saved run is asked about from its own bowl only.
TEST_F(MapScenesTest, ArcadeTakesClicksAfterItsRevealAndAsksAboutASavedRunFromItsOwnBowl)
{
    TortelunePlayer* player = addPlayer("Anna", 10);
    player->arcadeUnlocked = true;
    for (int set = 0; set < SceneArcade::kSets; ++set)
        player->arcadeState[set] = 1;
    auto* arcade = objectCast<SceneArcade>(SceneManager::instance->registerScene("SCENE_ARCADE"));
    ASSERT_NE(nullptr, arcade);
    enter("SCENE_SELECTION");
    enter("SCENE_ARCADE");
    for (int set = 0; set < SceneArcade::kSets; ++set)
        ASSERT_NE(nullptr, arcade->getBowl(set)) << set;
    EXPECT_FALSE(arcade->getBowl(0)->isEnabled()) << "the first bowl waits for its reveal";
    EXPECT_FALSE(arcade->getBowl(0)->isInputEnabled());
    frames(8000);
    EXPECT_TRUE(arcade->getBowl(0)->isEnabled());
    EXPECT_EQ(1, player->numArcadeVisits);
    for (int set = 0; set < SceneArcade::kSets; ++set)
        EXPECT_TRUE(arcade->getBowl(set)->isInputEnabled()) << set;

    GameData::instance->state->mode = 1;
    GameData::instance->startLevel(2);
    PropertyStore store;
    GameData::instance->saveGame(&store);
    ASSERT_TRUE(PlayerManager::getInstance()->saveGameState("ARCADE", player->getName(), store));
    enter("SCENE_GAME");
    enter("SCENE_ARCADE");
    frames(200);
    ASSERT_TRUE(arcade->hasSaved());
    EXPECT_TRUE(arcade->getBowl(0)->isEnabled());
    SceneArcade::onBowl(arcade, arcade->getBowl(1));
    EXPECT_TRUE(arcade->isDialogShown("DIALOG_ARCADE_INFO"));
    EXPECT_FALSE(arcade->isDialogShown("CTEXT_START_SAVEGAME")) << "another set than the saved run's";
    if (Dialog* info = arcade->getDialog("DIALOG_ARCADE_INFO"))
        arcade->forgetDialog(info);
    SceneArcade::onBowl(arcade, arcade->getBowl(2));
    EXPECT_TRUE(arcade->isDialogShown("CTEXT_START_SAVEGAME"));
}

TEST_F(MapScenesTest, BalloonsShowOnlyOnceTheLastLevelIsWon)
{
    TortelunePlayer* player = addPlayer("Anna", 58);
    enter("SCENE_SELECTION");
    EXPECT_FALSE(selection()->getBalloon(0)->isVisible());
    player->highestLevelReached = 59;
    selection()->updatePlayer();
    for (int i = 0; i < SceneSelection::kBalloonCount; ++i)
        EXPECT_TRUE(selection()->getBalloon(i)->isVisible());
}

} // namespace
