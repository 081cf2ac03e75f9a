#include "BoardFixture.h"

#include "framework/core/BasicProperties.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/PurgeTask.h"
#include "framework/players/PlayerManager.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/scenes/HintManager.h"
#include "support/FontFixtures.h"

namespace {

RefPointer<BaseObject> floaterFonts(const std::string& name, const std::string& section)
{
    static RefPointer<BitmapFont> header = loadFontFile(std::string(TORTELUNE_SOURCE_DIR) + "/media/fonts/header.xml");
    static RefPointer<BitmapFont> numbers =
        loadFontFile(std::string(TORTELUNE_SOURCE_DIR) + "/media/fonts/numbers.xml");
    if (section != "scenegame")
        return nullptr;
    if (name == "FONT_FLOATER_COMBO")
        return header.get();
    if (name == "FONT_FLOATER_MATCH")
        return numbers.get();
    return nullptr;
}

class ComboTest : public BoardTest {
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        previous = ResourceLookup::install(&floaterFonts);
    }
    void TearDown() override
    {
        ResourceLookup::install(previous);
        BoardTest::TearDown();
    }
    void build(const std::vector<std::string>& rows)
    {
        setBoard(rows);
        buildGrid();
        GameNode::addChild(root.get(), host->floaters.get());
    }
    // Only the animations: the controller stays out of it.
    void animate(int ms, int frames = 1)
    {
        for (int i = 0; i < frames; ++i) {
            Modifier::updateTree(host->animTree.get(), ms);
            PurgeTask purge(root.get(), host->animTree.get());
            purge.run(ms);
        }
    }
    std::vector<std::u16string> floaterTexts()
    {
        std::vector<std::u16string> texts;
        for (GameNode* n = host->floaters->getFirstChild(); n; n = n->getNextSibling())
            if (Label* label = objectCast<Label>(n))
                texts.push_back(label->getText());
        return texts;
    }
    ResourceLookup::Function previous = nullptr;
};

TEST_F(ComboTest, CascadeRunsCountTheComboAndLongRunsShowTheirLength)
{
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        bool swapped;
        int comboCount;
        std::vector<std::u16string> texts;
    };
    const std::vector<Case> cases = {
        {"one cascade run", {"aaab"}, false, 1, {u"Combo x1!"}},
        {"two cascade runs: the label shows the last", {"aaab", "cdcd", "eeef"}, false, 2, {u"Combo x2!"}},
        {"a swapped run is no combo", {"aaab"}, true, 0, {}},
        {"a long swapped run shows its length", {"aaaaab"}, true, 0, {u"5"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        build(test.rows);
        if (test.swapped)
            cells().cellAt(0, 0)->swapped = true;
        grid->removeMatches();
        EXPECT_EQ(grid->getComboCount(), test.comboCount);
        std::vector<std::u16string> texts = floaterTexts();
        for (std::u16string& text : texts)
            text.erase(std::remove(text.begin(), text.end(), u'\n'), text.end());
        // The length floater shows the number among its text.
        if (test.texts.size() == 1 && test.texts[0] == u"5") {
            ASSERT_EQ(texts.size(), 1u);
            EXPECT_NE(texts[0].find(u"5"), std::u16string::npos);
            EXPECT_EQ(host->floaters->getFirstChild()->getTag(), 256 * 5);
        } else {
            EXPECT_EQ(texts, test.texts);
        }
        grid->finishCombo();
        grid.reset();
        GameNode::releaseSiblings(host->floaters->getFirstChild());
    }
}

TEST_F(ComboTest, TheComboPulseGrowsWithTheChainUpToTen)
{
    build({"aaab"});
    const float factor = tuning().COMBO_SCALE_FACTOR;
    const int half = tuning().COMBO_SCALE_DURATION / 2;
    for (int chain = 1; chain <= 12; ++chain) {
        SCOPED_TRACE(chain);
        setBoard({"aaab"});
        grid->removeMatches();
        Label* floater = grid->getComboFloater();
        ASSERT_NE(floater, nullptr);
        // The top of the pulse, seen frame by frame.
        float top = 0.0f;
        for (int t = 0; t < 2 * half + 100; t += 2) {
            animate(2);
            top = std::max(top, floater->getScale());
        }
        EXPECT_NEAR(top, 1.0f + static_cast<float>(std::min(chain, 10)) * factor, 0.02f);
        EXPECT_FLOAT_EQ(floater->getScale(), 1.0f);
        for (int c = 0; c < 4; ++c)
            cells().eraseCell(c, 0);
    }
    EXPECT_EQ(grid->getComboCount(), 12);
}

TEST_F(ComboTest, AnEndedChainFliesIntoTheMeterUnlessTheMeterIsFull)
{
    for (const bool full : {false, true}) {
        SCOPED_TRACE(full ? "full meter" : "meter with room");
        host->delivered.clear();
        data->state->bonusMeter.setFill(full ? static_cast<float>(tuning().BONUS_MAX) : 0.0f);
        build({"aaab", "cdcd", "eeef"});
        grid->removeMatches();
        Label* floater = grid->getComboFloater();
        ASSERT_NE(floater, nullptr);
        grid->finishCombo();
        EXPECT_EQ(grid->getComboFloater(), nullptr);
        EXPECT_EQ(grid->getComboCount(), 0);
        animate(50, 200);
        // Only the last letter is handed over, carrying the chain's weight.
        EXPECT_EQ(host->delivered, full ? std::vector<int> {} : std::vector<int> {2});
        EXPECT_EQ(host->floaters->getFirstChild(), nullptr) << "every floater and letter is gone";
        grid.reset();
    }
    // A chain without a floater only resets its counters.
    build({"abab"});
    grid->finishCombo();
    EXPECT_EQ(grid->getComboCount(), 0);
    grid.reset();
}

TEST_F(ComboTest, TheMetersFirstHintComesPastTheFirstLevelToWhoHasNotSeenIt)
{
    struct Case {
        const char* name;
        bool withPlayer;
        bool seen;
        int level;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"not seen, second level on", true, false, 2, "HINT_BONUSMETER"},
        {"not seen, first level", true, false, 0, ""},
        {"seen", true, true, 2, ""},
        {"no player", false, false, 2, ""},
    };
    HintManager::create();
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        PlayerManager* players = PlayerManager::create(false, "1.0");
        if (test.withPlayer) {
            RefPointer<TortelunePlayer> player(new TortelunePlayer("Ann"));
            players->addPlayer(player.get());
            if (test.seen)
                player->setHintSeen("HINT_BONUSMETER");
        }
        data->state->levelManager.selectLevel(test.level);
        HintManager::instance->lastRequested.clear();
        build({"aaab", "cdcd", "eeef"});
        grid->removeMatches();
        grid->finishCombo();
        animate(50, 200);
        EXPECT_EQ(HintManager::instance->lastRequested, test.expected);
        grid.reset();
        PlayerManager::destroyInstance();
    }
    HintManager::destroyInstance();
}

} // namespace
