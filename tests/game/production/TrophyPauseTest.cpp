// The play phase's trophy pause: the game scene hands the waiting trophies of
// play to the trophy watcher and plays on once they have been announced.
#include "ProductionFixture.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/Trophies.h"
#include "game/dialogs/TrophyWatcher.h"

namespace {

class TrophyPauseTest : public ProductionTest {
protected:
    void SetUp() override
    {
        ProductionTest::SetUp();
        TrophyWatcher::create();
    }
    void TearDown() override
    {
        TrophyWatcher::destroyInstance();
        ProductionTest::TearDown();
    }
};

TEST_F(TrophyPauseTest, TheScenePausesForTheWatcherAndPlaysOnWhenItIsDone)
{
    startCareerLevel(0);
    Trophies* trophies = player->getTrophies();
    EXPECT_FALSE(scene->SceneGame::trophyPending());
    trophies->setState(4, 1);  // a game trophy
    trophies->setState(2, 1);  // a shop trophy: not the game's to announce
    EXPECT_TRUE(scene->SceneGame::trophyPending());

    TrophyWatcher* watcher = TrophyWatcher::instance;
    // The watcher is busy with the map's trophies: the scene plays on and asks again.
    watcher->pendingKind = TrophyWatcher::KindMap;
    scene->trophyWaiting = true;
    frames(3);
    EXPECT_FALSE(scene->isPaused());
    EXPECT_TRUE(scene->isTrophyRequestPending());
    watcher->pendingKind = TrophyWatcher::KindNone;
    frame();
    EXPECT_TRUE(scene->isPaused());
    EXPECT_EQ(TrophyWatcher::KindGameScene, watcher->getPendingKind());

    // Announced (no scene to show it in here: it counts as announced), then the scene goes on.
    watcher->run(20);
    EXPECT_EQ(2, trophies->getState(4));
    scene->trophyWaiting = false;
    watcher->run(20);
    EXPECT_FALSE(watcher->isBusy());
    frame();
    EXPECT_FALSE(scene->isPaused());
    EXPECT_EQ(1, trophies->getState(2));
}

} // namespace
