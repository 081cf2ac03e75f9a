#include <gtest/gtest.h>

#include <filesystem>

#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/ToolCatalog.h"
#include "game/dialogs/Trophies.h"
#include "support/GameDataFixtures.h"
#include "support/LogCapture.h"

namespace {

// The game's own data files read by the game's readers: every reference
// between them resolves. Runs from the source folder, as the game runs from
// its own folder.
class GameContentTest : public ::testing::Test {
protected:
    GameContentTest() : previousFolder(std::filesystem::current_path())
    {
        std::filesystem::current_path(TORTELUNE_SOURCE_DIR);
    }
    ~GameContentTest() override { std::filesystem::current_path(previousFolder); }

    void expectLevelResolves(const Level& level, const std::string& fileName)
    {
        SCOPED_TRACE(fileName);
        EXPECT_FALSE(level.recipes.empty());
        EXPECT_FALSE(level.ingredients.empty());
        EXPECT_GE(level.starsGoal, 0); // the arcade has no star goal
        EXPECT_NE(level.customerRecord, nullptr);
        for (const LevelIngredient& ingredient : level.ingredients)
            EXPECT_FALSE(ingredient.id.empty()) << ingredient.name;
        for (const Recipe* recipe : level.recipes) {
            for (const RecipeIngredient& part : recipe->getIngredients())
                EXPECT_NE(level.findIngredient(part.name), nullptr) << recipe->getName() << " needs " << part.name;
        }
    }

    ScopedGameTuning tuningScope;
    LogCapture log;
    std::filesystem::path previousFolder;
};

TEST_F(GameContentTest, EveryLevelOfBothListsResolvesAgainstTheBooks)
{
    RefPointer<GameData> data(new GameData());
    data->loadMedia(".");
    GameDataState& state = *data->state;
    EXPECT_EQ(state.levelManager.getLevelCount(), 60);
    EXPECT_EQ(state.arcadeManager.getLevelCount(), 6);
    for (LevelManager* list : {&state.levelManager, &state.arcadeManager}) {
        for (int i = 0; i < list->getLevelCount(); ++i) {
            list->selectLevel(i);
            expectLevelResolves(list->getLevel(), list->getFileNames()[i]);
        }
    }
    EXPECT_FALSE(log.contains("skipped"));
}

TEST_F(GameContentTest, TrophiesToolsAndRanksLoad)
{
    Trophies trophies;
    ASSERT_EQ(trophies.getCount(), 15);
    for (int i = 0; i < trophies.getCount(); ++i)
        EXPECT_GE(trophies.getTrophy(i)->getInfoCount(), 3) << "trophy " << i;

    ToolCatalog catalog;
    catalog.load();
    EXPECT_EQ(catalog.getToolCount(), 14);
    for (const auto& [id, tool] : catalog.getTools()) {
        EXPECT_FALSE(tool->icon.empty()) << "tool " << id;
        EXPECT_FALSE(tool->button.empty()) << "tool " << id;
    }

    RankTable ranks;
    ranks.load();
    ASSERT_GE(ranks.getRankCount(), 10);
    EXPECT_EQ(ranks.getRankScore(0), 0);
    for (int rank = 1; rank < ranks.getRankCount(); ++rank)
        EXPECT_GT(ranks.getRankScore(rank), ranks.getRankScore(rank - 1));
}

} // namespace
