// The bonus meter on the real layout, art and tuning: the display, the
// drain, a frenzy from its announcement to its end, and floaters.
#include "ProductionFixture.h"
#include "framework/core/Random.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/ScoreTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/Trophies.h"
#include "game/production/BonusMeter.h"
#include "game/production/BonusMeterView.h"
#include "game/production/FrenzyTask.h"
#include "game/production/Phase.h"
#include "support/GameDataFixtures.h"

namespace {

class BonusMeterViewTest : public ProductionTest {
protected:
    void SetUp() override
    {
        withMedia = true;
        ProductionTest::SetUp();
        setTuningInt("WIN_DELAY", 600000);
    }

    // A career level in play, its frenzy multipliers in force (the tool
    // choice sets them).
    void play()
    {
        state().playSessionInfo.applyTools(toolIds[0], toolIds[1]);
        startCareerLevel(0);
    }
    int toolIds[2] = {-1, -1};
    BonusMeterView* view() const { return phase()->getPieces()->bonusMeterView.get(); }
    BonusMeter& meter() const { return state().bonusMeter; }
    FrenzyTask* task() const { return view()->getTask(); }
    Sprite* sprite(const char* name) const { return dynamic_cast<Sprite*>(node(name)); }
    int nodesIn(const char* layer) const
    {
        int count = 0;
        for (GameNode* n = node(layer)->getFirstChild(); n; n = n->getNextSibling())
            count += n->isRemoved() ? 0 : 1;
        return count;
    }
};

TEST_F(BonusMeterViewTest, DisplayClipsTheSyrupFromItsFillLineDown)
{
    play();
    Sprite* filling = sprite("BONUS_FILLING");
    Sprite* top = sprite("BONUS_FILLING_TOP");
    Sprite* cane = sprite("BONUS_FILLING_CANDYCANE");
    const int h = filling->getHeight();
    ASSERT_GT(h, 0);
    const int max = tuning().BONUS_MAX;
    struct Case {
        int value;
        int level;
    };
    // level = H x value / max, truncated
    const Case cases[] = {{0, 0}, {max / 4, h * (max / 4) / max}, {max, h}, {max * 2, h}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        view()->setDisplayedValue(c.value);
        ASSERT_TRUE(filling->getClipRect());
        EXPECT_EQ(c.level, filling->getClipRect()->height);
        EXPECT_EQ(filling->getY() + h - c.level, filling->getClipRect()->y);
        EXPECT_EQ(filling->getY() + h - c.level, top->getY());
        EXPECT_EQ(filling->getY() + h - c.level - (cane->getHeight() - h), cane->getY());
        EXPECT_EQ(c.level + cane->getHeight() - h, cane->getClipRect()->height);
    }
    // A maximum of 0 in the data shows full or empty instead of dividing by it.
    setTuningInt("BONUS_MAX", 0);
    view()->setDisplayedValue(5);
    EXPECT_EQ(h, filling->getClipRect()->height);
    view()->setDisplayedValue(0);
    EXPECT_EQ(0, filling->getClipRect()->height);
}

TEST_F(BonusMeterViewTest, TheDisplayClimbsToTheFillWhichDrainsOncePerSecondOfPlay)
{
    play();
    const TuningTable& t = tuning();
    meter().setFill(500.0f);
    // The display counts towards the fill within a second.
    ASSERT_TRUE(runUntil([&] { return view()->getDisplayedValue() == 500; }, 50));
    // Drained once per 1000 ms of unpaused play since the fill was set.
    meter().setFill(500.0f);
    const float before = meter().getFill();
    frames(50);
    EXPECT_FLOAT_EQ(before - t.BONUS_PERSECOND, meter().getFill());
    scene->requestHold();
    frames(150);
    EXPECT_FLOAT_EQ(before - t.BONUS_PERSECOND, meter().getFill());
    scene->requestResume();
    frames(51);
    EXPECT_FLOAT_EQ(before - 2 * t.BONUS_PERSECOND, meter().getFill());
    // The fill never leaves its range.
    meter().add(-100000.0f);
    EXPECT_FLOAT_EQ(static_cast<float>(t.BONUS_MAX), meter().getFill());
    meter().setFill(static_cast<float>(t.BONUS_MIN));
    frames(60);
    EXPECT_FLOAT_EQ(static_cast<float>(t.BONUS_MIN), meter().getFill());
}

TEST_F(BonusMeterViewTest, AFullMeterAnnouncesAFrenzyThatScoresAndEndsEmpty)
{
    play();
    const TuningTable& t = tuning();
    meter().setFill(static_cast<float>(t.BONUS_MAX));
    ASSERT_TRUE(runUntil([&] { return task()->getState() == FrenzyTask::FrenzyAnnounce; }, 400));
    EXPECT_FALSE(meter().isFrenzy());
    frame();
    EXPECT_EQ(1, nodesIn("NODE_FLOATERBONUS"));
    // The banner crosses the screen; the frenzy begins after it.
    ASSERT_TRUE(runUntil([&] { return meter().isFrenzy(); }, 400));
    EXPECT_EQ(FrenzyTask::FrenzyActive, task()->getState());
    frame();
    EXPECT_EQ(1, meter().getFrenzyCount());
    // Its first frame adds one score step (doubled by the frenzy) and one burst.
    const int step = static_cast<int>(state().playSessionInfo.getScoreMultiplier() * t.FRENZY_SCORE_VALUE);
    EXPECT_EQ(static_cast<int>(t.FRENZY_MULTIPLIER_SCORE * t.FRENZY_SCORE_VALUE), step);
    EXPECT_EQ(step, state().playSessionInfo.score);
    EXPECT_EQ(t.FRENZY_CONFETTI_DENSITY, nodesIn("NODE_FLOATERSTARS"));
    EXPECT_TRUE(node("BONUS_FOUNTAIN")->isVisible());
    EXPECT_TRUE(node("BONUS_FILLING_CANDYCANE")->isVisible());
    EXPECT_FALSE(node("BONUS_FILLING")->isVisible());
    // No fill during the frenzy; one score step per interval.
    const float fill = meter().getFill();
    meter().add(500.0f);
    EXPECT_FLOAT_EQ(fill, meter().getFill());
    frames(t.FRENZY_SCORE_INTERVAL / 20);
    EXPECT_EQ(2 * step, state().playSessionInfo.score);
    // A full meter empties in "FRENZY_TIME" ms.
    int ms = t.FRENZY_SCORE_INTERVAL + 40;
    while (meter().isFrenzy() && ms < 3 * t.FRENZY_TIME) {
        frame();
        ms += 20;
    }
    EXPECT_NEAR(t.FRENZY_TIME, ms, 100);
    EXPECT_EQ(FrenzyTask::MeterFilling, task()->getState());
    EXPECT_FLOAT_EQ(0.0f, meter().getFill());
    EXPECT_TRUE(node("BONUS_FILLING")->isVisible());
    EXPECT_FALSE(node("BONUS_FOUNTAIN")->isVisible());
    // The confetti still falling fades within 125 ms.
    frames(8);
    EXPECT_EQ(0, nodesIn("NODE_FLOATERSTARS"));
}

TEST_F(BonusMeterViewTest, TheBannerMayEndAfterTheMeterIsGone)
{
    play();
    meter().setFill(static_cast<float>(tuning().BONUS_MAX));
    ASSERT_TRUE(runUntil([&] { return task()->getState() == FrenzyTask::FrenzyAnnounce; }, 400));
    frame();
    ASSERT_EQ(1, nodesIn("NODE_FLOATERBONUS"));
    // The play ends during the announcement: the view and its task go, the banner flies on.
    phase()->getPieces()->bonusMeterView = nullptr;
    ASSERT_TRUE(runUntil([&] { return nodesIn("NODE_FLOATERBONUS") == 0; }, 400));
    frames(5);
    EXPECT_FALSE(meter().isFrenzy());
}

TEST_F(BonusMeterViewTest, AMeterRestoredInAFrenzyGoesOnWithIt)
{
    play();
    meter().setFrenzy(true);
    meter().setFill(600.0f);
    phase()->getPieces()->bonusMeterView = new BonusMeterView();
    EXPECT_EQ(FrenzyTask::FrenzyActive, task()->getState());
    EXPECT_EQ(600, view()->getDisplayedValue());
    frame();
    EXPECT_TRUE(node("BONUS_FILLING_CANDYCANE")->isVisible());
    EXPECT_TRUE(node("BONUS_FOUNTAIN")->isVisible());
    EXPECT_FALSE(node("BONUS_FILLING")->isVisible());
    EXPECT_LT(meter().getFill(), 600.0f);
    // One restored during its announcement (no frenzy yet, a full display) announces again.
    meter().setFrenzy(false);
    meter().setFill(static_cast<float>(tuning().BONUS_MAX));
    phase()->getPieces()->bonusMeterView = new BonusMeterView();
    EXPECT_EQ(FrenzyTask::MeterFilling, task()->getState());
    frame();
    EXPECT_EQ(FrenzyTask::FrenzyAnnounce, task()->getState());
}

TEST_F(BonusMeterViewTest, GuardedTuningNeverDividesByZero)
{
    setTuningInt("FRENZY_TIME", 0);
    setTuningInt("BONUS_WHEEL_FRAME_BACKWARD", 0);
    play();
    meter().setFrenzy(true);
    meter().setFill(300.0f);
    view()->turnWheelForFrenzy();
    // A frenzy of no length is over in its first frames.
    RefPointer<BonusMeterView> restored(new BonusMeterView());
    phase()->getPieces()->bonusMeterView = restored;
    frames(3);
    EXPECT_FALSE(meter().isFrenzy());
    EXPECT_FLOAT_EQ(0.0f, meter().getFill());
}

TEST_F(BonusMeterViewTest, FloatersFillTheMeterUntilTheLevelIsOver)
{
    toolIds[0] = 1;
    play();
    const int gain = getBonusMeterGain(4, 0, 1.0f);
    ASSERT_GT(gain, 0);
    meter().setFill(500.0f);
    ASSERT_TRUE(runUntil([&] { return view()->getDisplayedValue() == 500; }, 50));
    view()->onMatchDelivered(4, 0);
    // The speedy meter multiplies the gain and sparkles at the syrup.
    EXPECT_FLOAT_EQ(500.0f + static_cast<float>(static_cast<int>(gain * state().playSessionInfo.multiplierBonusCollect)),
                    meter().getFill());
    EXPECT_GT(nodesIn("NODE_TOOLS"), 0);
    state().levelOver = true;
    const float fill = meter().getFill();
    view()->onMatchDelivered(4, 0);
    EXPECT_FLOAT_EQ(fill, meter().getFill());
    state().levelOver = false;
}

} // namespace
