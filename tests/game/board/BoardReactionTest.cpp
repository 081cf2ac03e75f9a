#include "BoardFixture.h"

#include <algorithm>

#include "framework/core/PropertyNode.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/players/PlayerManager.h"
#include "game/board/BonusSprite.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DialogHint.h"
#include "game/production/Pastry.h"
#include "game/scenes/HintManager.h"

namespace {

// The fake host with the tool slots' star flight and the score label.
class ToolHost : public FakeBoardHost {
public:
    void flyStarToTools(int x, int y) override { stars.push_back({x, y}); }
    GameNode* getScoreLabel() override { return scoreLabel.get(); }

    std::vector<std::pair<int, int>> stars;
    RefPointer<GameNode> scoreLabel {new GameNode("LABEL_SCORE")};
};

// A career board with a player who wants hints, the real hint catalogue and a
// plain scene in which the hint dialog opens.
class BoardReactionTest : public BoardTest {
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        tools = new ToolHost();
        tools->scoreLabel->setPosition(640, 20);
        tools->setPastryStation(station.get());
        host = tools;
        PlayerManager::create(false, "1.0");
        player = new TortelunePlayer("Ann");
        PlayerManager::getInstance()->addPlayer(player.get());
        player->showHints = true;
        HintManager::create();
        SceneManager::create();
        RefPointer<PropertyNode> layout(new PropertyNode("SCENE_BOARD", "Scene"));
        scene = new Scene(layout.get());
        SceneManager::instance->setNextScene(scene.get());
        SceneManager::instance->run(20);
        ASSERT_EQ(SceneManager::instance->getCurrentScene(), scene.get());
    }
    void TearDown() override
    {
        grid.reset();
        cells().clear();
        SceneManager::destroyInstance();
        scene.reset();
        HintManager::destroyInstance();
        player.reset();
        PlayerManager::destroyInstance();
        BoardTest::TearDown();
    }
    DialogHint* shownHint() const
    {
        return scene->isDialogShown("DIALOG_HINT") ? objectCast<DialogHint>(scene->getDialog("DIALOG_HINT")) : nullptr;
    }
    void closeHint()
    {
        ASSERT_NE(shownHint(), nullptr);
        scene->hideDialog(shownHint());
        ASSERT_EQ(shownHint(), nullptr);
    }
    int trophy(int index) const { return player->getTrophies()->getState(index); }

    RefPointer<ToolHost> tools;
    RefPointer<TortelunePlayer> player;
    RefPointer<Scene> scene;
};

TEST_F(BoardReactionTest, TheFastGameToolPulsesWhileTheBoardMovesInCareerPlayOnly)
{
    session().toolIds[1] = 9;
    // A full board without runs that still has a move.
    setBoard({"ababaeef", "cdcdcdce", "abababab", "cdcdcdcd", "abababab", "cdcdcdcd", "abababab", "cdcdcdcd"});
    buildGrid();
    frame();
    EXPECT_TRUE(tools->pulses.empty()) << "an idle board";
    cells().cellAt(1, 1)->setState(CellSprite::Swapping);
    frame();
    frame();
    EXPECT_EQ(tools->pulses, (std::vector<int> {9, 9}));
    data->state->mode = 1;
    frame();
    data->state->mode = 0;
    EXPECT_EQ(tools->pulses.size(), 2u) << "not in the arcade";
}

TEST_F(BoardReactionTest, TheRemovalsToolsReactThroughTheHost)
{
    struct Case {
        const char* name;
        int tool;
        std::vector<std::string> rows;
        int mode;
        std::vector<int> pulses;
        size_t stars;
        int particleAmount; // 0: none
    };
    const std::vector<Case> cases = {
        {"star tool, run of five: pulse and a star", 13, {"aaaaab"}, 0, {13}, 1, 0},
        {"star tool, run of four: nothing", 13, {"aaaab"}, 0, {}, 0, 0},
        {"score tool: pulse and particles to the score", 2, {"aaab"}, 0, {2}, 0, 75},
        {"score tool in the arcade: nothing", 2, {"aaab"}, 1, {}, 0, 0},
        {"star tool in the arcade: nothing", 13, {"aaaaab"}, 1, {}, 0, 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        tools->pulses.clear();
        tools->particles.clear();
        tools->stars.clear();
        data->state->mode = test.mode;
        session().toolIds[0] = test.tool;
        setBoard(test.rows);
        buildGrid(200, 150);
        grid->removeMatches();
        data->state->mode = 0;
        EXPECT_EQ(tools->pulses, test.pulses);
        ASSERT_EQ(tools->stars.size(), test.stars);
        if (test.stars == 1) {
            // From the middle of the run's tiles.
            EXPECT_EQ(tools->stars[0], std::make_pair(200 + 2 * 50 + 25, 150 - 25));
        }
        if (test.particleAmount) {
            ASSERT_EQ(tools->particles.size(), 1u);
            EXPECT_EQ(tools->particles[0], (std::array<int, 3> {test.tool, 640, test.particleAmount}));
        } else {
            EXPECT_TRUE(tools->particles.empty());
        }
        grid.reset();
    }
}

TEST_F(BoardReactionTest, TheZapToolPulsesAndSendsItsParticlesToTheZappedTile)
{
    session().toolIds[0] = 8;
    std::vector<std::string> rows = {"aaabcbcb", "dadadada", "cbcbcbcb", "adadadad",
                                     "bcbcbcbc", "dadadada", "cbcbcbcb", "adadadad"};
    setBoard(rows);
    buildGrid(0, 0);
    cells().cellAt(0, 0)->swapped = true;
    grid->removeMatches();
    EXPECT_EQ(tools->pulses, std::vector<int> {8});
    ASSERT_EQ(tools->particles.size(), 1u);
    EXPECT_EQ(tools->particles[0][0], 8);
    EXPECT_EQ(tools->particles[0][2], 70);
    // The particles go to the one tile that pops beside the run.
    int zapped = 0;
    cells().forEach([&](int c, int r, CellSprite* tile) {
        if (!(r == 0 && c < 3) && tile->getState() == CellSprite::Leaving) {
            ++zapped;
            EXPECT_EQ(tools->particles[0][1], c * cellWidth());
        }
    });
    EXPECT_EQ(zapped, 1);
    // The zone spared reaches one column left of the run and one row above
    // it: with every tile outside it a bonus, nothing is zapped.
    tools->pulses.clear();
    tools->particles.clear();
    grid.reset();
    setBoard({"********", "********", "**bc****", "**ba****", "**ca****", "**da****", "********", "********"});
    buildGrid(0, 0);
    cells().cellAt(3, 3)->swapped = true;
    grid->removeMatches();
    EXPECT_TRUE(tools->pulses.empty());
    EXPECT_TRUE(tools->particles.empty());
}

TEST_F(BoardReactionTest, TheComboTrophyIsEarnedAtItsValueAndNotOneBelow)
{
    const int needed = tuning().TROPHYVALUE_COMBOQUEEN;
    ASSERT_GT(needed, 1);
    buildGrid();
    // A run the player made is no step of the chain.
    setBoard({"aaab"});
    cells().cellAt(0, 0)->swapped = true;
    grid->removeMatches();
    // Each cascade run grows the move's combo count by one.
    for (int run = 1; run <= needed; ++run) {
        SCOPED_TRACE(run);
        setBoard({"aaab"});
        grid->removeMatches();
        EXPECT_EQ(grid->getComboCount(), run);
        EXPECT_EQ(trophy(10), run >= needed ? Trophy::Earned : Trophy::NotEarned);
    }
    // An announced trophy is never lowered again.
    player->getTrophies()->setState(10, Trophy::Announced);
    setBoard({"aaab"});
    grid->removeMatches();
    EXPECT_EQ(trophy(10), Trophy::Announced);
}

TEST_F(BoardReactionTest, BothToolSlotsFilledEarnTheToolsTrophyOnAMatch)
{
    struct Case {
        int slot0, slot1;
        int expected;
    };
    const Case cases[] = {{-1, -1, 0}, {3, -1, 0}, {-1, 5, 0}, {3, 5, 1}};
    buildGrid();
    for (const Case& test : cases) {
        SCOPED_TRACE(std::to_string(test.slot0) + "," + std::to_string(test.slot1));
        player->getTrophies()->setState(0, Trophy::NotEarned);
        player->toolSlots = {test.slot0, test.slot1};
        setBoard({"abab"});
        grid->removeMatches();
        EXPECT_EQ(trophy(0), 0) << "no match, no trophy";
        setBoard({"aaab"});
        grid->removeMatches();
        EXPECT_EQ(trophy(0), test.expected);
    }
}

TEST_F(BoardReactionTest, ConveyorLevelsMultiplyWhatTheBeltsFirstTwoPastriesNeed)
{
    data->state->mode = 1;
    data->state->arcadeManager.selectLevel(0);
    setContents({{"egg", 10}, {"cream", 10}, {"strawberry", 10}, {"biscuit", 10}});
    Level& level = data->getCurrentLevel();
    level.percentX3 = 20.0f;
    level.percentX5 = 20.9f;
    const auto& recipes = data->state->cookbook.getRecipes();
    ASSERT_GE(recipes.size(), 3u);
    std::map<std::string, int> sums;
    for (int i = 1; i <= 2; ++i)
        for (const RecipeIngredient& part : recipes[static_cast<size_t>(i)]->getIngredients())
            sums[part.name] += part.amount;
    std::string needed;
    int best = 0;
    for (const auto& [name, sum] : sums)
        if (sum > best)
            best = sum, needed = name;
    buildGrid();
    // The belt's plates, front first; the third pastry does not count.
    EXPECT_EQ(cells().mostNeededIngredient(), "") << "an empty belt";
    for (int i = 1; i <= 3; ++i)
        data->state->conveyorBelt.addSpot(new Spot(new Pastry(recipes[static_cast<size_t>(i)].get())));
    EXPECT_EQ(cells().mostNeededIngredient(), needed);
    std::map<int, int> byMultiplier;
    for (int i = 0; i < 400; ++i) {
        CellSprite* tile = cells().createCell(0, 0, std::string(), true);
        ++byMultiplier[tile->getMultiplier()];
        if (tile->getMultiplier() > 1) {
            EXPECT_EQ(tile->getIngredient(), needed);
        }
    }
    // 20 % each (20.9 truncated to 20 before the sum).
    EXPECT_NEAR(byMultiplier[3] / 400.0, 0.2, 0.06);
    EXPECT_NEAR(byMultiplier[5] / 400.0, 0.2, 0.06);
    data->state->conveyorBelt.reset();
    data->state->mode = 0;
}

TEST_F(BoardReactionTest, AStagedUnripeFruitShowsItsHintOnceWhereItStands)
{
    data->getCurrentLevel().customerName = "CUSTOMER_ANNA";
    setContents({{"egg", 10}, {"cream", 10}, {"strawberry", 10}, {"cherry", 10}});
    data->getCurrentLevel().ingredients[3].unripeChance = 5;
    cells().fill();
    CellSprite* staged = nullptr;
    int askingTiles = 0;
    cells().forEach([&](int, int r, CellSprite* tile) {
        if (r >= 0 && tile->showHints) {
            ++askingTiles;
            staged = staged ? staged : tile;
        }
    });
    ASSERT_NE(staged, nullptr);
    EXPECT_EQ(staged->firstTimeHint(), "HINT_UNRIPECHERRY");
    // The level start lets the tiles fall in; the first staged one to land shows the hint.
    buildGrid(200, 150);
    grid->showCells();
    for (int i = 0; i < 400 && !grid->allCellsIdle(); ++i)
        frame(20);
    ASSERT_TRUE(grid->allCellsIdle());
    DialogHint* hint = shownHint();
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->hintName, "HINT_UNRIPECHERRY");
    EXPECT_TRUE(player->hasSeenHint("HINT_UNRIPECHERRY"));
    if (askingTiles == 1) {
        // The hand points at the tile from the side of the board's middle.
        ASSERT_NE(hint->getHand(), nullptr);
        const bool upper = staged->getRow() < boardKeys().gridHeight / 2;
        EXPECT_EQ(hint->getHand()->getX(), staged->getAbsoluteX() + (upper ? 25 : 30));
        EXPECT_EQ(hint->getHand()->getY(), staged->getAbsoluteY() - (upper ? 30 : 5));
    }
    closeHint();
    // Play starts: the placement pass finds the hint seen and shows nothing more.
    grid->runPlacementPass();
    EXPECT_EQ(shownHint(), nullptr);
    EXPECT_EQ(std::count(player->seenHints.begin(), player->seenHints.end(), "HINT_UNRIPECHERRY"), 1);
}

TEST_F(BoardReactionTest, ThePlacementPassShowsAHintTheLandingCouldNot)
{
    // The hint dialog was busy when the tiles landed: play's placement pass shows the bonus's hint.
    setContents({{"egg", 10}, {"cream", 10}, {"strawberry", 10}, {"row zap bonus", 1}});
    data->getCurrentLevel().customerName = "CUSTOMER_ANNA";
    cells().fill();
    const std::string bonusHint = "HINT_" + ingredientWord("row zap bonus");
    buildGrid();
    HintManager::instance->showHint("HINT_SWAP");
    ASSERT_NE(shownHint(), nullptr);
    cells().forEach([](int, int, CellSprite* tile) { tile->onLanded(); });
    EXPECT_FALSE(player->hasSeenHint(bonusHint));
    EXPECT_EQ(player->seenBonus.count("row zap bonus"), 1u) << "the bonus counts as met when it lands";
    closeHint();
    grid->runPlacementPass();
    ASSERT_NE(shownHint(), nullptr);
    EXPECT_EQ(shownHint()->hintName, bonusHint);
    closeHint();
    grid->runPlacementPass();
    EXPECT_EQ(shownHint(), nullptr) << "once only";
}

TEST_F(BoardReactionTest, OnlyStagedTilesAskForHintsAndRestoredTilesNever)
{
    struct Case {
        const char* name;
        std::string ingredient;
        bool unripe;
        bool staged;
        bool restored;
        int ripeningTool;
        std::string expected; // the hint shown on landing, or none
    };
    const std::vector<Case> cases = {
        {"a staged unripe banana", "banana", true, true, false, -1, "HINT_UNRIPEBANANA"},
        {"an unripe cherry the fill did not stage", "cherry", true, false, false, -1, ""},
        {"a staged unripe cherry and the ripening tool", "cherry", true, true, false, 0, ""},
        {"a staged new bonus", "column zap bonus", false, true, false, -1, "HINT_" + ingredientWord("column zap bonus")},
        {"a bonus restored from a save", "column zap bonus", false, true, true, -1, ""},
        {"a ripe ingredient", "egg", false, true, false, -1, ""},
    };
    buildGrid();
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        player->seenHints.clear();
        session().toolIds[0] = test.ripeningTool;
        cells().clear();
        RefPointer<CellSprite> tile;
        if (test.restored) {
            RefPointer<PropertyNode> saved(new PropertyNode("cell", "BonusSprite"));
            BonusSprite(6, 6, test.ingredient).saveState(saved.get());
            tile = new BonusSprite(saved.get());
            tile->showHints = true;
        } else if (isBonusName(test.ingredient)) {
            tile = cells().createCell(6, 6, test.ingredient, true);
            tile->showHints = test.staged;
        } else {
            tile = new CellSprite(6, 6, test.ingredient, test.unripe, 1);
            tile->showHints = test.staged;
        }
        tile->onLanded();
        DialogHint* hint = shownHint();
        EXPECT_EQ(hint ? hint->hintName : std::string(), test.expected);
        if (hint)
            closeHint();
        EXPECT_TRUE(tile->hasLanded());
    }
    session().toolIds[0] = -1;
}

TEST_F(BoardReactionTest, BonusesRestoredFromASavedBoardHaveLandedAndLandQuietly)
{
    session().toolIds[0] = 3;
    session().toolIds[1] = 6;
    player->toolSlots = {3, 6};
    buildGrid();
    cells().clear();
    for (const auto& [column, name] : std::vector<std::pair<int, std::string>> {
             {1, "star +1 bonus"}, {2, "star +5 bonus"}, {3, "column zap bonus"}, {4, "egg"}}) {
        RefPointer<CellSprite> tile = cells().createCell(column, 3, name, true);
        ASSERT_NE(tile.get(), nullptr) << name;
        tile->toolPlaced = true;
        tile->showHints = true;
    }
    RefPointer<PropertyNode> saved(new PropertyNode("gridwrapper", "GridWrapper"));
    cells().save(saved.get());
    cells().load(saved.get());

    int restored = 0;
    cells().forEach([&](int column, int row, CellSprite* tile) {
        SCOPED_TRACE(tile->getIngredient());
        ++restored;
        EXPECT_EQ(row, 3);
        EXPECT_EQ(tile->isBonus(), column != 4);
        EXPECT_TRUE(tile->hasLanded()) << "a restored tile has landed before";
        tile->onLanded();
    });
    EXPECT_EQ(restored, 4);
    EXPECT_TRUE(tools->pulses.empty()) << "no tool reacts to a restored bonus";
    EXPECT_TRUE(tools->particles.empty());
    EXPECT_EQ(shownHint(), nullptr) << "neither the bonus's hint nor the tools hint";
    EXPECT_FALSE(player->toolsHintArmed);
    EXPECT_EQ(player->seenBonus.count("star +1 bonus"), 0u);

    // The same bonus made afresh does react on its first landing.
    RefPointer<CellSprite> fresh = cells().createCell(5, 3, "star +1 bonus", true);
    ASSERT_NE(fresh.get(), nullptr);
    EXPECT_FALSE(fresh->hasLanded());
    fresh->onLanded();
    EXPECT_EQ(tools->pulses, std::vector<int> {6});
    session().toolIds[0] = -1;
    session().toolIds[1] = -1;
}

TEST_F(BoardReactionTest, LandingBonusesPulseTheirToolsAndTheToolsHintWaitsForBothSlots)
{
    player->setHintSeen("HINT_" + ingredientWord("star +1 bonus"));
    player->setHintSeen("HINT_" + ingredientWord("row zap bonus"));
    session().toolIds[0] = 3;
    session().toolIds[1] = 6;
    buildGrid();
    RefPointer<CellSprite> placed = cells().createCell(2, 2, "row zap bonus", true);
    placed->toolPlaced = true;
    RefPointer<CellSprite> star = cells().createCell(4, 4, "star +1 bonus", true);
    RefPointer<CellSprite> plain = cells().createCell(5, 5, "row zap bonus", true);
    // Neither slot chosen on the profile: the tools hint is not armed.
    player->toolSlots = {-1, 6};
    placed->onLanded();
    EXPECT_EQ(shownHint(), nullptr);
    EXPECT_EQ(tools->pulses, std::vector<int> {3});
    ASSERT_EQ(tools->particles.size(), 1u);
    EXPECT_EQ(tools->particles[0], (std::array<int, 3> {3, placed->getX(), 100}));
    star->onLanded();
    EXPECT_EQ(tools->pulses, (std::vector<int> {3, 6}));
    plain->onLanded();
    EXPECT_EQ(tools->pulses.size(), 2u) << "an unmarked bonus lets tool 3 rest";
    // Both slots chosen: the next landing tile arms and shows the tools hint.
    player->toolSlots = {3, 6};
    RefPointer<CellSprite> egg(new CellSprite(0, 0, "egg", false, 1));
    egg->onLanded();
    ASSERT_NE(shownHint(), nullptr);
    EXPECT_EQ(shownHint()->hintName, "HINT_TOOLS");
    EXPECT_TRUE(player->toolsHintArmed);
    // In the arcade no tool reacts.
    closeHint();
    data->state->mode = 1;
    tools->pulses.clear();
    RefPointer<CellSprite> arcadeStar = cells().createCell(3, 3, "star +1 bonus", true);
    arcadeStar->toolPlaced = true;
    arcadeStar->onLanded();
    data->state->mode = 0;
    EXPECT_TRUE(tools->pulses.empty());
}

} // namespace

namespace {

TEST_F(BoardReactionTest, TheRipeningToolRipensUnripeTilesAsTheyLandInCareerPlay)
{
    struct Case {
        const char* name;
        int mode;
        bool restored;
        bool ripened;
    };
    const Case cases[] = {
        {"career: ripe at once, the tool pulses", 0, false, true},
        {"arcade: stays unripe", 1, false, false},
        {"a tile restored from a save has landed before", 0, true, false},
    };
    session().toolIds[1] = 0;
    buildGrid();
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        tools->pulses.clear();
        tools->particles.clear();
        data->state->mode = test.mode;
        RefPointer<CellSprite> tile;
        if (test.restored) {
            RefPointer<PropertyNode> saved(new PropertyNode("cell", "CellSprite"));
            CellSprite(3, 3, "cherry", true, 1).saveState(saved.get());
            tile = new CellSprite(saved.get());
        } else {
            tile = new CellSprite(3, 3, "cherry", true, 1);
        }
        cells().eraseCell(3, 3);
        cells().putCell(tile.get(), 3, 3);
        GameNode::addChild(grid->getCellNode(3, 3), tile.get());
        tile->onLanded();
        data->state->mode = 0;
        EXPECT_EQ(tile->isUnripe(), !test.ripened);
        EXPECT_EQ(tools->pulses, test.ripened ? std::vector<int> {0} : std::vector<int> {});
        if (test.ripened) {
            ASSERT_EQ(tools->particles.size(), 1u);
            EXPECT_EQ(tools->particles[0], (std::array<int, 3> {0, tile->getX(), 100}));
        }
    }
}

} // namespace
