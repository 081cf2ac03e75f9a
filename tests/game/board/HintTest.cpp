#include "BoardFixture.h"

#include <algorithm>

#include "framework/core/BasicProperties.h"
#include "framework/players/PlayerManager.h"
#include "framework/scenegraph/Label.h"
#include "game/data/TortelunePlayer.h"
#include "game/scenes/HintManager.h"
#include "game/data/TuningTable.h"

namespace {

int countSound(const std::vector<std::string>& sounds, const std::string& name)
{
    return static_cast<int>(std::count(sounds.begin(), sounds.end(), name));
}

TEST_F(BoardTest, MatchHintIsShownKeptWhileItHoldsAndReplacedWhenNot)
{
    // One move on the board: the egg above (2, 1) drops in beside the two eggs.
    setBoard({"cdaf", "aabe", "gfhb", "hgdf"});
    buildGrid();
    ASSERT_TRUE(grid->offerMatchHint());
    CellSprite* mover = cells().cellAt(2, 0).get();
    CellSprite* gap = cells().cellAt(2, 1).get();
    EXPECT_EQ(grid->getHintCell(0), mover);
    EXPECT_EQ(grid->getHintCell(1), gap);
    EXPECT_TRUE(mover->isHighlighted() && gap->isHighlighted());
    EXPECT_EQ(countSound(host->sounds, "SOUND_SHOWMATCHHINT"), 1);
    EXPECT_TRUE(host->particles.empty());

    // The same hint again: nothing new while both show it; a cleared overlay comes back.
    EXPECT_FALSE(grid->showMatchHint(2, 0, 2, 1, false));
    RefPointer<GameNode> back(gap->getHighlightBack());
    ASSERT_NE(back, nullptr);
    gap->clearOverlays();
    EXPECT_TRUE(back->isRemoved()) << "a cleared highlight leaves nothing drawn";
    EXPECT_TRUE(grid->showMatchHint(2, 0, 2, 1, false));
    EXPECT_TRUE(gap->isHighlighted());
    // Another hint while this one holds: kept.
    EXPECT_FALSE(grid->showMatchHint(0, 0, 1, 0, false));
    EXPECT_EQ(grid->getHintCell(0), mover);
    EXPECT_FALSE(grid->isHintStale());
    EXPECT_EQ(countSound(host->sounds, "SOUND_SHOWMATCHHINT"), 1);

    // A run of three only: stale for the long hint, not for the idle hint.
    EXPECT_TRUE(grid->isLongHintStale());
    EXPECT_FALSE(mover->isHighlighted());
    ASSERT_TRUE(grid->showMatchHint(2, 0, 2, 1, true));
    EXPECT_EQ(host->particles.size(), 2u);
    EXPECT_FALSE(grid->isHintStale());

    // The pair stops making a run: the hint is cleared and a new one may come.
    cells().eraseCell(0, 1);
    cells().putCell(new CellSprite(0, 1, "lemon", false, 1), 0, 1);
    EXPECT_TRUE(grid->isHintStale());
    EXPECT_EQ(grid->getHintCell(0), nullptr);
    EXPECT_FALSE(mover->isHighlighted() || gap->isHighlighted());
    // A pair with an empty place shows nothing.
    EXPECT_FALSE(grid->showMatchHint(2, 0, 5, 0, false));
    EXPECT_FALSE(grid->showMatchHint(5, 0, 2, 0, false));
    EXPECT_EQ(grid->getHintCell(0), nullptr);
    EXPECT_FALSE(mover->isHighlighted());
}

TEST_F(BoardTest, WithoutASwapTheHintShowsABonusAndKeepsIt)
{
    setBoard({"abab", "cdcd", "ab*b", "cdcd"});
    buildGrid();
    ASSERT_TRUE(grid->offerMatchHint());
    CellSprite* bonus = cells().cellAt(2, 2).get();
    EXPECT_EQ(grid->getHintCell(0), bonus);
    EXPECT_EQ(grid->getHintCell(1), bonus);
    EXPECT_TRUE(bonus->isHighlighted());
    // A bonus gets one highlight, drawn over it a little higher, and no back.
    EXPECT_EQ(bonus->getHighlightBack(), nullptr);
    GameNode* over = bonus->getNextSibling();
    ASSERT_NE(over, nullptr);
    EXPECT_EQ(over->getY(), bonus->getY() - 4);
    EXPECT_FALSE(grid->isHintStale());
    grid->clearMatchHint();
    EXPECT_TRUE(over->isRemoved());
}

TEST_F(BoardTest, TheHintToolShowsLongRunsWithParticlesAndAPulse)
{
    // Only the tool, and only in career play, offers the long run when the board rests.
    struct Case {
        const char* name;
        int tool;
        int mode;
    };
    for (const Case& test : {Case {"career without the tool", -1, 0}, Case {"the tool in the arcade", 12, 1}}) {
        SCOPED_TRACE(test.name);
        session().toolIds[0] = test.tool;
        data->state->mode = test.mode;
        setBoard({"cadcc", "abaac", "gfhbd", "hgdfe"});
        buildGrid();
        for (int i = 0; i < 100; ++i)
            frame(50);
        EXPECT_TRUE(host->pulses.empty());
        EXPECT_EQ(grid->getHintCell(0), nullptr);
    }
    data->state->mode = 0;
    session().toolIds[0] = 12;
    setBoard({"cadcc", "abaac", "gfhbd", "hgdfe"});
    buildGrid();
    for (int i = 0; i < 200 && host->pulses.empty(); ++i)
        frame(50);
    ASSERT_EQ(host->pulses, std::vector<int> {12});
    CellSprite* mover = grid->getHintCell(0);
    CellSprite* gap = grid->getHintCell(1);
    ASSERT_TRUE(mover && gap);
    EXPECT_TRUE(cells().swapMakesLongRun(mover->getColumn(), mover->getRow(), gap->getColumn(), gap->getRow()));
    EXPECT_EQ(host->particles.size(), 2u);
}

TEST_F(BoardTest, AHintTimeOfZeroTurnsTheIdleHintOff)
{
    BasicProperties::instance->setInt("GRID_HINT_TIME", 0);
    loadTuning(*BasicProperties::instance);
    setBoard({"ababaeef", "cdcdcdce", "abababab", "cdcdcdcd", "abababab", "cdcdcdcd", "abababab", "cdcdcdcd"});
    buildGrid();
    for (int i = 0; i < 100; ++i)
        frame(50);
    EXPECT_EQ(grid->getHintCell(0), nullptr);
    EXPECT_EQ(countSound(host->sounds, "SOUND_SHOWMATCHHINT"), 0);
}

TEST_F(BoardTest, AStuckBoardSaysSoClearsEveryTileAndRefills)
{
    setBoard({"abababab", "cdcdcdcd", "abababab", "cdcdcdcd", "abababab", "cdcdcdcd", "abababab", "cdcdcdcd"});
    buildGrid(60, 90);
    GameNode::addChild(root.get(), host->announcements.get());
    // A tile already spawned above the board goes too.
    RefPointer<CellSprite> spawned(new CellSprite(4, -1, "lemon", false, 1));
    cells().putCell(spawned.get(), 4, -1);
    GameNode::addChild(grid->getCellNode(4, -1), spawned.get());
    // Held by counted reference: a freed tile's address may be reused by a new one.
    std::vector<RefPointer<CellSprite>> before;
    cells().forEach([&](int, int, CellSprite* tile) { before.emplace_back(tile); });
    frame();
    for (const RefPointer<CellSprite>& tile : before)
        EXPECT_EQ(tile->getState(), CellSprite::Leaving);
    Label* label = objectCast<Label>(host->announcements->getFirstChild());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getX(), 400);
    EXPECT_EQ(label->getY(), 245);
    EXPECT_EQ(label->getText().find(u"No more moves!"), 0u);

    ASSERT_TRUE(runToRest(4000, 50));
    int survivors = 0;
    cells().forEach([&](int, int, CellSprite* tile) {
        survivors += std::count_if(before.begin(), before.end(),
                                   [&](const RefPointer<CellSprite>& old) { return old.get() == tile; });
    });
    EXPECT_EQ(survivors, 0);
    EXPECT_TRUE(grid->isFull());
    EXPECT_EQ(host->announcements->getFirstChild(), nullptr) << "the text fades and goes";
}

TEST_F(BoardTest, ANewPlayerFirstGetsTheSwapHintThenMatchHints)
{
    RefPointer<PlayerManager> players(PlayerManager::create(false, "1.0"));
    RefPointer<TortelunePlayer> player(new TortelunePlayer("Ann"));
    players->addPlayer(player.get());
    HintManager::create();
    setBoard({"ababaeef", "cdcdcdce", "abababab", "cdcdcdcd", "abababab", "cdcdcdcd", "abababab", "cdcdcdcd"});
    buildGrid();
    // The swap hint comes after its own shorter time, and no match hint with it.
    const int swapTime = tuning().HINT_SWAP_TIME;
    for (int t = 0; t <= swapTime; t += 50)
        frame(50);
    EXPECT_EQ(HintManager::instance->lastRequested, "HINT_SWAP");
    EXPECT_EQ(grid->getHintCell(0), nullptr);
    // Once the player has seen it, the board offers its own hint after the usual time.
    player->setHintSeen("HINT_SWAP");
    for (int t = 0; t <= tuning().GRID_HINT_TIME && !grid->getHintCell(0); t += 50)
        frame(50);
    EXPECT_EQ(grid->getHintCell(0), cells().cellAt(7, 1).get());
    HintManager::destroyInstance();
    players.reset();
    PlayerManager::destroyInstance();
}

} // namespace
