#include "BoardFixture.h"

#include "framework/core/BasicProperties.h"
#include "game/data/TuningTable.h"

namespace {

// Rows below the hand-made ones hold no runs and stay put.
const std::vector<std::string> kCalmRows = {"abcdabcd", "cdabcdab", "abcdabcd", "cdabcdab"};

TEST_F(BoardTest, RemovalScoresEachRunByLengthTimesTheMultiplier)
{
    session().toolIds[0] = 2;
    session().multiplierScore = 1.5f;
    setBoard({"aaaaaaaa", "bcbcbcbc", "ddd.eeee"});
    buildGrid();
    grid->removeMatches();
    // 8 scores as 7: 250; 3: 30; 4: 60; each times 1.5.
    EXPECT_EQ(session().score, 375 + 45 + 90);
    EXPECT_EQ(session().matches, (std::map<int32_t, int32_t> {{3, 1}, {4, 1}, {8, 1}}));
    EXPECT_EQ(host->sounds, std::vector<std::string> {"SOUND_MATCH7"});
    EXPECT_EQ(grid->getComboCount(), 3);
}

TEST_F(BoardTest, RemovalDeliversEveryIngredientInRunOrder)
{
    setBoard({"aaab", "cdcd", "eee."});
    cells().eraseCell(1, 2);
    cells().putCell(new CellSprite(1, 2, "chocolate", false, 5), 1, 2);
    cells().eraseCell(1, 0);
    cells().putCell(new CellSprite(1, 0, "egg", true, 1), 1, 0);
    buildGrid(100, 80);
    data->state->bonusMeter.setFill(50.0f);
    grid->removeMatches();
    std::vector<std::string> seen;
    for (const auto& d : station->deliveries)
        seen.push_back(d.cell.ingredient + "@" + std::to_string(d.cell.column) + "," + std::to_string(d.cell.row) +
                       " #" + std::to_string(d.index) + "/" + std::to_string(d.length) + (d.unripe ? " unripe" : "") +
                       " (" + std::to_string(d.x) + "," + std::to_string(d.y) + ")");
    EXPECT_EQ(seen, (std::vector<std::string> {
                        "egg@0,0 #0/3 unripe (100,80)", "egg@1,0 #1/3 unripe (150,80)",
                        "egg@2,0 #2/3 unripe (200,80)", "chocolate@0,2 #0/3 (100,180)",
                        "chocolate@1,2 #1/3 (150,180)", "chocolate@1,2 #2/3 (150,180)",
                        "chocolate@1,2 #3/3 (150,180)", "chocolate@1,2 #4/3 (150,180)",
                        "chocolate@1,2 #5/3 (150,180)", "chocolate@2,2 #6/3 (200,180)"}));
    EXPECT_EQ(host->sounds, (std::vector<std::string> {"SOUND_MATCH3", "SOUND_MATCH_X5", "SOUND_MATCH_UNRIPE"}));
    // The unripe penalty is taken once per unripe run.
    const float expected = std::max(static_cast<float>(tuning().BONUS_MIN),
                                    50.0f - static_cast<float>(std::abs(tuning().BONUS_MATCHUNRIPE)));
    EXPECT_FLOAT_EQ(data->state->bonusMeter.getFill(), expected);
}

TEST_F(BoardTest, RemovedTilesLeaveTheModelWhenTheirAnimationEnds)
{
    std::vector<std::string> rows = {"aaab"};
    rows.insert(rows.end(), kCalmRows.begin(), kCalmRows.end());
    setBoard(rows);
    buildGrid();
    host->setPastryStation(nullptr);
    grid->removeMatches();
    ASSERT_TRUE(tilesAt({{0, 0}, {1, 0}, {2, 0}}));
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(cells().cellAt(c, 0)->getState(), CellSprite::Leaving);
    const int removal = scaledDuration(tuning().REMOVE_FADE_DELAY) + scaledDuration(tuning().REMOVE_FADE_DURATION);
    for (int t = 0; t <= removal + 40; t += 20) {
        Modifier::updateTree(host->animTree.get(), 20);
    }
    for (int c = 0; c < 3; ++c)
        EXPECT_TRUE(cells().isEmpty(c, 0)) << c;
    EXPECT_FALSE(cells().isEmpty(3, 0));
    // Without a station nothing was delivered, and the removal still played.
    EXPECT_EQ(host->sounds, std::vector<std::string> {"SOUND_MATCH3"});
}

TEST_F(BoardTest, ASwapMarksTheTileWhoseNewPlaceRunsAndMovesBothAtOnceInTheModel)
{
    setBoard({"ba", "ac", "ad"});
    buildGrid();
    ASSERT_TRUE(grid->isValidSwap(1, 0, 0, 0));
    grid->swapCells(1, 0, 0, 0);
    EXPECT_EQ(boardRows()[0].substr(0, 2), "ab");
    ASSERT_TRUE(tilesAt({{0, 0}, {1, 0}}));
    RefPointer<CellSprite> moved = cells().getCell(0, 0);
    EXPECT_TRUE(moved->swapped);
    EXPECT_FALSE(cells().cellAt(1, 0)->swapped);
    EXPECT_EQ(moved->getColumn(), 0);
    EXPECT_EQ(moved->getState(), CellSprite::Swapping);
    // Moving left, the tiles change parent when the swap ends.
    EXPECT_EQ(moved->getParent(), grid->getCellNode(1, 0));
    EXPECT_EQ(host->sounds, std::vector<std::string> {"SOUND_SWAP"});
    for (int i = 0; i < 30; ++i)
        Modifier::updateTree(host->animTree.get(), 20);
    EXPECT_EQ(moved->getState(), CellSprite::Idle);
    EXPECT_EQ(moved->getParent(), grid->getCellNode(0, 0));
    EXPECT_EQ(moved->getX(), 0);
    EXPECT_FLOAT_EQ(moved->getScale(), 1.0f);
    // The removal counts the player's own run as direct: no combo.
    grid->removeMatches();
    EXPECT_EQ(grid->getComboCount(), 0);
}

TEST_F(BoardTest, AnInvalidSwapTravelsThereAndBackAndLeavesTheModelAlone)
{
    setBoard({"ab", "cd"});
    buildGrid();
    const auto before = boardRows();
    EXPECT_FALSE(grid->isValidSwap(0, 0, 1, 0));
    EXPECT_FALSE(grid->isValidSwap(0, 0, 1, 1)); // diagonal
    RefPointer<CellSprite> first = cells().getCell(0, 0);
    grid->invalidSwap(0, 0, 1, 0);
    EXPECT_EQ(first->getState(), CellSprite::Bouncing);
    // Raised and moving right, it draws above the other under the neighbour's node.
    EXPECT_EQ(first->getParent(), grid->getCellNode(1, 0));
    EXPECT_EQ(host->sounds, std::vector<std::string> {"SOUND_INVALIDSWAP"});
    const int total = 2 * scaledDuration(tuning().INVALID_SWAP_DURATION);
    int elapsed = 0;
    while (first->getState() != CellSprite::Idle && elapsed < 5000) {
        Modifier::updateTree(host->animTree.get(), 10);
        elapsed += 10;
    }
    // A step that ends starts its follower in the same frame.
    EXPECT_GE(elapsed, total - 20);
    EXPECT_LE(elapsed, total + 30);
    EXPECT_EQ(first->getParent(), grid->getCellNode(0, 0));
    EXPECT_EQ(first->getX(), 0);
    EXPECT_EQ(boardRows(), before);
    EXPECT_EQ(session().score, 0);
}

TEST_F(BoardTest, ColumnsRefillOneTileAtATimeAfterTheirDelay)
{
    std::vector<std::string> rows = {"abcdabcd", "cdabcdab", "abcdabcd", "cdabcdab",
                                     "abcdabcd", "cdabcdab", "abcdabcd", "cdabcdab"};
    for (std::string& row : rows)
        row[3] = '.';
    setBoard(rows);
    setContents({{"cherry", 1}, {"lemon", 1}, {"banana", 1}});
    buildGrid();
    std::vector<int> spawnTimes;
    RefPointer<CellSprite> lastSpawn;
    const int delay = tuning().REPLENISH_DELAY;
    for (int t = 20; t <= 3000 && spawnTimes.size() < 8; t += 20) {
        frame(20);
        const RefPointer<CellSprite>& spawned = cells().cellAt(3, -1);
        if (spawned && spawned != lastSpawn) {
            spawnTimes.push_back(t);
            lastSpawn = spawned;
        }
        for (int c = 0; c < 8; ++c) {
            if (c != 3) {
                EXPECT_TRUE(cells().isEmpty(c, -1)) << "column " << c << " spawned at " << t;
            }
        }
    }
    ASSERT_EQ(spawnTimes.size(), 8u);
    // The first tile comes in the frame after the one where the column's
    // delay ran out (the refill looks before the timers move); each later
    // one at least a delay after.
    ASSERT_EQ(delay % 20, 0);
    EXPECT_EQ(spawnTimes[0], delay + 20);
    for (size_t i = 1; i < spawnTimes.size(); ++i)
        EXPECT_GE(spawnTimes[i] - spawnTimes[i - 1], delay) << i;
    EXPECT_TRUE(runToRest());
}

TEST_F(BoardTest, ZeroBoardKeysAreReplacedAndLogged)
{
    BasicProperties::instance->setInt("CELL_WIDTH", 0);
    BasicProperties::instance->setInt("GRID_WIDTH", 0);
    BasicProperties::instance->setInt("REPLENISH_DELAY", -5);
    loadTuning(*BasicProperties::instance);
    EXPECT_EQ(boardKeys().cellWidth, 50);
    EXPECT_EQ(boardKeys().gridWidth, 8);
    EXPECT_EQ(boardKeys().replenishDelay, 60);
    EXPECT_TRUE(log.contains("CELL_WIDTH"));
    buildGrid();
    int column = 0, row = 0;
    EXPECT_TRUE(grid->screenToCell(200, 150, column, row));
    // A speed factor of 2 or more makes durations 0, never negative.
    session().toolIds[0] = 9;
    session().multiplierAnimationFastGame = 2.5f;
    EXPECT_EQ(scaledDuration(400), 0);
    session().multiplierAnimationFastGame = 1.5f;
    EXPECT_EQ(scaledDuration(400), 200);
}

TEST_F(BoardTest, GridNodesAndScreenPoints)
{
    buildGrid(200, 150);
    EXPECT_EQ(gridNode->getChildCount(), 9 * 8);
    EXPECT_EQ(gridNode->getFirstChild(), grid->getCellNode(0, -1));
    for (const auto& [c, r] : {std::pair {0, 8}, std::pair {8, 0}, std::pair {0, -2}, std::pair {-1, 0}})
        EXPECT_EQ(grid->getCellNode(c, r), nullptr) << c << "," << r;
    int column = 0, row = 0;
    EXPECT_FALSE(grid->screenToCell(199, 150, column, row));
    EXPECT_EQ(column, -1);
    EXPECT_FALSE(grid->screenToCell(200, 150 - 50 - 1, column, row));
    EXPECT_EQ(row, -1);
    EXPECT_TRUE(grid->screenToCell(200, 150 - 50, column, row));
    EXPECT_EQ(row, 0);
    // The last pixel of the last column and row is on the board, one further is not.
    EXPECT_TRUE(grid->screenToCell(200 + 8 * 50 - 1, 150 + 7 * 50 - 1, column, row));
    EXPECT_EQ(column, 7);
    EXPECT_EQ(row, 7);
    EXPECT_FALSE(grid->screenToCell(200 + 8 * 50, 150, column, row));
    EXPECT_FALSE(grid->screenToCell(200, 150 + 7 * 50, column, row));
    EXPECT_TRUE(grid->screenToCell(200 + 49, 150 - 1, column, row));
    EXPECT_EQ(column, 0);
    EXPECT_EQ(row, 0);
    // An empty board is idle, not full, and has no gap unless the spawn row holds a cell.
    cells().clear();
    EXPECT_TRUE(grid->allCellsIdle());
    EXPECT_FALSE(grid->isFull());
    EXPECT_FALSE(grid->hasFallingGap());
    cells().putCell(new CellSprite(2, -1, "egg", false, 1), 2, -1);
    EXPECT_TRUE(grid->hasFallingGap());
}

TEST_F(BoardTest, GravityStopsAboveABusyTile)
{
    setBoard({"a", "b", "c", "."});
    buildGrid();
    ASSERT_TRUE(tilesAt({{0, 1}}));
    cells().cellAt(0, 1)->setState(CellSprite::Swapping);
    grid->dropCells();
    EXPECT_TRUE(cells().isEmpty(0, 2));
    // The strawberry falls to the bottom; the cream and the egg above it wait.
    ASSERT_TRUE(tilesAt({{0, 7}, {0, 1}, {0, 0}}));
    EXPECT_EQ(cells().cellAt(0, 7)->getIngredient(), "strawberry");
    EXPECT_EQ(cells().cellAt(0, 7)->getState(), CellSprite::Falling);
    EXPECT_EQ(cells().cellAt(0, 7)->getParent(), grid->getCellNode(0, 7));
    EXPECT_EQ(cells().cellAt(0, 1)->getIngredient(), "cream");
    EXPECT_EQ(cells().cellAt(0, 0)->getIngredient(), "egg");
}

} // namespace

namespace {

// A tile already on its way down takes a gap that opens below its target:
// gravity that passes falling tiles by leaves a hole under them.
TEST_F(BoardTest, GravityMovesATileThatIsAlreadyFalling)
{
    setBoard({"a", "b", ".", ".", ".", ".", ".", "c"});
    buildGrid();
    grid->dropCells();
    RefPointer<CellSprite> egg = cells().getCell(0, 5);
    RefPointer<CellSprite> cream = cells().getCell(0, 6);
    ASSERT_TRUE(egg && cream);
    EXPECT_EQ(cream->getIngredient(), "cream");
    for (int i = 0; i < 3; ++i)
        Modifier::updateTree(host->animTree.get(), 20);
    ASSERT_EQ(cream->getState(), CellSprite::Falling);
    // The strawberry at the bottom goes; the falling tiles move down in the model at once.
    cells().eraseCell(0, 7);
    EXPECT_TRUE(grid->hasFallingGap() || cells().isEmpty(0, 7));
    grid->dropCells();
    EXPECT_EQ(cells().cellAt(0, 7).get(), cream.get());
    EXPECT_EQ(cells().cellAt(0, 6).get(), egg.get());
    EXPECT_TRUE(cells().isEmpty(0, 5));
    EXPECT_EQ(cream->getParent(), grid->getCellNode(0, 7));
    for (int i = 0; i < 500 && !grid->allCellsIdle(); ++i)
        Modifier::updateTree(host->animTree.get(), 20);
    EXPECT_EQ(cream->getY(), 7 * cellHeight());
    EXPECT_EQ(egg->getY(), 6 * cellHeight());
}

// The player's own run is no combo: whichever of the two swapped tiles makes
// it. Only when both do is the second run a cascade step.
TEST_F(BoardTest, APlainSwapIsNoCombo)
{
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        int c1, r1, c2, r2; // the moved tile, then the other
        int comboCount;
    };
    const std::vector<Case> cases = {
        {"the moved tile runs", {"cbcd", "bacd", "dbac"}, 0, 1, 1, 1, 0},
        {"only the other tile runs", {"cbcd", "bacd", "dbac"}, 1, 1, 0, 1, 0},
        {"both run: the other's run counts", {"ab", "ba", "ab", "cd"}, 0, 1, 1, 1, 1},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::vector<std::string> rows = test.rows;
        rows.insert(rows.end(), kCalmRows.begin(), kCalmRows.end());
        setBoard(rows);
        buildGrid();
        ASSERT_TRUE(grid->isValidSwap(test.c1, test.r1, test.c2, test.r2));
        grid->swapCells(test.c1, test.r1, test.c2, test.r2);
        ASSERT_TRUE(tilesAt({{test.c1, test.r1}}));
        ASSERT_EQ(cells().cellAt(test.c1, test.r1)->getState(), CellSprite::Swapping);
        for (int i = 0; i < 100 && !grid->allCellsIdle(); ++i)
            Modifier::updateTree(host->animTree.get(), 20);
        grid->removeMatches();
        EXPECT_EQ(grid->getComboCount(), test.comboCount);
        grid.reset();
    }
}

} // namespace
