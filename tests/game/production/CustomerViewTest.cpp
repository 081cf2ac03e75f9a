// The customer on the real layout, art and tuning: moods by grade sum,
// speech and its repeats, hearts, the singer, and the hint bubble's texts.
#include "ProductionFixture.h"
#include "framework/core/Random.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DialogCustomerHint.h"
#include "game/production/CustomerView.h"
#include "game/production/GameScreen.h"
#include "support/GameDataFixtures.h"

namespace {

class CustomerViewTest : public ProductionTest {
protected:
    void SetUp() override
    {
        withMedia = true;
        ProductionTest::SetUp();
        setTuningInt("WIN_DELAY", 600000);
        random.setSeed(20);
        previousRandom = Random::instance;
        Random::instance = &random;
    }
    void TearDown() override
    {
        Random::instance = previousRandom;
        ProductionTest::TearDown();
    }

    CustomerView* customer() const { return scene->getCustomerView(); }
    Sprite* face() const { return dynamic_cast<Sprite*>(node("CUSTOMER")); }
    int hearts() const
    {
        int count = 0;
        for (GameNode* heart = node("NODE_HEARTS")->getFirstChild(); heart; heart = heart->getNextSibling())
            count += heart->isRemoved() ? 0 : 1;
        return count;
    }
    bool speaking() const { return node("CUSTOMER_TEXT")->isVisible(); }

    Random random;
    Random* previousRandom = nullptr;
};

TEST_F(CustomerViewTest, MoodFollowsTheGradeSumAndFallsBackToCasual)
{
    startCareerLevel(0);
    ASSERT_NE(nullptr, customer());
    const Level& level = GameData::instance->getCurrentLevel();
    ASSERT_EQ("CUSTOMER_HENRI", level.customerName);
    const int happy = level.customerRecord->happy;
    const int ecstatic = level.customerRecord->ecstatic;
    const TuningTable& t = tuning();
    struct Case {
        int gradeSum;
        const char* face;
        int hearts;
        int moodMs;
    };
    const Case cases[] = {
        {happy - 1, "_CASUAL", t.CUSTOMER_HEART_CASUAL, 0},
        {happy, "_HAPPY", t.CUSTOMER_HEART_HAPPY, t.CUSTOMER_MOOD_DURATION},
        {ecstatic - 1, "_HAPPY", t.CUSTOMER_HEART_HAPPY, t.CUSTOMER_MOOD_DURATION},
        {ecstatic, "_ECSTATIC", t.CUSTOMER_HEART_ECSTATIC, t.CUSTOMER_MOOD_DURATION},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gradeSum);
        customer()->resetToCasual();
        const int before = customer()->getPendingHearts();
        customer()->reactToDelivery(c.gradeSum);
        EXPECT_EQ(gamescreen::image(level.customerName + c.face), face()->getImage());
        EXPECT_EQ(4, face()->getFrameCount());
        EXPECT_EQ(before + c.hearts, customer()->getPendingHearts());
        EXPECT_EQ(c.moodMs, customer()->getMoodCountdown().period);
    }
    // The ecstatic face goes back to casual once the mood's time is up, not before.
    frames((t.CUSTOMER_MOOD_DURATION - 40) / 20);
    EXPECT_EQ(gamescreen::image("CUSTOMER_HENRI_ECSTATIC"), face()->getImage());
    frames(3);
    EXPECT_EQ(gamescreen::image("CUSTOMER_HENRI_CASUAL"), face()->getImage());
    EXPECT_EQ(0, customer()->getMoodCountdown().period);
}

TEST_F(CustomerViewTest, HeartsLeaveOnePerDelayWhateverWasAddedAtOnce)
{
    startCareerLevel(0);
    const TuningTable& t = tuning();
    ASSERT_GT(t.CUSTOMER_HEART_ECSTATIC, 2);
    ASSERT_EQ(0, t.CUSTOMER_HEART_DELAY % 10);
    frames(t.CUSTOMER_HEART_DELAY / 20 + 1);
    customer()->reactToDelivery(100);
    const int pending = customer()->getPendingHearts();
    ASSERT_EQ(t.CUSTOMER_HEART_ECSTATIC, pending);
    // The heart countdown had rung already: the first heart leaves at once,
    // then one per delay.
    frame(10);
    EXPECT_EQ(pending - 1, customer()->getPendingHearts());
    EXPECT_EQ(1, hearts());
    for (int ms = 10; ms < t.CUSTOMER_HEART_DELAY; ms += 10)
        frame(10);
    EXPECT_EQ(pending - 1, customer()->getPendingHearts());
    frame(10);
    EXPECT_EQ(pending - 2, customer()->getPendingHearts());
    EXPECT_EQ(2, hearts());
    // Each heart rises, pops away and is gone.
    ASSERT_TRUE(runUntil([&] { return customer()->getPendingHearts() == 0 && hearts() == 0; }));
}

TEST_F(CustomerViewTest, IdenticalReactionsSpeakAgainOnlyAfterTheRepeatCount)
{
    startCareerLevel(0);
    struct Case {
        int repeat;
        std::vector<int> sums;
        std::vector<bool> spoken;
    };
    const Case cases[] = {
        {2, {20, 20, 20, 20, 20}, {true, false, false, true, true}},
        {2, {20, 20, 0, 20, 20}, {true, false, true, true, false}},
        {0, {20, 20, 20}, {true, true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.repeat);
        setTuningInt("CUSTOMER_TEXT_REPEAT", c.repeat);
        // A fresh customer remembers no text yet.
        RefPointer<CustomerView> fresh(new CustomerView());
        for (size_t i = 0; i < c.sums.size(); ++i) {
            node("CUSTOMER_TEXT")->setVisible(false);
            fresh->reactToDelivery(c.sums[i]);
            // The text shows through a step of the scene's animations.
            frame(10);
            EXPECT_EQ(c.spoken[i], speaking()) << "reaction " << i;
        }
    }
    // The spoken text is the mood's text, and it is hidden after its time.
    setTuningInt("CUSTOMER_TEXT_REPEAT", 0);
    customer()->reactToDelivery(100);
    frame(10);
    EXPECT_TRUE(speaking());
    auto* label = dynamic_cast<Label*>(node("CUSTOMER_TEXT"));
    EXPECT_EQ(textByKey("CUSTOMER_HENRI_ECSTATIC"), label->getText());
    frames(tuning().CUSTOMER_TEXT_DURATION / 20 + 1);
    EXPECT_FALSE(speaking());
    EXPECT_FALSE(node("CUSTOMER_CLOUD")->isVisible());
}

TEST_F(CustomerViewTest, OnlyTheSingerIsCourted)
{
    setTuningInt("HENRI_HEART_INTERVAL_MIN", 1000);
    setTuningInt("HENRI_HEART_INTERVAL_MAX", 1001);
    startCareerLevel(0);
    frames(60);
    EXPECT_EQ(0, customer()->getCourtships());
    EXPECT_EQ(0x7FFFFFFF, customer()->getSingerCountdown().period);
    EXPECT_FALSE(node("HENRILOVESSINGER")->isVisible());

    scene->leavePhase();
    startCareerLevel(16);
    ASSERT_EQ("CUSTOMER_SINGER", customer()->getName());
    ASSERT_TRUE(runUntil([&] { return customer()->getCourtships() == 1; }, 60));
    EXPECT_EQ(1000, customer()->getSingerCountdown().period);
    // The chef slides in, sends four hearts and leaves again.
    frames(20);
    EXPECT_TRUE(node("HENRILOVESSINGER")->isVisible());
    EXPECT_EQ(616, node("HENRILOVESSINGER")->getX());
    EXPECT_GE(hearts(), 1);
}

TEST_F(CustomerViewTest, ReversedRangesInTheDataGiveTheirLowerEnd)
{
    setTuningInt("CUSTOMER_ANIMATION_DELAY_MIN", 3000);
    setTuningInt("CUSTOMER_ANIMATION_DELAY_MAX", 1000);
    setTuningInt("HENRI_HEART_INTERVAL_MIN", 1000);
    setTuningInt("HENRI_HEART_INTERVAL_MAX", 400);
    startCareerLevel(16);
    EXPECT_EQ(1000, customer()->getSingerCountdown().period);
    ASSERT_TRUE(runUntil([&] { return customer()->getCourtships() == 2; }, 120));
    EXPECT_EQ(1000, customer()->getSingerCountdown().period);
    // The face's idle animation comes every "CUSTOMER_ANIMATION_DELAY_MIN" ms.
    frames(3000 / 20 + 1);
    EXPECT_EQ(3000, customer()->getAnimationCountdown().period);
}

TEST_F(CustomerViewTest, HintTextKeysFollowTheLevelItsThemeAndTheResult)
{
    startCareerLevel(0);
    Level& level = GameData::instance->getCurrentLevel();
    struct Case {
        const char* customer;
        const char* theme;
        int index;
        int perTheme;
        const char* key;
    };
    const Case cases[] = {
        {"CUSTOMER_HENRI", "theme1", 1, 4, "CUSTOMER_HENRI_LEVEL1"},
        {"Customer_Grandma", "theme2", 6, 4, "CUSTOMER_GRANDMA_LEVEL2"},
        {"CUSTOMER_HENRI_EXAM", "exam1", 3, 4, "CUSTOMER_HENRI_EXAM_LEVEL3"},
        {"CUSTOMER_HENRI_EXAM", "exam2", 7, 4, "CUSTOMER_HENRI_EXAM_LEVEL7"},
        {"CUSTOMER_HENRI_EXAM", "exam3", 8, 4, "CUSTOMER_HENRI_EXAM_LEVEL8"},
        // Levels per theme of 0 in the data: the first text, not a division by zero.
        {"CUSTOMER_CHILD", "theme1", 5, 0, "CUSTOMER_CHILD_LEVEL0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        setTuningInt("LEVEL_PER_THEME", c.perTheme);
        level.customerName = c.customer;
        level.themeName = c.theme;
        level.levelIndex = c.index;
        EXPECT_EQ(c.key, DialogCustomerHint::levelTextKey());
    }
    level.customerName = "CUSTOMER_HENRI";
    state().playSessionInfo.starCount = level.starsGoal;
    EXPECT_EQ("CUSTOMER_HENRI_WON0", DialogCustomerHint::resultTextKey());
    state().playSessionInfo.starCount = level.starsGoal - 1;
    EXPECT_EQ("CUSTOMER_HENRI_LOSE0", DialogCustomerHint::resultTextKey());
    // The arcade has no goal to win: its customer always says the lose text.
    state().playSessionInfo.starCount = 1000;
    state().mode = 1;
    EXPECT_EQ("_LOSE0", DialogCustomerHint::resultTextKey().substr(DialogCustomerHint::resultTextKey().size() - 6));
    state().mode = 0;
}

TEST_F(CustomerViewTest, TheBubbleOpensBesideTheCustomerAndAClickDismissesItOnlyOnceEnabled)
{
    answerCustomerHints = false;
    state().mode = 0;
    GameData::instance->startLevel(0);
    scene->startLevel();
    ASSERT_TRUE(runUntil([&] { return scene->isDialogShown("DIALOG_CUSTOMERHINT"); }, 100));
    auto* hint = dynamic_cast<DialogCustomerHint*>(scene->getDialog("DIALOG_CUSTOMERHINT"));
    ASSERT_NE(nullptr, hint);
    const Customer* record = GameData::instance->getCurrentLevel().customerRecord;
    // Its lower left corner stands at the customer's hint place (a screen point).
    EXPECT_EQ(record->hint.x, hint->getX());
    EXPECT_EQ(record->hint.y, hint->getY() + hint->getHeight());
    auto* text = dynamic_cast<Label*>(hint->getComponent("LABEL_DESC"));
    EXPECT_EQ(textByKey("CUSTOMER_HENRI_LEVEL0"), text->getText());
    hint->onLeftDown(hint->getX() + 20, hint->getY() + 20, 0, false);
    EXPECT_FALSE(hint->isDismissed());
    // The intro enables the OK button once the board is filled; then a click counts.
    ASSERT_TRUE(runUntil([&] { return hint->getComponent("BUTTON_OK")->isVisible(); }));
    hint->onLeftDown(hint->getX() + 20, hint->getY() + 20, 0, false);
    EXPECT_TRUE(hint->isDismissed());
    ASSERT_TRUE(runUntil([&] { return !scene->isDialogShown("DIALOG_CUSTOMERHINT"); }));
}

} // namespace
