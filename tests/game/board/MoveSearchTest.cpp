#include "BoardFixture.h"

#include <algorithm>
#include <cstdlib>
#include <set>

namespace {

std::vector<SwapMove> swaps(std::initializer_list<SwapMove> list)
{
    return std::vector<SwapMove>(list);
}

std::string describe(const std::vector<SwapMove>& moves)
{
    std::string out;
    for (const SwapMove& m : moves)
        out += "(" + std::to_string(m.c1) + "," + std::to_string(m.r1) + ")->(" + std::to_string(m.c2) + "," +
               std::to_string(m.r2) + ") ";
    return out;
}

// Every pair of neighbours whose exchange makes a run, each once as (left or upper, other).
std::set<std::array<int, 4>> bruteForceSwaps(Grid& grid)
{
    std::set<std::array<int, 4>> found;
    for (int c = 0; c < boardKeys().gridWidth; ++c) {
        for (int r = 0; r < boardKeys().gridHeight; ++r) {
            if (grid.isValidSwap(c, r, c + 1, r))
                found.insert({c, r, c + 1, r});
            if (grid.isValidSwap(c, r, c, r + 1))
                found.insert({c, r, c, r + 1});
        }
    }
    return found;
}

std::set<std::array<int, 4>> normalised(const std::vector<SwapMove>& moves)
{
    std::set<std::array<int, 4>> out;
    for (const SwapMove& m : moves) {
        if (m.c1 < m.c2 || m.r1 < m.r2)
            out.insert({m.c1, m.r1, m.c2, m.r2});
        else
            out.insert({m.c2, m.r2, m.c1, m.r1});
    }
    return out;
}

// A full board on which no exchange of neighbours makes a run.
const std::vector<std::string> kStuckBoard = {"abababab", "cdcdcdcd", "abababab", "cdcdcdcd",
                                              "abababab", "cdcdcdcd", "abababab", "cdcdcdcd"};

struct SwapCase {
    const char* name;
    std::vector<std::string> rows;
    std::vector<SwapMove> expected;
};

TEST_F(BoardTest, MoveSearchFindsEachWindowCaseInScanOrder)
{
    const std::vector<SwapCase> cases = {
        {"row A A x, from above", {"cdaf", "aabe"}, swaps({{2, 0, 2, 1}})},
        {"row A A x, from beyond", {"aaba"}, swaps({{3, 0, 2, 0}})},
        {"row A x A, from below and the step right, found twice", {"abaa", "cadc"},
         swaps({{1, 1, 1, 0}, {0, 0, 1, 0}, {1, 1, 1, 0}})},
        {"row x A A, from below", {"baa", "acd"}, swaps({{0, 1, 0, 0}})},
        {"column A A x, from beside", {"ac", "ad", "ba"}, swaps({{1, 2, 0, 2}})},
        {"column A A x, from beyond", {"ac", "ad", "be", "af"}, swaps({{0, 3, 0, 2}})},
        {"column A x A, from beside", {"ac", "ba", "ad"}, swaps({{1, 1, 0, 1}})},
        {"column x A A, from beside", {"ba", "ac", "ad"}, swaps({{1, 0, 0, 0}})},
        {"a falling tile never counts", {"cdaf", "aabe"}, swaps({})},
        {"a bonus neither counts nor moves", {"cd*f", "aabe"}, swaps({})},
    };
    for (const SwapCase& test : cases) {
        SCOPED_TRACE(test.name);
        setBoard(test.rows);
        if (std::string(test.name) == "a falling tile never counts")
            cells().cellAt(0, 1)->setState(CellSprite::Falling);
        EXPECT_EQ(describe(cells().collectSwaps()), describe(test.expected));
    }
}

TEST_F(BoardTest, MoveSearchAgreesWithEveryPossibleSwapOnRandomBoards)
{
    buildGrid();
    std::srand(11);
    int stuckBoards = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> rows;
        for (int r = 0; r < 8; ++r) {
            std::string line;
            for (int c = 0; c < 8; ++c)
                line += static_cast<char>('a' + random.nextInt(0, round % 3 == 0 ? 6 : 4));
            rows.push_back(line);
        }
        setBoard(rows);
        if (grid->hasMatch())
            continue;
        const std::set<std::array<int, 4>> expected = bruteForceSwaps(*grid);
        SCOPED_TRACE(round);
        EXPECT_EQ(normalised(cells().collectSwaps()), expected);
        EXPECT_EQ(cells().isBoardStuck(), expected.empty());
        for (const SwapMove& m : cells().collectLongRunSwaps())
            EXPECT_TRUE(cells().swapMakesLongRun(m.c1, m.r1, m.c2, m.r2)) << describe({m});
        stuckBoards += expected.empty() ? 1 : 0;
    }
    setBoard(kStuckBoard);
    EXPECT_TRUE(cells().isBoardStuck());
    EXPECT_TRUE(bruteForceSwaps(*grid).empty());
    RecordProperty("stuck", stuckBoards);
}

TEST_F(BoardTest, StuckBoardTestWaitsForTilesAndBonusesAndSeesEdgeMoves)
{
    setBoard(kStuckBoard);
    int c1 = -9, r1 = -9, c2 = -9, r2 = -9;
    EXPECT_TRUE(cells().isBoardStuck());
    EXPECT_FALSE(cells().findSwap(c1, r1, c2, r2));
    EXPECT_FALSE(cells().pickBonusCell(c1, r1));
    EXPECT_EQ(c1, -9);

    cells().eraseCell(3, 5);
    EXPECT_FALSE(cells().isBoardStuck()) << "a refill is still pending";

    setBoard(kStuckBoard);
    cells().eraseCell(3, 5);
    cells().createCell(3, 5, "row zap bonus", true);
    EXPECT_FALSE(cells().isBoardStuck());
    EXPECT_FALSE(cells().findSwap(c1, r1, c2, r2));
    ASSERT_TRUE(cells().pickBonusCell(c1, r1));
    EXPECT_EQ(std::make_pair(c1, r1), std::make_pair(3, 5));

    // The only move: two equal tiles at the right edge and a third below the last column.
    std::vector<std::string> rows = kStuckBoard;
    rows[0] = "ababaeef";
    rows[1] = "cdcdcdce";
    setBoard(rows);
    EXPECT_FALSE(cells().isBoardStuck());
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(cells().findSwap(c1, r1, c2, r2));
        EXPECT_EQ((std::array<int, 4> {c1, r1, c2, r2}), (std::array<int, 4> {7, 1, 7, 0}));
    }
    // The same at the left edge: the tile below the first column moves up.
    rows = kStuckBoard;
    rows[0] = "feeababa";
    rows[1] = "ecdcdcdc";
    setBoard(rows);
    EXPECT_FALSE(cells().isBoardStuck());
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(cells().findSwap(c1, r1, c2, r2));
        EXPECT_EQ((std::array<int, 4> {c1, r1, c2, r2}), (std::array<int, 4> {0, 1, 0, 0}));
    }
    // The same at the foot of a column.
    rows = kStuckBoard;
    rows[5] = "cdcdcdcd";
    rows[6] = "abababae";
    rows[7] = "cdcdcdef";
    rows[5][7] = 'e';
    rows[6][7] = 'e';
    rows[7][7] = 'f';
    rows[7][6] = 'e';
    setBoard(rows);
    EXPECT_FALSE(cells().isBoardStuck());
    ASSERT_TRUE(cells().findSwap(c1, r1, c2, r2));
    EXPECT_EQ((std::array<int, 4> {c1, r1, c2, r2}), (std::array<int, 4> {6, 7, 7, 7}));
}

TEST_F(BoardTest, LongRunSearchPrefersRowsOfFiveAndCrosses)
{
    const std::vector<SwapCase> cases = {
        {"A x A A with A above the gap", {"cadcc", "abaac"}, swaps({{1, 0, 1, 1}})},
        {"two above the gap: the end moves in", {"cadcc", "cadcc", "abaac"}, swaps({{0, 2, 1, 2}})},
        {"A A x A A with two above: the row of five", {"ccadc", "ccadc", "aabaa"},
         swaps({{2, 1, 2, 2}, {1, 2, 2, 2}})},
        {"A A x A with two above: the cross", {"ccadc", "ccadc", "aabac"}, swaps({{3, 2, 2, 2}})},
        {"four equal: nothing", {"cacdc", "aaaac"}, swaps({})},
        {"column A x A A with A to the right", {"ac", "ba", "ac", "ac"}, swaps({{1, 1, 0, 1}})},
        {"a bonus in the window: nothing", {"cadcc", "a*aac"}, swaps({})},
    };
    for (const SwapCase& test : cases) {
        SCOPED_TRACE(test.name);
        setBoard(test.rows);
        EXPECT_EQ(describe(cells().collectLongRunSwaps()), describe(test.expected));
    }
}

} // namespace

namespace {

// A move that only the last window of a row or of a column can see: a search
// that stops one window early calls the board stuck and clears it.
TEST_F(BoardTest, AMoveInTheLastWindowOfARowOrColumnKeepsTheBoardInPlay)
{
    struct Edit {
        int column, row;
        char letter;
    };
    struct Case {
        const char* name;
        std::vector<Edit> edits;
        SwapMove move;
    };
    const std::vector<Case> cases = {
        {"row: x A A, the odd one from above", {{6, 3, 'e'}, {7, 3, 'e'}, {5, 2, 'e'}}, {5, 2, 5, 3}},
        {"row: A x A, the gap from below", {{5, 3, 'e'}, {7, 3, 'e'}, {6, 4, 'e'}}, {6, 4, 6, 3}},
        {"column: x A A, the odd one from the left", {{2, 6, 'e'}, {2, 7, 'e'}, {1, 5, 'e'}}, {1, 5, 2, 5}},
        {"column: A x A, the gap from the right", {{2, 5, 'e'}, {2, 7, 'e'}, {3, 6, 'e'}}, {3, 6, 2, 6}},
    };
    GameNode::addChild(root.get(), host->announcements.get());
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::vector<std::string> rows = kStuckBoard;
        for (const Edit& edit : test.edits)
            rows[static_cast<size_t>(edit.row)][static_cast<size_t>(edit.column)] = edit.letter;
        setBoard(rows);
        buildGrid();
        ASSERT_FALSE(grid->hasMatch());
        EXPECT_EQ(normalised(cells().collectSwaps()), normalised({test.move}));
        EXPECT_EQ(bruteForceSwaps(*grid), normalised({test.move}));
        EXPECT_FALSE(cells().isBoardStuck());
        for (int i = 0; i < 5; ++i)
            frame();
        EXPECT_EQ(host->announcements->getFirstChild(), nullptr) << "no \"no more moves\"";
        EXPECT_TRUE(grid->allCellsIdle());
        grid.reset();
        if (GameNode* text = host->announcements->getFirstChild())
            GameNode::releaseSiblings(text);
    }
}

} // namespace
