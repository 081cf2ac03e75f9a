#include "BoardFixture.h"

namespace {

struct MatchCase {
    const char* name;
    std::vector<std::string> rows;
    // Each group as "letter:count".
    std::vector<std::string> groups;
};

std::vector<std::string> describe(const std::vector<MatchGroup>& groups)
{
    std::vector<std::string> out;
    for (const MatchGroup& group : groups)
        out.push_back(group.cells.front().ingredient + ":" + std::to_string(group.cells.size()));
    return out;
}

TEST_F(BoardTest, MatchSearchGroupsConnectedRunsOfOneIngredient)
{
    const std::vector<MatchCase> cases = {
        {"row of four", {"aaaab"}, {"egg:4"}},
        {"T shape", {"aaab", "bacb", "cabc"}, {"egg:5"}},
        {"L shape", {"abcd", "abcd", "aaac"}, {"egg:5"}},
        {"cross", {"bab", "aaa", "bab"}, {"egg:5"}},
        {"two stacked rows merge", {"cdcd", "aaac", "aaad"}, {"egg:6"}},
        {"two columns side by side stay apart", {"ab", "ab", "ab"}, {"egg:3", "cream:3"}},
        {"run of seven", {"aaaaaaab"}, {"egg:7"}},
        {"run of eight", {"aaaaaaaa"}, {"egg:8"}},
        {"column of five", {"a", "a", "a", "a", "a"}, {"egg:5"}},
        {"bonus cuts a run", {"aa*aa"}, {}},
        {"three bonuses never match", {"***"}, {}},
        {"gap cuts a run", {"aa.aaa"}, {"egg:3"}},
        {"row run before a column run", {"bbbd", "cdca", "dcda", "cdca"}, {"cream:3", "egg:3"}},
    };
    for (const MatchCase& test : cases) {
        SCOPED_TRACE(test.name);
        setBoard(test.rows);
        buildGrid();
        EXPECT_EQ(describe(grid->findMatches()), test.groups);
        EXPECT_EQ(grid->hasMatch(), !test.groups.empty());
        grid.reset();
    }
}

TEST_F(BoardTest, MatchSearchListsCellsInRowThenColumnOrder)
{
    setBoard({"aaab", "bacb", "cabc"});
    buildGrid();
    const std::vector<MatchGroup> groups = grid->findMatches();
    ASSERT_EQ(groups.size(), 1u);
    std::vector<std::pair<int, int>> places;
    for (const MatchedCell& cell : groups[0].cells)
        places.push_back({cell.column, cell.row});
    EXPECT_EQ(places, (std::vector<std::pair<int, int>> {{0, 0}, {1, 0}, {2, 0}, {1, 1}, {1, 2}}));
    EXPECT_EQ(groups[0].combo, -1);
}

TEST_F(BoardTest, MovingOrSpawnedTilesNeverMatch)
{
    setBoard({"aaa"});
    buildGrid();
    cells().cellAt(1, 0)->setState(CellSprite::Falling);
    EXPECT_FALSE(grid->hasMatch());
    EXPECT_TRUE(grid->findMatches().empty());
    // Three equal tiles in the spawn row are outside the board.
    setBoard({"b"});
    for (int c = 0; c < 3; ++c)
        cells().putCell(new CellSprite(c, -1, "egg", false, 1), c, -1);
    EXPECT_FALSE(grid->hasMatch());
}

TEST_F(BoardTest, RunTestCountsOnlyRunsThroughTheCentre)
{
    GridWrapper& model = cells();
    // A run of three beside the centre does not count for it.
    setBoard({"baaa"});
    EXPECT_FALSE(model.formsRun(0, 0));
    EXPECT_TRUE(model.formsRun(3, 0));
    setBoard({"aaab", "b..."});
    EXPECT_TRUE(model.formsRun(0, 0));
    EXPECT_TRUE(model.formsRun(1, 0));
    EXPECT_FALSE(model.formsRun(3, 0));
    model.cellAt(1, 0)->setState(CellSprite::Falling);
    EXPECT_FALSE(model.formsRun(0, 0));
    model.cellAt(1, 0)->setState(CellSprite::Sucked);
    EXPECT_TRUE(model.formsRun(0, 0));
    setBoard({"*aa"});
    EXPECT_FALSE(model.formsRun(0, 0));
    EXPECT_FALSE(model.formsRun(1, 0));
}

TEST_F(BoardTest, SwapTestsCountThePlusShapeAndRestoreTheModel)
{
    GridWrapper& model = cells();
    // The egg from (1,1) moved to (0,1) has an egg above and one below.
    setBoard({"a..", "ca.", "a.."});
    const auto before = boardRows();
    EXPECT_TRUE(model.swapMakesRun(1, 1, 0, 1));
    EXPECT_FALSE(model.swapMakesLongRun(1, 1, 0, 1));
    EXPECT_EQ(boardRows(), before);
    ASSERT_TRUE(tilesAt({{1, 1}, {0, 1}}));
    EXPECT_EQ(model.cellAt(1, 1)->getColumn(), 1);
    EXPECT_EQ(model.cellAt(0, 1)->getColumn(), 0);
    setBoard({"a..", "ca.", "a..", "a.."});
    EXPECT_TRUE(model.swapMakesLongRun(1, 1, 0, 1));
    // One equal tile on the left and one above count three, though no straight run forms.
    setBoard({".a.", "ab.", ".a."});
    buildGrid();
    EXPECT_TRUE(model.swapMakesRun(1, 2, 1, 1));
    EXPECT_FALSE(grid->isValidSwap(1, 2, 1, 1));
}

TEST_F(BoardTest, ModelEntriesAreKeptErasedAndFoundByIdentity)
{
    GridWrapper& model = cells();
    model.clear();
    RefPointer<CellSprite> first(new CellSprite(0, 0, "egg", false, 1));
    RefPointer<CellSprite> second(new CellSprite(0, 0, "cream", false, 1));
    model.insertCell(2, 3, first);
    model.insertCell(2, 3, second);
    EXPECT_EQ(model.cellAt(2, 3).get(), first.get());
    // Keys outside the board are valid keys too, and keep their order.
    model.insertCell(-5, 100, second);
    model.insertCell(9, -1, first);
    std::vector<std::pair<int, int>> keys;
    model.forEach([&](int c, int r, CellSprite*) { keys.push_back({c, r}); });
    EXPECT_EQ(keys, (std::vector<std::pair<int, int>> {{-5, 100}, {2, 3}, {9, -1}}));
    model.removeCell(first.get());
    EXPECT_TRUE(model.isEmpty(2, 3));
    EXPECT_FALSE(model.isEmpty(9, -1));
    model.exchangeCells(9, -1, 4, 4); // an empty key: nothing changes
    EXPECT_EQ(model.cellAt(9, -1).get(), first.get());
    EXPECT_EQ(model.size(), 2);
}

} // namespace
