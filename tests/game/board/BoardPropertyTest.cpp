#include "BoardFixture.h"

#include <cstdlib>
#include <map>
#include <set>

namespace {

// Checks every delivery against the model at the moment it is made: the
// tile is there, holds that ingredient and is being removed.
class CheckingStation : public RecordingStation {
public:
    explicit CheckingStation(GridWrapper* model) : model(model) {}
    bool deliverIngredients(const MatchedCell& cell, bool runHasUnripe, int x, int y, int indexInRun,
                            int runLength) override
    {
        const RefPointer<CellSprite>& tile = model->cellAt(cell.column, cell.row);
        if (!tile || tile->getIngredient() != cell.ingredient || tile->getState() != CellSprite::Leaving)
            ++foreign;
        else if (!delivered.emplace(tile.get(), tile).second)
            ++twice;
        return RecordingStation::deliverIngredients(cell, runHasUnripe, x, y, indexInRun, runLength);
    }
    GridWrapper* model;
    int foreign = 0;
    // Every tile delivered, held so that no address is reused.
    std::map<const CellSprite*, RefPointer<CellSprite>> delivered;
    int twice = 0;
};

// The tiles on the board now, held.
std::vector<RefPointer<CellSprite>> tilesOf(GridWrapper& model)
{
    std::vector<RefPointer<CellSprite>> tiles;
    model.forEach([&](int, int r, CellSprite* tile) {
        if (r >= 0)
            tiles.emplace_back(tile);
    });
    return tiles;
}

bool anyRunOfThree(GridWrapper& model)
{
    const BoardKeys& keys = boardKeys();
    auto name = [&](int c, int r) -> std::string {
        const RefPointer<CellSprite>& tile = model.cellAt(c, r);
        return tile && !tile->isBonus() ? tile->getIngredient() : std::string();
    };
    for (int r = 0; r < keys.gridHeight; ++r) {
        for (int c = 0; c < keys.gridWidth; ++c) {
            const std::string n = name(c, r);
            if (n.empty())
                continue;
            if ((n == name(c + 1, r) && n == name(c + 2, r)) || (n == name(c, r + 1) && n == name(c, r + 2)))
                return true;
        }
    }
    return false;
}

// Ten thousand moves chosen at random (mostly swaps that make a run, some
// that do not, and now and then one of the real zap and star bonuses) are
// pressed on a headless board and played to rest. Whenever the move search
// finds no move, a brute-force try of every swap agrees; every ingredient
// tile that leaves the board was delivered exactly once.
TEST_F(BoardTest, TenThousandRandomSwapsKeepTheBoardSoundAndTheScoreExact)
{
    RefPointer<CheckingStation> checking(new CheckingStation(&cells()));
    station = checking;
    host->setPastryStation(checking.get());
    setContents({{"egg", 10}, {"cream", 10}, {"strawberry", 10}, {"biscuit", 10}, {"chocolate", 10},
                 {"lemon", 10}, {"row zap bonus", 1}, {"column zap bonus", 1}, {"block zap bonus", 1},
                 {"random zap bonus", 1}, {"star +1 bonus", 1}});
    cells().fill();
    buildGrid();
    ASSERT_TRUE(runToRest());
    std::srand(7);
    const int width = boardKeys().gridWidth;
    const int height = boardKeys().gridHeight;
    int validSwaps = 0;
    int bonusesFired = 0;
    int swaplessWithBonus = 0;
    int leftUndelivered = 0;
    std::set<std::string> kindsFired;
    for (int swap = 0; swap < 10000; ++swap) {
        const std::vector<RefPointer<CellSprite>> before = tilesOf(cells());
        std::vector<std::array<int, 4>> valid;
        std::vector<std::array<int, 2>> bonuses;
        for (int c = 0; c < width; ++c) {
            for (int r = 0; r < height; ++r) {
                if (c + 1 < width && grid->isValidSwap(c, r, c + 1, r))
                    valid.push_back({c, r, c + 1, r});
                if (r + 1 < height && grid->isValidSwap(c, r, c, r + 1))
                    valid.push_back({c, r, c, r + 1});
                if (grid->isBonusAt(c, r))
                    bonuses.push_back({c, r});
            }
        }
        // The move search against the brute force.
        if (cells().isBoardStuck()) {
            ASSERT_TRUE(valid.empty() && bonuses.empty()) << "swap " << swap;
        }
        for (const SwapMove& m : cells().collectSwaps())
            ASSERT_TRUE(grid->isValidSwap(m.c1, m.r1, m.c2, m.r2)) << "swap " << swap;
        if (bonuses.empty()) {
            ASSERT_EQ(cells().collectSwaps().empty(), valid.empty()) << "swap " << swap;
        }
        ASSERT_FALSE(valid.empty() && bonuses.empty()) << "a stuck board was left standing, swap " << swap;
        GridController& controller = *grid->getController();
        const int pick = random.nextInt(0, 10);
        if (!bonuses.empty() && (valid.empty() || pick == 0)) {
            const std::array<int, 2> at = bonuses[static_cast<size_t>(random.nextInt(0, static_cast<int>(bonuses.size())))];
            kindsFired.insert(cells().cellAt(at[0], at[1])->getIngredient());
            controller.onLeftDown(screenX(at[0]), screenY(at[1]), 1, false);
            controller.onLeftUp(screenX(at[0]), screenY(at[1]), 0);
            ++bonusesFired;
            swaplessWithBonus += valid.empty() ? 1 : 0;
        } else {
            std::array<int, 4> chosen;
            if (!valid.empty() && pick < 9) {
                chosen = valid[static_cast<size_t>(random.nextInt(0, static_cast<int>(valid.size())))];
                ++validSwaps;
            } else {
                const int c = random.nextInt(0, width - 1);
                const int r = random.nextInt(0, height);
                chosen = {c, r, c + 1, r};
            }
            controller.onLeftDown(screenX(chosen[0]), screenY(chosen[1]), 1, false);
            controller.onLeftDown(screenX(chosen[2]), screenY(chosen[3]), 1, false);
        }
        ASSERT_TRUE(runToRest(2000, 50)) << "swap " << swap;
        ASSERT_TRUE(grid->isFull()) << "swap " << swap;
        ASSERT_FALSE(anyRunOfThree(cells())) << "swap " << swap;
        const std::vector<RefPointer<CellSprite>> after = tilesOf(cells());
        std::set<const CellSprite*> still;
        for (const RefPointer<CellSprite>& tile : after)
            still.insert(tile.get());
        for (const RefPointer<CellSprite>& tile : before) {
            if (!tile->isBonus() && !still.count(tile.get()) && !checking->delivered.count(tile.get()))
                ++leftUndelivered;
        }
    }
    EXPECT_EQ(leftUndelivered, 0);
    EXPECT_EQ(checking->twice, 0);
    for (const char* zap : {"row zap bonus", "column zap bonus", "block zap bonus", "random zap bonus"})
        EXPECT_EQ(kindsFired.count(zap), 1u) << zap;
    EXPECT_GT(validSwaps, 6000);
    EXPECT_GT(bonusesFired, 100);
    EXPECT_EQ(checking->foreign, 0);
    // The score is the sum of the run points; zaps deliver without points.
    int64_t expectedScore = 0;
    int64_t removedTiles = 0;
    for (const auto& [length, count] : session().matches) {
        expectedScore += static_cast<int64_t>(count) * data->state->scoreTable.pointsMatch[std::min(length, 7)];
        removedTiles += static_cast<int64_t>(count) * length;
    }
    EXPECT_EQ(session().score, expectedScore);
    EXPECT_GT(static_cast<int64_t>(checking->deliveries.size()), removedTiles);
    EXPECT_GT(session().matches.size(), 2u);
    RecordProperty("bonusesFired", bonusesFired);
    RecordProperty("swaplessWithBonus", swaplessWithBonus);
}

} // namespace
