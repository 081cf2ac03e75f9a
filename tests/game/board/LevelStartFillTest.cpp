#include "BoardFixture.h"

#include "framework/core/BasicProperties.h"
#include "framework/players/PlayerManager.h"
#include "game/data/TuningTable.h"
#include "game/data/TortelunePlayer.h"

namespace {

// A career board with a player who wants hints.
class LevelStartFillTest : public BoardTest {
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        players = PlayerManager::create(false, "1.0");
        player = new TortelunePlayer("Ann");
        players->addPlayer(player.get());
        player->showHints = true;
    }
    void TearDown() override
    {
        PlayerManager::destroyInstance();
        BoardTest::TearDown();
    }
    struct Found {
        int bonuses = 0;
        int bonusColumn = -1;
        std::string bonusName;
        int unripeInRegion = 0;
    };
    Found scan(const std::string& fruit, int margin)
    {
        Found found;
        cells().forEach([&](int c, int, CellSprite* tile) {
            if (tile->isBonus()) {
                ++found.bonuses;
                found.bonusColumn = c;
                found.bonusName = tile->getIngredient();
            }
            if (c >= margin && tile->getIngredient() == fruit && tile->isUnripe())
                ++found.unripeInRegion;
        });
        return found;
    }
    void expectFullBoard()
    {
        EXPECT_EQ(cells().size(), boardKeys().gridWidth * boardKeys().gridHeight);
        EXPECT_TRUE(cells().isEmpty(0, -1));
    }
    PlayerManager* players = nullptr;
    RefPointer<TortelunePlayer> player;
};

TEST_F(LevelStartFillTest, ANewBonusIsStagedRightOfTheCustomersMargin)
{
    struct Case {
        const char* name;
        std::string customer;
        bool hintSeen;
        bool metEarlier;
        int minColumn;
        int expectedBonuses;
    };
    const std::vector<Case> cases = {
        {"another customer: column 5 on", "CUSTOMER_ANNA", false, false, 5, 1},
        {"Henri: column 6 on", "CUSTOMER_HENRI", false, false, 6, 1},
        {"Henri's exam: column 6 on", "CUSTOMER_HENRI_EXAM", false, false, 6, 1},
        {"the hint was seen: anywhere", "CUSTOMER_HENRI", true, false, 0, 1},
        {"met on an earlier level: not staged", "CUSTOMER_ANNA", false, true, 0, -1},
    };
    data->state->levelManager.selectLevel(2);
    setContents({{"egg", 10}, {"cream", 10}, {"strawberry", 10}, {"biscuit", 10}, {"row zap bonus", 1}});
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        data->getCurrentLevel().customerName = test.customer;
        player->seenHints.clear();
        player->seenBonus.clear();
        if (test.hintSeen)
            player->setHintSeen("HINT_" + ingredientWord("row zap bonus"));
        if (test.metEarlier)
            player->seenBonus["row zap bonus"] = 0;
        int lowest = 99;
        for (int round = 0; round < 40; ++round) {
            cells().fill();
            expectFullBoard();
            const Found found = scan("cherry", 0);
            EXPECT_LE(found.bonuses, 1);
            if (test.expectedBonuses == 1) {
                ASSERT_EQ(found.bonuses, 1);
                EXPECT_EQ(found.bonusName, "row zap bonus");
                lowest = std::min(lowest, found.bonusColumn);
            }
        }
        if (test.expectedBonuses == 1) {
            EXPECT_GE(lowest, test.minColumn);
            if (test.minColumn == 0) {
                EXPECT_LT(lowest, 5) << "a seen hint lets the bonus stand anywhere";
            }
        } else {
            EXPECT_EQ(cells().featuredBonus(), "");
        }
    }
    // Replaying the level where the bonus was first met stages it again.
    player->seenBonus["row zap bonus"] = 2;
    EXPECT_EQ(cells().featuredBonus(), "row zap bonus");
    // The arcade and a player without hints stage nothing.
    player->showHints = false;
    EXPECT_EQ(cells().featuredBonus(), "");
}

TEST_F(LevelStartFillTest, UnripeFruitIsStagedForItsFirstHint)
{
    struct Case {
        const char* name;
        int cherryChance;
        int bananaChance;
        bool cherryHintSeen;
        const char* staged; // the fruit expected unripe in the region, or none
    };
    const std::vector<Case> cases = {
        {"cherry without an unripe chance: nothing", 0, 0, false, nullptr},
        {"cherry due", 5, 0, false, "cherry"},
        {"both due: only the cherry", 5, 5, false, "cherry"},
        {"cherry hint seen: the banana", 5, 5, true, "banana"},
    };
    data->getCurrentLevel().customerName = "CUSTOMER_ANNA";
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        setContents({{"egg", 10}, {"cream", 10}, {"strawberry", 10}, {"cherry", 10}, {"banana", 10}});
        data->getCurrentLevel().ingredients[3].unripeChance = test.cherryChance;
        data->getCurrentLevel().ingredients[4].unripeChance = test.bananaChance;
        player->seenHints.clear();
        if (test.cherryHintSeen)
            player->setHintSeen("HINT_UNRIPECHERRY");
        for (int round = 0; round < 20; ++round) {
            cells().fill();
            expectFullBoard();
            if (test.staged) {
                EXPECT_GE(scan(test.staged, 5).unripeInRegion, 1);
            }
        }
        if (!test.staged) {
            // No chance, no staging: no tile is ever unripe.
            EXPECT_EQ(scan("cherry", 0).unripeInRegion, 0);
        }
    }
}

TEST_F(LevelStartFillTest, TheMarginNeverLeavesTheBoard)
{
    // On a board of six columns Henri's margin of 6 would stage the bonus
    // outside it; the margin keeps the last column.
    BasicProperties::instance->setInt("GRID_WIDTH", 6);
    loadTuning(*BasicProperties::instance);
    data->state->levelManager.selectLevel(2);
    setContents({{"egg", 10}, {"cream", 10}, {"strawberry", 10}, {"biscuit", 10}, {"row zap bonus", 1}});
    data->getCurrentLevel().customerName = "CUSTOMER_HENRI";
    EXPECT_EQ(cells().hintMargin(), 5);
    cells().fill();
    const Found found = scan("cherry", 0);
    EXPECT_EQ(found.bonuses, 1);
    EXPECT_EQ(found.bonusColumn, 5);
    EXPECT_EQ(cells().size(), 6 * boardKeys().gridHeight);
    data->state->mode = 1;
    EXPECT_EQ(cells().featuredBonus(), "") << "the arcade stages nothing";
}

} // namespace
