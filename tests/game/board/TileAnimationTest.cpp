#include "BoardFixture.h"

#include "game/data/TuningTable.h"
#include "game/effects/ModifierAccelerate.h"

namespace {

int calls = 0;
int countCall(void*, BaseObject*)
{
    ++calls;
    return 0;
}

// Milliseconds until the tile is idle again, in 10 ms frames.
int timeToIdle(BoardTest& test, FakeBoardHost& host, CellSprite& tile)
{
    (void)test;
    int elapsed = 0;
    while (tile.getState() != CellSprite::Idle && elapsed < 10000) {
        Modifier::updateTree(host.animTree.get(), 10);
        elapsed += 10;
    }
    return elapsed;
}

TEST_F(BoardTest, DurationsFollowTheAnimationSpeed)
{
    setBoard({"ab"});
    buildGrid();
    const int swap = tuning().SWAP_DURATION;
    for (float speed : {1.0f, 1.5f}) {
        SCOPED_TRACE(speed);
        session().toolIds[0] = speed > 1.0f ? 9 : -1;
        session().multiplierAnimationFastGame = speed;
        RefPointer<CellSprite> tile = cells().getCell(0, 0);
        tile->swapTo(CellSprite::Right, true);
        const int expected = static_cast<int>(swap * (2.0f - speed));
        const int elapsed = timeToIdle(*this, *host, *tile);
        EXPECT_GE(elapsed, expected - 20);
        EXPECT_LE(elapsed, expected + 20);
        // A swap ends at scale 1 exactly, on the neighbour's place.
        EXPECT_FLOAT_EQ(tile->getScale(), 1.0f);
        EXPECT_EQ(tile->getX(), cellWidth());
        tile->setX(0);
    }
}

TEST_F(BoardTest, ASecondFallLengthensTheFirst)
{
    setBoard({"a"});
    buildGrid();
    RefPointer<CellSprite> tile = cells().getCell(0, 0);
    tile->fallTo(2);
    Modifier::updateTree(host->animTree.get(), 20);
    tile->fallTo(5);
    int falls = 0;
    for (Modifier* m : tile->getTreeModifiers())
        falls += objectCast<ModifierAccelerate>(m) ? 1 : 0;
    EXPECT_EQ(falls, 1);
    EXPECT_EQ(tile->getState(), CellSprite::Falling);
    timeToIdle(*this, *host, *tile);
    EXPECT_EQ(tile->getY(), 5 * cellHeight());
    // Neither a second fall nor an invalid swap starts on a busy tile.
    tile->setState(CellSprite::Swapping);
    tile->fallTo(7);
    EXPECT_EQ(tile->getState(), CellSprite::Swapping);
}

TEST_F(BoardTest, EndingAnimationsCallTheirCallerOnceAndLeaveTheTileGone)
{
    setBoard({"abc", "def"});
    buildGrid();
    calls = 0;
    const GuiMethod callback(nullptr, &countCall);
    RefPointer<CellSprite> popped = cells().getCell(0, 0);
    popped->popOut(callback, nullptr, nullptr);
    EXPECT_EQ(timeToIdle(*this, *host, *popped) > 0, true);
    EXPECT_FALSE(popped->isVisible());
    EXPECT_EQ(calls, 1);
    // A tile right of and below its target has a negative delay, which ends at once.
    RefPointer<CellSprite> sucked = cells().getCell(2, 1);
    sucked->suckTo(0, 0, callback, nullptr);
    EXPECT_EQ(sucked->getState(), CellSprite::Sucked);
    const int elapsed = timeToIdle(*this, *host, *sucked);
    EXPECT_LE(elapsed, tuning().SUCK_DURATION + 20);
    EXPECT_FALSE(sucked->isVisible());
    EXPECT_EQ(calls, 2);
    // Blown back out, it lands on its own place at full size.
    sucked->blowTo(0, 0);
    EXPECT_TRUE(sucked->isVisible());
    timeToIdle(*this, *host, *sucked);
    EXPECT_EQ(sucked->getX(), 2 * cellWidth());
    EXPECT_EQ(sucked->getY(), cellHeight());
    EXPECT_FLOAT_EQ(sucked->getScale(), 1.0f);
}

} // namespace
