// The bonuses fired on hand-made boards: which cells each one takes, what it
// delivers, that every removal reports back once, and how the two
// board-rebuilding bonuses lay out the new board.
#include "BoardFixture.h"

#include <algorithm>
#include <map>
#include <set>

#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyStore.h"
#include "framework/players/PropertyAccess.h"
#include "game/board/BonusSprite.h"
#include "game/board/ChocolateLoverBonus.h"
#include "game/board/CountertopBonuses.h"
#include "game/board/ZapBonus.h"
#include "game/data/TuningTable.h"

namespace {

using Cell = std::pair<int, int>;

// A board of four ingredients without a run; 'c' is the fruit (strawberry).
const std::vector<std::string> kPlainBoard = {"abcdabcd", "bcdabcda", "cdabcdab", "dabcdabc",
                                              "abcdabcd", "bcdabcda", "cdabcdab", "dabcdabc"};

class BonusTest : public BoardTest {
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        for (const char* name : {"NODE_HOVER", "NODE_GRIDPOPUPS", "NODE_GRIDZAP"}) {
            RefPointer<GameNode> layer(new GameNode(name));
            GameNode::addChild(root.get(), layer.get());
        }
    }

    GameNode* layer(const std::string& name) const { return root->findNode(name); }

    // The plain board with `name` at (column, row), on a built grid.
    BonusSprite* boardWith(const std::string& name, int column, int row,
                           const std::vector<std::string>& rows = kPlainBoard)
    {
        setBoard(rows);
        return place(name, column, row);
    }

    BonusSprite* place(const std::string& name, int column, int row)
    {
        cells().eraseCell(column, row);
        RefPointer<BonusSprite> bonus = BonusSprite::create(column, row, name);
        cells().putCell(bonus.get(), column, row);
        if (!grid)
            buildGrid();
        else
            grid->attachCells();
        return bonus.get();
    }

    // Fires the bonus and plays its animations with the board held still
    // (no fall, no refill); the cells it took are then empty.
    std::set<Cell> fire(int column, int row, int frames = 300)
    {
        std::set<Cell> before = occupied();
        grid->activateBonusAt(column, row);
        host->playing = false;
        for (int i = 0; i < frames; ++i)
            frame(20);
        std::set<Cell> gone;
        for (const Cell& cell : before) {
            if (cells().isEmpty(cell.first, cell.second))
                gone.insert(cell);
        }
        return gone;
    }

    std::set<Cell> occupied()
    {
        std::set<Cell> result;
        cells().forEach([&](int c, int r, CellSprite*) {
            if (r >= 0)
                result.insert({c, r});
        });
        return result;
    }

    std::set<Cell> deliveredCells() const
    {
        std::set<Cell> result;
        for (const RecordingStation::Delivery& d : station->deliveries)
            result.insert({d.cell.column, d.cell.row});
        return result;
    }
};

std::string xmlOf(PropertyNode* node)
{
    RefPointer<PropertyStore> store(new PropertyStore());
    store->addChild(node);
    return store->toXmlText();
}

// A second chocolate for the level (the book knows one).
void addDarkChocolate(IngredientBook& book)
{
    const std::string text = "<root><Vector id=\"ingredients\"><Ingredient id=\"chocolate\" name=\"dark chocolate\""
                             " isChocolate=\"true\"/></Vector></root>";
    RefPointer<PropertyStore> store(new PropertyStore());
    ASSERT_TRUE(store->loadFromBuffer(text.data(), text.size()));
    book.parse(store.get());
}

std::set<Cell> rowOf(int row)
{
    std::set<Cell> cells;
    for (int c = 0; c < 8; ++c)
        cells.insert({c, row});
    return cells;
}

std::set<Cell> columnOf(int column)
{
    std::set<Cell> cells;
    for (int r = 0; r < 8; ++r)
        cells.insert({column, r});
    return cells;
}

std::set<Cell> without(std::set<Cell> cells, Cell cell)
{
    cells.erase(cell);
    return cells;
}

TEST_F(BonusTest, EachZapTakesItsCellsAndDeliversEveryIngredientItTook)
{
    std::set<Cell> fruit;
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            if (kPlainBoard[r][c] == 'c')
                fruit.insert({c, r});
    struct Case {
        const char* name;
        Cell at;
        std::set<Cell> taken;
    };
    const Case cases[] = {
        {"row zap bonus", {0, 3}, rowOf(3)},
        {"row zap bonus", {4, 0}, rowOf(0)},
        {"column zap bonus", {5, 7}, columnOf(5)},
        {"block zap bonus", {0, 0}, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
        {"block zap bonus", {7, 4}, {{6, 3}, {7, 3}, {6, 4}, {7, 4}, {6, 5}, {7, 5}}},
        {"block zap bonus",
         {3, 3},
         {{2, 2}, {3, 2}, {4, 2}, {2, 3}, {3, 3}, {4, 3}, {2, 4}, {3, 4}, {4, 4}}},
        // The picker stands on a fruit cell: it takes every other fruit.
        {"fruit picker bonus", {2, 0}, fruit},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.name) + " at " + std::to_string(test.at.first) + "," +
                     std::to_string(test.at.second));
        grid.reset();
        station->deliveries.clear();
        host->playing = true;
        boardWith(test.name, test.at.first, test.at.second);
        const std::set<Cell> gone = fire(test.at.first, test.at.second);
        EXPECT_EQ(gone, test.taken);
        // The bonus itself delivers nothing; each ingredient once, as a zap.
        EXPECT_EQ(deliveredCells(), without(test.taken, test.at));
        EXPECT_EQ(station->deliveries.size(), test.taken.size() - 1);
        for (const RecordingStation::Delivery& d : station->deliveries)
            EXPECT_EQ(d.length, 3);
        EXPECT_EQ(std::count(host->sounds.begin(), host->sounds.end(), "SOUND_ZAPINGREDIENT") +
                      std::count(host->sounds.begin(), host->sounds.end(), "SOUND_ZAPFRUIT"),
                  static_cast<long>(test.name == std::string("fruit picker bonus") ? test.taken.size() - 1
                                                                                   : test.taken.size()));
        host->sounds.clear();
    }
}

TEST_F(BonusTest, ARandomZapTakesTheFirstEightOfItsListAndItself)
{
    boardWith("random zap bonus", 3, 3);
    auto* bonus = objectCast<RandomZapBonus>(cells().cellAt(3, 3).get());
    ASSERT_NE(bonus, nullptr);
    ASSERT_EQ(bonus->getTargets().size(), 64u);
    std::set<Cell> expected(bonus->getTargets().begin(), bonus->getTargets().begin() + 8);
    expected.insert({3, 3});
    EXPECT_EQ(fire(3, 3), expected);
}

TEST_F(BonusTest, AZappedTileDeliversItsMultiplierAndAnUnripeOrBonusTileNothing)
{
    setBoard(kPlainBoard);
    cells().eraseCell(1, 2);
    cells().putCell(new CellSprite(1, 2, "cream", false, 3), 1, 2);
    cells().eraseCell(2, 2);
    cells().putCell(new CellSprite(2, 2, "cherry", true, 1), 2, 2);
    place("row zap bonus", 0, 2);
    place("star +1 bonus", 5, 2);
    const std::set<Cell> gone = fire(0, 2);
    EXPECT_EQ(gone, rowOf(2));
    std::vector<int> creamIndices;
    for (const RecordingStation::Delivery& d : station->deliveries) {
        EXPECT_FALSE(d.cell.column == 2 || d.cell.column == 5 || d.cell.column == 0) << d.cell.column;
        if (d.cell.column == 1)
            creamIndices.push_back(d.index);
    }
    EXPECT_EQ(creamIndices, (std::vector<int> {0, 1, 2}));
    EXPECT_EQ(station->deliveries.size(), 4u + 3u);
}

TEST_F(BonusTest, AnUnripeZapTakesOnlyTheUnripeTilesAndAPickerWithoutFruitOnlyItself)
{
    setBoard({"abdaabda", "bdabbdab", "dabddabd", "abdaabda", "bdabbdab", "dabddabd", "abdaabda", "bdabbdab"});
    cells().eraseCell(6, 6);
    cells().putCell(new CellSprite(6, 6, "cherry", true, 1), 6, 6);
    cells().eraseCell(1, 4);
    cells().putCell(new CellSprite(1, 4, "banana", true, 1), 1, 4);
    place("unripe zap bonus", 0, 0);
    EXPECT_EQ(fire(0, 0), (std::set<Cell> {{0, 0}, {1, 4}, {6, 6}}));
    EXPECT_TRUE(station->deliveries.empty());

    grid.reset();
    host->playing = true;
    setBoard({"abdaabda", "bdabbdab", "dabddabd", "abdaabda", "bdabbdab", "dabddabd", "abdaabda", "bdabbdab"});
    place("fruit picker bonus", 4, 4);
    EXPECT_EQ(fire(4, 4), (std::set<Cell> {{4, 4}}));
}

TEST_F(BonusTest, EveryRemovedCellReportsBackOnceAndTheBoardRefills)
{
    boardWith("column zap bonus", 2, 5);
    std::map<const CellSprite*, RefPointer<CellSprite>> column;
    for (int r = 0; r < 8; ++r)
        column.emplace(cells().cellAt(2, r).get(), cells().cellAt(2, r));
    grid->activateBonusAt(2, 5);
    ASSERT_TRUE(tilesAt({{2, 5}}));
    EXPECT_EQ(cells().cellAt(2, 5)->getState(), CellSprite::Leaving);
    ASSERT_TRUE(runToRest());
    for (const auto& [tile, held] : column)
        EXPECT_EQ(held->getParent(), nullptr) << "off the scene";
    EXPECT_TRUE(grid->isFull());
}

TEST_F(BonusTest, HoverMarksTheTargetsAndLeavingTakesEveryMarkAway)
{
    BonusSprite* row = boardWith("row zap bonus", 3, 3);
    BonusSprite* block = place("block zap bonus", 0, 0);
    row->showHover();
    EXPECT_TRUE(row->isHovered());
    EXPECT_EQ(layer("NODE_HOVER")->getChildCount(), 7);
    block->showHover();
    // Three of the block's eight neighbours are on the board.
    EXPECT_EQ(layer("NODE_HOVER")->getChildCount(), 10);
    const GameNode* first = layer("NODE_HOVER")->getFirstChild();
    EXPECT_EQ(first->getX(), gridNode->getX() + 0 * cellWidth());
    EXPECT_EQ(first->getY(), gridNode->getY() + 3 * cellHeight());
    block->hideHover();
    EXPECT_EQ(layer("NODE_HOVER")->getChildCount(), 0) << "another bonus's marks go too";
    EXPECT_FALSE(block->isHovered());
    row->markCell(-1, 0);
    row->markCell(8, 0);
    row->markCell(0, 8);
    EXPECT_EQ(layer("NODE_HOVER")->getChildCount(), 0);
    // A column marks the seven other cells of its own column, none of its row.
    BonusSprite* column = place("column zap bonus", 5, 6);
    column->showHover();
    std::set<int> rows;
    for (const GameNode* mark = layer("NODE_HOVER")->getFirstChild(); mark; mark = mark->getNextSibling()) {
        EXPECT_EQ(mark->getX(), gridNode->getX() + 5 * cellWidth());
        rows.insert((mark->getY() - gridNode->getY()) / cellHeight());
    }
    EXPECT_EQ(rows, (std::set<int> {0, 1, 2, 3, 4, 5, 7}));
    column->hideHover();
}

TEST_F(BonusTest, AFruitPickerUnderThePointerKeepsOneMarkPerFruitFrameAfterFrame)
{
    boardWith("fruit picker bonus", 3, 3);
    int fruit = 0;
    for (const std::string& row : kPlainBoard)
        fruit += static_cast<int>(std::count(row.begin(), row.end(), 'c'));
    frame(20);
    grid->getController()->onMouseMove(screenX(3), screenY(3), 0);
    for (int i = 0; i < 20; ++i)
        frame(20);
    // The picker stands on a fruit's place, so one fruit fewer.
    EXPECT_EQ(layer("NODE_HOVER")->getChildCount(), fruit - 1);
}

TEST_F(BonusTest, TheNamePopupPutsOneWordOnALineAndIsBuiltOnce)
{
    BonusSprite* bonus = boardWith("row zap bonus", 3, 3);
    bonus->showBonusName();
    bonus->showBonusName();
    ASSERT_NE(bonus->getPopupLabel(), nullptr);
    EXPECT_EQ(bonus->getPopupLabel()->getText(), u"Row\nWhisk");
    EXPECT_EQ(layer("NODE_GRIDPOPUPS")->getChildCount(), 2);
    bonus->dropOut();
    EXPECT_EQ(bonus->getPopupLabel(), nullptr);
}

TEST_F(BonusTest, CountertopBonusesWithoutACountertopOnlyLeave)
{
    for (const char* name : {"secret bonus", "super secret bonus", "work done bonus"}) {
        SCOPED_TRACE(name);
        grid.reset();
        host->playing = true;
        host->sounds.clear();
        station->deliveries.clear();
        BonusSprite* bonus = boardWith(name, 4, 4);
        if (const auto* secret = objectCast<SecretStarsBonus>(bonus)) {
            // No star has flown, so none has a spot, in range or not.
            for (int star : {-1, 0, 1})
                EXPECT_EQ(secret->spotOfStar(star), -1) << star;
        }
        EXPECT_EQ(fire(4, 4), (std::set<Cell> {{4, 4}}));
        EXPECT_TRUE(station->deliveries.empty());
        EXPECT_TRUE(host->sounds.empty());
    }
}

TEST_F(BonusTest, StarBonusesSendTheirStarsAndLeave)
{
    BonusSprite* one = boardWith("star +1 bonus", 1, 1);
    place("star +5 bonus", 6, 6);
    const int x = one->getAbsoluteX() + 25;
    EXPECT_EQ(fire(1, 1), (std::set<Cell> {{1, 1}}));
    ASSERT_EQ(host->stars.size(), 1u);
    EXPECT_EQ(host->stars[0][0], x);
    EXPECT_EQ(host->stars[0][2], 0);
    host->stars.clear();
    host->playing = true;
    EXPECT_EQ(fire(6, 6), (std::set<Cell> {{6, 6}}));
    ASSERT_EQ(host->stars.size(), 5u);
    EXPECT_EQ(host->stars[4][2], 4 * tuning().STAR_FLY_DELAY);
    EXPECT_EQ(std::count(host->sounds.begin(), host->sounds.end(), "SOUND_BONUS_STAR"), 2);
}

// ---------------------------------------------------------------- rebuilding bonuses

bool hasRunOfThree(const std::map<Cell, std::string>& contents)
{
    for (const auto& [cell, name] : contents) {
        auto same = [&](int dc, int dr) {
            auto found = contents.find({cell.first + dc, cell.second + dr});
            return found != contents.end() && found->second == name;
        };
        if ((same(1, 0) && same(2, 0)) || (same(0, 1) && same(0, 2)))
            return true;
    }
    return false;
}

TEST_F(BonusTest, TheChocolateLoverLaysOutABoardWithoutRuns)
{
    const auto two = ChocolateLoverBonus::chooseContents({"chocolate", "cream"});
    ASSERT_EQ(two.size(), 64u);
    for (const auto& [cell, name] : two)
        EXPECT_EQ(name, (cell.first + cell.second) % 2 == 0 ? "chocolate" : "cream");
    for (int seed = 1; seed <= 20; ++seed) {
        random.setSeed(static_cast<uint32_t>(seed));
        const auto three = ChocolateLoverBonus::chooseContents({"chocolate", "cream", "egg"});
        ASSERT_EQ(three.size(), 64u);
        EXPECT_FALSE(hasRunOfThree(three)) << "seed " << seed;
    }
    EXPECT_TRUE(ChocolateLoverBonus::chooseContents({"chocolate"}).empty());
}

TEST_F(BonusTest, AChocolateListedTwiceCountsOnce)
{
    setContents({{"chocolate", 10}, {"egg", 10}, {"chocolate", 5}, {"cream", 10}});
    EXPECT_EQ(ChocolateLoverBonus::chocolateNames(), (std::vector<std::string> {"chocolate"}));
}

TEST_F(BonusTest, TheChocolateLoverReplacesTheWholeBoardOnceAndOnlyAtRest)
{
    addDarkChocolate(data->state->ingredientBook);
    setContents({{"chocolate", 10}, {"egg", 10}, {"dark chocolate", 10}});
    auto* bonus = objectCast<ChocolateLoverBonus>(boardWith("chocolate lover bonus", 3, 3));
    ASSERT_NE(bonus, nullptr);
    RefPointer<ChocolateLoverBonus> held(bonus);
    // A tile still moving: nothing happens, and the bonus can fire later.
    ASSERT_TRUE(tilesAt({{0, 0}}));
    cells().cellAt(0, 0)->setState(CellSprite::Falling);
    grid->activateBonusAt(3, 3);
    EXPECT_FALSE(bonus->hasFired());
    cells().cellAt(0, 0)->setState(CellSprite::Idle);
    fire(3, 3, 100);
    EXPECT_TRUE(bonus->hasFired());
    EXPECT_EQ(bonus->getParent(), nullptr) << "its own cell is replaced like the others";
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            ASSERT_TRUE(tilesAt({{c, r}}));
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            EXPECT_EQ(cells().cellAt(c, r)->getIngredient(), (c + r) % 2 == 0 ? "chocolate" : "dark chocolate")
                << c << "," << r;
    EXPECT_EQ(std::count(host->sounds.begin(), host->sounds.end(), "SOUND_BONUS_CHOCOLATELOVER"), 1);
}

TEST_F(BonusTest, AChocolateLoverWithOneChocolateOnlyLeaves)
{
    RefPointer<ChocolateLoverBonus> bonus(objectCast<ChocolateLoverBonus>(boardWith("chocolate lover bonus", 3, 3)));
    ASSERT_TRUE(bonus);
    std::vector<std::string> rows = boardRows();
    rows[3][3] = '.';
    // Were it to stay, a board whose only move it is would never be mixed anew.
    fire(3, 3, 50);
    EXPECT_EQ(boardRows(), rows);
    EXPECT_FALSE(bonus->hasFired());
    EXPECT_EQ(std::count(host->sounds.begin(), host->sounds.end(), "SOUND_BONUS_CHOCOLATELOVER"), 1);
}

TEST_F(BonusTest, TheTotalRefreshSucksInTheBoardAndBlowsOutAFreshOne)
{
    boardWith("total refresh bonus", 4, 4);
    std::vector<RefPointer<CellSprite>> old;
    cells().forEach([&](int, int, CellSprite* tile) { old.emplace_back(tile); });
    grid->activateBonusAt(4, 4);
    EXPECT_TRUE(grid->isBusy());
    // The blow takes every old tile off the scene at once, also those still
    // on their way into the bonus.
    auto blown = [&] {
        return std::count(host->sounds.begin(), host->sounds.end(), "SOUND_BONUS_TOTALREFRESHBLOW") > 0;
    };
    for (int i = 0; i < 100 && !blown(); ++i)
        frame(20);
    ASSERT_TRUE(blown());
    for (const RefPointer<CellSprite>& tile : old) {
        if (!tile->isBonus()) {
            EXPECT_EQ(tile->getParent(), nullptr) << tile->getColumn() << "," << tile->getRow();
        }
    }
    ASSERT_TRUE(runToRest());
    EXPECT_FALSE(grid->isBusy());
    for (const RefPointer<CellSprite>& tile : old) {
        EXPECT_EQ(tile->getParent(), nullptr);
        EXPECT_NE(cells().cellAt(tile->getColumn(), tile->getRow()).get(), tile.get());
    }
    EXPECT_TRUE(grid->isFull());
    EXPECT_EQ(std::count(host->sounds.begin(), host->sounds.end(), "SOUND_BONUS_TOTALREFRESHBLOW"), 1);
}

// ---------------------------------------------------------------- saved board

TEST_F(BonusTest, EveryBonusClassRoundTripsItsNameThroughTheSavedBoard)
{
    const std::pair<const char*, const char*> kinds[] = {
        {"row zap bonus", "RowZapBonus"},
        {"column zap bonus", "ColumnZapBonus"},
        {"block zap bonus", "BlockZapBonus"},
        {"random zap bonus", "RandomZapBonus"},
        {"fruit picker bonus", "FruitPickerBonus"},
        {"unripe zap bonus", "UnripeZapBonus"},
        {"star +1 bonus", "StarBonus"},
        {"star +5 bonus", "FiveStarBonus"},
        {"secret bonus", "SecretBonus"},
        {"super secret bonus", "SuperSecretBonus"},
        {"work done bonus", "WorkDoneBonus"},
        {"chocolate lover bonus", "ChocolateLoverBonus"},
        {"total refresh bonus", "TotalRefreshBonus"},
    };
    setBoard(kPlainBoard);
    int column = 0;
    for (const auto& [name, className] : kinds) {
        const int c = column % 8;
        const int r = column / 8;
        cells().eraseCell(c, r);
        cells().putCell(BonusSprite::create(c, r, name).get(), c, r);
        EXPECT_STREQ(cells().cellAt(c, r)->getClassName()->name, className);
        ++column;
    }
    RefPointer<PropertyNode> node(new PropertyNode("gridwrapper", "GridWrapper"));
    cells().save(node.get());
    std::map<std::string, std::string> savedKinds;
    forEachElement(node.get(), "cells", [&](AbstractProperty* entry) {
        savedKinds[childString(entry, "ingredient")] = entry->getTypeName();
    });
    for (const auto& [name, className] : kinds)
        EXPECT_EQ(savedKinds[name], className);
    EXPECT_EQ(savedKinds["egg"], "CellSprite");

    GridWrapper restored;
    restored.load(node.get());
    column = 0;
    for (const auto& [name, className] : kinds) {
        const RefPointer<CellSprite>& tile = restored.cellAt(column % 8, column / 8);
        ASSERT_TRUE(tile) << name;
        EXPECT_STREQ(tile->getClassName()->name, className);
        EXPECT_EQ(tile->getIngredient(), name);
        EXPECT_EQ(tile->getMultiplier(), 1);
        ++column;
    }
    RefPointer<PropertyNode> again(new PropertyNode("gridwrapper", "GridWrapper"));
    restored.save(again.get());
    EXPECT_EQ(xmlOf(again.get()), xmlOf(node.get()));
}

TEST_F(BonusTest, ASavedBonusIsRebuiltByItsNameWhateverItsTagSays)
{
    const std::string text =
        "<root><GridWrapper id=\"gridwrapper\"><Vector id=\"cells\">"
        "<CellSprite ingredient=\"secret bonus\" x=\"0\" y=\"0\" multiplier=\"4\"/>"
        "<StarBonus ingredient=\"row zap bonus\" x=\"1\" y=\"0\"/>"
        "<RowZapBonus ingredient=\"egg\" x=\"2\" y=\"0\"/>"
        "<CellSprite ingredient=\"cream\" x=\"3\" y=\"0\"/>"
        "<StarBonus ingredient=\"star +1 bonus\" x=\"3\" y=\"0\"/>"
        "<SceneGame ingredient=\"star +1 bonus\" x=\"4\" y=\"0\"/>"
        "</Vector></GridWrapper></root>";
    RefPointer<PropertyStore> store(new PropertyStore());
    ASSERT_TRUE(store->loadFromBuffer(text.data(), text.size()));
    cells().load(store->getChild("gridwrapper"));
    ASSERT_TRUE(tilesAt({{0, 0}, {3, 0}}));
    EXPECT_NE(objectCast<SecretBonus>(cells().cellAt(0, 0).get()), nullptr);
    EXPECT_EQ(cells().cellAt(0, 0)->getMultiplier(), 1);
    EXPECT_NE(objectCast<RowZapBonus>(cells().cellAt(1, 0).get()), nullptr);
    EXPECT_TRUE(cells().isEmpty(2, 0)) << "a bonus class with an ingredient's name";
    EXPECT_EQ(cells().cellAt(3, 0)->getIngredient(), "cream") << "the first of two claims stays";
    EXPECT_TRUE(cells().isEmpty(4, 0));
}

TEST_F(BonusTest, ASavedBoardThatClaimsOneCellTwiceSettlesOnTheFirstRead)
{
    const std::string path = std::string(TORTELUNE_SOURCE_DIR) + "/tests/data/regress/board_save/saved-twice-differs.xml";
    RefPointer<PropertyStore> store(new PropertyStore());
    ASSERT_TRUE(store->loadFile(path));
    GridWrapper first;
    first.load(store->getChild("gridwrapper"));
    RefPointer<PropertyNode> once(new PropertyNode("gridwrapper", "GridWrapper"));
    first.save(once.get());
    GridWrapper second;
    second.load(once.get());
    RefPointer<PropertyNode> twice(new PropertyNode("gridwrapper", "GridWrapper"));
    second.save(twice.get());
    EXPECT_EQ(xmlOf(twice.get()), xmlOf(once.get()));
    EXPECT_GT(first.size(), 2);
}

} // namespace
