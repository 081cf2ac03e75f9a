#include "game/scenes/LevelSceneFixture.h"

#include <algorithm>
#include <climits>
#include <set>
#include <string>
#include <vector>

#include "support/PictureClearance.h"
#include "support/ScenePicture.h"
#include "framework/gui/Button.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/Recipe.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DialogHint.h"
#include "game/dialogs/DialogLevelEnd.h"
#include "game/dialogs/DialogRankUp.h"
#include "game/effects/LabelTicker.h"
#include "game/production/Phase.h"
#include "game/production/PhaseEnd.h"
#include "game/scenes/HintManager.h"
#include "game/text/GameText.h"

class LevelEndTest : public LevelSceneTest {
protected:
    LevelEndTest() { withMedia = true; }

    // The results of career level 0 as the results phase opens them: filled
    // from the profile as it was, then the profile records the attempt, then shown.
    DialogLevelEnd* open(int stars, int score)
    {
        Level& level = GameData::instance->getCurrentLevel();
        state().playSessionInfo.starCount = stars;
        state().playSessionInfo.score = score;
        const bool won = stars >= level.starsGoal;
        auto* dialog = objectCast<DialogLevelEnd>(scene->getOrCreateDialog(std::string(), "DIALOG_LEVEL_END"));
        if (!dialog)
            return nullptr;
        dialog->showResults(level, state().playSessionInfo, won);
        PhaseResults::recordLevel(won);
        scene->showDialog(dialog);
        return dialog;
    }
    int shownValue(DialogLevelEnd* dialog, const char* ticker)
    {
        LabelTicker* counter = dialog->getTicker(ticker);
        return counter ? static_cast<int>(counter->getValue()) : -999;
    }
    bool visible(DialogLevelEnd* dialog, const char* name)
    {
        GameNode* part = dialog->getComponent(name);
        return part && part->isVisible();
    }
    // Runs until the reveal is over, noting each rank a rank-up dialog shows.
    std::vector<int> runReveal(DialogLevelEnd* dialog, int maxFrames = 4000)
    {
        std::vector<int> ranks;
        bool open = false;
        for (int i = 0; i < maxFrames && !(dialog->isSequenceDone() && !dialog->hasPendingRankUps() &&
                                           !shown("DIALOG_RANKUP") && !dialog->isMeterPaused());
             ++i) {
            auto* rankUp = objectCast<DialogRankUp>(shown("DIALOG_RANKUP"));
            if (rankUp && !open)
                ranks.push_back(rankUp->rank);
            open = rankUp != nullptr;
            frame();
        }
        // The buttons come 500 ms after the last step.
        frames(40);
        return ranks;
    }
    static Image* imageOf(const std::string& name)
    {
        ResourceLock lock;
        return ResourceManager::instance->getResourceAs<Image>(name, "scenegame").get();
    }
    void setUpLevel0()
    {
        state().mode = 0;
        GameData::instance->startLevel(0);
    }
};

TEST_F(LevelEndTest, WonLevelWithAnEarlierBestShowsPreviousAndNewStars)
{
    setUpLevel0();
    player->levelScore[0] = 300;
    player->levelStars[0] = 2;
    player->starsOffset = 4;
    const int goal = GameData::instance->getCurrentLevel().starsGoal;
    DialogLevelEnd* dialog = open(goal + 1, 1500);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(goal + 1, dialog->getStarsEarned());
    EXPECT_EQ(2, dialog->getPreviousStars());
    EXPECT_EQ(goal - 1, dialog->getNewStars());
    EXPECT_EQ(2 + 4, dialog->getOldTotalStars());
    EXPECT_EQ(2 + 4 + goal - 1, dialog->getNewTotalStars());
    EXPECT_FALSE(visible(dialog, "BUTTON_NEXT"));
    runReveal(dialog);
    EXPECT_TRUE(dialog->isSequenceDone());
    EXPECT_EQ(goal + 1, shownValue(dialog, "TICKER_QUALITY"));
    EXPECT_EQ(2, shownValue(dialog, "TICKER_PREVIOUS"));
    EXPECT_EQ(goal - 1, shownValue(dialog, "TICKER_NEW"));
    EXPECT_EQ(1500, shownValue(dialog, "TICKER_SCORE"));
    EXPECT_EQ(1500, shownValue(dialog, "TICKER_TOTAL"));
    EXPECT_EQ(2 + 4 + goal - 1, shownValue(dialog, "TICKER_CASH"));
    EXPECT_TRUE(visible(dialog, "LABEL_PREVIOUS"));
    EXPECT_FALSE(visible(dialog, "LABEL_GOAL"));
    EXPECT_FALSE(visible(dialog, "LABEL_MISSED"));
    EXPECT_TRUE(visible(dialog, "BUTTON_NEXT"));
    EXPECT_FALSE(visible(dialog, "BUTTON_RESTART"));
    auto* next = objectCast<Button>(dialog->getComponent("BUTTON_NEXT"));
    ASSERT_NE(nullptr, next);
    EXPECT_TRUE(next->isEnabled());
    EXPECT_NE(-1, dialog->getConfettiTimer());
    // The button stops the confetti and answers "next".
    next->fire();
    EXPECT_EQ(DialogLevelEnd::Next, dialog->result);
    EXPECT_EQ(-1, dialog->getConfettiTimer());
}

TEST_F(LevelEndTest, LostLevelShowsTheGoalAndCountsTheMissingStars)
{
    setUpLevel0();
    player->levelScore[0] = 300;
    player->levelStars[0] = 5;
    const int goal = GameData::instance->getCurrentLevel().starsGoal;
    ASSERT_GT(goal, 2);
    for (bool skip : {false, true}) {
        DialogLevelEnd* dialog = open(2, 400);
        ASSERT_NE(nullptr, dialog);
        EXPECT_EQ(goal - 2, dialog->getMissedStars());
        if (skip) {
            frames(60);
            dialog->onLeftUp(dialog->getAbsoluteX() + 10, dialog->getAbsoluteY() + 10, 0);
        } else {
            runReveal(dialog);
        }
        ASSERT_TRUE(dialog->isSequenceDone()) << skip;
        // A lost level with an earlier score still shows the goal, not the best.
        EXPECT_TRUE(visible(dialog, "LABEL_GOAL")) << skip;
        EXPECT_FALSE(visible(dialog, "LABEL_PREVIOUS")) << skip;
        EXPECT_EQ(goal, shownValue(dialog, "TICKER_GOAL")) << skip;
        EXPECT_EQ(goal - 2, shownValue(dialog, "TICKER_MISSED")) << skip;
        EXPECT_TRUE(visible(dialog, "LABEL_FAILED")) << skip;
        EXPECT_FALSE(visible(dialog, "LABEL_CASH")) << skip;
        EXPECT_TRUE(visible(dialog, "BUTTON_RESTART")) << skip;
        EXPECT_TRUE(visible(dialog, "BUTTON_STOP")) << skip;
        EXPECT_FALSE(visible(dialog, "BUTTON_NEXT")) << skip;
        // Nothing counts towards a rank, and the rank meter's hint waits for a win.
        EXPECT_EQ(player->score, shownValue(dialog, "TICKER_TOTAL")) << skip;
        EXPECT_EQ(nullptr, shown("DIALOG_HINT")) << skip;
        scene->forgetDialog(dialog);
    }
}

// Won or lost, the buttons that come up at the end stand clear of the rank
// meter's panel and of the tallies.
TEST_F(LevelEndTest, TheButtonsStandClearOfTheMeterAndTheTallies)
{
    setUpLevel0();
    const int goal = GameData::instance->getCurrentLevel().starsGoal;
    for (int stars : {goal, 1}) {
        SCOPED_TRACE(stars);
        DialogLevelEnd* dialog = open(stars, 500);
        ASSERT_NE(nullptr, dialog);
        frames(60);
        dialog->onLeftUp(dialog->getAbsoluteX() + 10, dialog->getAbsoluteY() + 10, 0);
        frames(40);
        int buttons = 0;
        for (const char* name : {"BUTTON_NEXT", "BUTTON_RESTART", "BUTTON_STOP"}) {
            auto* button = objectCast<Sprite>(dialog->getComponent(name));
            if (!button || !button->isVisible())
                continue;
            ++buttons;
            for (const char* panelName : {"SPRITE_PANELMETER", "SPRITE_PANELEARNEDSTARS", "SPRITE_PANELEXAMFAILURE",
                                          "SPRITE_PANELTOTALSTARS", "SPRITE_PANELSCORE"}) {
                auto* panel = objectCast<Sprite>(dialog->getComponent(panelName));
                if (!panel || !panel->isVisible())
                    continue;
                const bool apart = button->getLeft() + button->getWidth() <= panel->getLeft() ||
                                   panel->getLeft() + panel->getWidth() <= button->getLeft() ||
                                   button->getTop() + button->getHeight() <= panel->getTop() ||
                                   panel->getTop() + panel->getHeight() <= button->getTop();
                EXPECT_TRUE(apart) << name << " on " << panelName;
            }
        }
        EXPECT_GE(buttons, 1);
        scene->forgetDialog(dialog);
    }
}

TEST_F(LevelEndTest, AClickPutsAWonRevealInItsFinalStateAtOnce)
{
    setUpLevel0();
    const int goal = GameData::instance->getCurrentLevel().starsGoal;
    DialogLevelEnd* dialog = open(goal, 900);
    ASSERT_NE(nullptr, dialog);
    frames(70);
    ASSERT_FALSE(dialog->isSequenceDone());
    dialog->onLeftUp(dialog->getAbsoluteX() + 10, dialog->getAbsoluteY() + 10, 0);
    EXPECT_TRUE(dialog->isSequenceDone());
    EXPECT_FALSE(dialog->isMeterActive()) << "the meter stands at the final total";
    EXPECT_EQ(nullptr, dialog->getSequence());
    EXPECT_EQ(goal, shownValue(dialog, "TICKER_QUALITY"));
    EXPECT_EQ(goal, shownValue(dialog, "TICKER_GOAL"));
    EXPECT_EQ(goal, shownValue(dialog, "TICKER_NEW"));
    EXPECT_EQ(900, shownValue(dialog, "TICKER_TOTAL"));
    EXPECT_EQ(player->getTotalStars() + player->starsOffset, shownValue(dialog, "TICKER_CASH"));
    // One cake per pastry of the level (three here), each at rest.
    const int pastries = static_cast<int>(GameData::instance->getCurrentLevel().recipes.size());
    ASSERT_EQ(3, pastries);
    for (int i = 0; i < 4; ++i) {
        auto* cake = objectCast<Sprite>(dialog->getComponent("SPRITE_CAKE" + std::to_string(i)));
        ASSERT_NE(nullptr, cake);
        EXPECT_EQ(i < pastries, cake->isVisible()) << i;
        if (i < pastries) {
            EXPECT_EQ(227, cake->getY());
        }
    }
    auto* next = objectCast<Button>(dialog->getComponent("BUTTON_NEXT"));
    EXPECT_TRUE(next->isVisible() && next->isEnabled());
    EXPECT_EQ(255, next->getAlpha());
    EXPECT_EQ(0, dialog->getConfettiTimer());
    EXPECT_FALSE(visible(dialog, "LABEL_RANKSCORE"));
}

// The cakes of a won level are the pastries the level baked, each once, and
// stand centred on the dialog whatever their number.
TEST_F(LevelEndTest, TheCakesAreTheLevelsPastriesEachOnce)
{
    for (const int levelIndex : {0, 2}) {
        SCOPED_TRACE("career level " + std::to_string(levelIndex + 1));
        state().mode = 0;
        GameData::instance->startLevel(levelIndex);
        const Level& level = GameData::instance->getCurrentLevel();
        std::multiset<std::string> baked;
        for (const Recipe* recipe : level.recipes)
            baked.insert(recipe->getName());
        ASSERT_GE(baked.size(), 3u);
        DialogLevelEnd* dialog = open(level.starsGoal, 700);
        ASSERT_NE(nullptr, dialog);
        runReveal(dialog);
        std::multiset<std::string> shownCakes;
        int xs = 0;
        for (int i = 0; i < 4; ++i) {
            auto* cake = objectCast<Sprite>(dialog->getComponent("SPRITE_CAKE" + std::to_string(i)));
            ASSERT_NE(nullptr, cake);
            if (!cake->isVisible())
                continue;
            xs += cake->getX();
            for (const std::string& name : baked)
                if (cake->getImage() == imageOf(name))
                    shownCakes.insert(name);
        }
        EXPECT_EQ(baked, shownCakes);
        // The layout's four places are centred on x = 280.
        EXPECT_NEAR(280, xs / static_cast<int>(baked.size()), 1);
        scene->hideDialog(dialog);
        scene->forgetDialog(dialog);
    }
}

TEST_F(LevelEndTest, RankMeterOpensOneRankUpPerRankCrossedAndPausesTheTotal)
{
    setUpLevel0();
    RankTable* ranks = RankTable::getInstance();
    const int goal = GameData::instance->getCurrentLevel().starsGoal;
    struct Case {
        int scoreBefore;
        int sessionScore;
        std::vector<int> rankUps;
    };
    const Case cases[] = {
        {ranks->getRankScore(1) - 500, 800, {1}},
        {ranks->getRankScore(1) - 100, ranks->getRankScore(3) - ranks->getRankScore(1) + 300, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        player->score = c.scoreBefore;
        player->rank = ranks->getRankForScore(c.scoreBefore);
        player->levelScore.clear();
        player->levelStars.clear();
        DialogLevelEnd* dialog = open(goal, c.sessionScore);
        ASSERT_NE(nullptr, dialog);
        const int starsBefore = dialog->getNewTotalStars();
        // While a rank-up is open the total stands still.
        ASSERT_TRUE(waitShown("DIALOG_RANKUP", 3000));
        const int standing = shownValue(dialog, "TICKER_TOTAL");
        EXPECT_EQ(ranks->getRankScore(1), standing);
        // The score beside the full bar is the new rank's own threshold.
        auto* barScore = objectCast<Label>(dialog->getComponent("LABEL_RANKSCORE"));
        ASSERT_TRUE(barScore && barScore->isVisible());
        EXPECT_EQ(groupedNumber(ranks->getRankScore(1)), barScore->getText());
        frames(50);
        EXPECT_EQ(standing, shownValue(dialog, "TICKER_TOTAL"));
        std::vector<int> seen = runReveal(dialog);
        seen.insert(seen.begin(), 1);
        seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
        EXPECT_EQ(c.rankUps, seen);
        EXPECT_EQ(c.scoreBefore + c.sessionScore, shownValue(dialog, "TICKER_TOTAL"));
        EXPECT_EQ(player->rank, dialog->getShownRank());
        // The meter names the rank reached and the score of the next one.
        auto* current = objectCast<Label>(dialog->getComponent("LABEL_RANKCUR"));
        auto* next = objectCast<Label>(dialog->getComponent("LABEL_RANKNEW"));
        ASSERT_TRUE(current && next);
        EXPECT_EQ(ranks->getRankName(player->rank), current->getText());
        EXPECT_EQ(groupedNumber(ranks->getRankScore(player->rank + 1)), next->getText());
        // Reaching rank 2 brings its star bonus into the star total.
        const int bonus = c.rankUps.size() > 1 ? tuning().UNLOCK_STARBONUS0 : 0;
        EXPECT_EQ(starsBefore + bonus, dialog->getNewTotalStars());
        scene->forgetDialog(dialog);
    }
}

// At the top rank the meter gives way to the top-rank look: no running score.
TEST_F(LevelEndTest, AtTheTopRankTheRevealShowsNoRankScore)
{
    setUpLevel0();
    RankTable* ranks = RankTable::getInstance();
    const int top = ranks->getRankCount() - 1;
    player->score = ranks->getRankScore(top) + 100;
    player->rank = top;
    DialogLevelEnd* dialog = open(GameData::instance->getCurrentLevel().starsGoal, 500);
    ASSERT_NE(nullptr, dialog);
    bool scoreShown = false;
    for (int i = 0; i < 500 && !dialog->isSequenceDone(); ++i) {
        frame();
        scoreShown = scoreShown || visible(dialog, "LABEL_RANKSCORE");
    }
    EXPECT_TRUE(dialog->isSequenceDone());
    EXPECT_FALSE(scoreShown);
    EXPECT_EQ(top, dialog->getShownRank());
    EXPECT_FALSE(shown("DIALOG_RANKUP"));
}

TEST_F(LevelEndTest, AClickWhileARankUpIsOpenGoesOnFromTheNextRankWithoutRepeats)
{
    setUpLevel0();
    RankTable* ranks = RankTable::getInstance();
    player->score = ranks->getRankScore(1) - 100;
    player->rank = 0;
    const int goal = GameData::instance->getCurrentLevel().starsGoal;
    DialogLevelEnd* dialog = open(goal, ranks->getRankScore(3) - ranks->getRankScore(1) + 300);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(waitShown("DIALOG_RANKUP", 3000));
    frames(20);
    ASSERT_TRUE(writeScenePicture(scene.get(), "dialog_rankup.png"));
    dialog->onLeftUp(dialog->getAbsoluteX() + 10, dialog->getAbsoluteY() + 10, 0);
    EXPECT_TRUE(dialog->isSequenceDone());
    std::vector<int> seen = {objectCast<DialogRankUp>(shown("DIALOG_RANKUP"))->rank};
    for (int i = 0; i < 3000 && (dialog->hasPendingRankUps() || shown("DIALOG_RANKUP")); ++i) {
        if (auto* rankUp = objectCast<DialogRankUp>(shown("DIALOG_RANKUP")); rankUp && rankUp->rank != seen.back()) {
            seen.push_back(rankUp->rank);
            clickOn(rankUp);
        }
        frame();
    }
    EXPECT_EQ((std::vector<int>{1, 2, 3}), seen);
    EXPECT_EQ(3, dialog->getShownRank());
    EXPECT_FALSE(dialog->isMeterPaused());
}

TEST_F(LevelEndTest, RankUpClosesOnceByPressOrAfterFiveSeconds)
{
    int closes = 0;
    struct Counter : BaseObject {
        int* count;
        static int closed(void* context, BaseObject*)
        {
            ++*static_cast<Counter*>(context)->count;
            return 0;
        }
    };
    RefPointer<Counter> counter(new Counter());
    counter->count = &closes;
    for (bool press : {true, false}) {
        closes = 0;
        auto* rankUp = objectCast<DialogRankUp>(scene->getOrCreateDialog(std::string(), "DIALOG_RANKUP"));
        ASSERT_NE(nullptr, rankUp);
        rankUp->rank = 2;
        rankUp->closeCallback = GuiMethod(counter.get(), &Counter::closed);
        scene->showDialog(rankUp);
        frames(10);
        if (press)
            clickOn(rankUp);
        frames(200);
        // Pressed: gone long before the five seconds; else still there.
        EXPECT_EQ(!press, scene->isDialogShown("DIALOG_RANKUP")) << press;
        frames(300);
        EXPECT_EQ(1, closes) << press;
        EXPECT_FALSE(scene->isDialogShown("DIALOG_RANKUP")) << press;
    }
}

TEST_F(LevelEndTest, PictureOfAWonLevelsReveal)
{
    setUpLevel0();
    player->levelScore[0] = 300;
    player->levelStars[0] = 2;
    const int goal = GameData::instance->getCurrentLevel().starsGoal;
    DialogLevelEnd* dialog = open(goal + 2, 2450);
    ASSERT_NE(nullptr, dialog);
    frames(130);
    ASSERT_TRUE(writeScenePicture(scene.get(), "dialog_levelend_reveal.png"));
    runReveal(dialog);
    frames(40);
    ASSERT_TRUE(writeScenePicture(scene.get(), "dialog_levelend_done.png"));
    scene->forgetDialog(dialog);
    DialogLevelEnd* lost = open(1, 300);
    runReveal(lost);
    ASSERT_TRUE(writeScenePicture(scene.get(), "dialog_levelend_lost.png"));
}

TEST_F(LevelEndTest, TheFlagShinesAndHeadlineArePaintedIntoTheBackgroundOnce)
{
    setUpLevel0();
    const int goal = GameData::instance->getCurrentLevel().starsGoal;
    int matchingFlag[2] = {-1, -1};
    for (bool won : {true, false}) {
        SCOPED_TRACE(won ? "won" : "lost");
        DialogLevelEnd* dialog = open(won ? goal : 0, 500);
        ASSERT_NE(nullptr, dialog);
        // Painted once: the nodes no longer draw themselves.
        for (const char* name : {"SPRITE_FLAG", "SPRITE_SHINE_TOP", "SPRITE_SHINE_BOTTOM", "LABEL_RESULT"})
            EXPECT_FALSE(visible(dialog, name)) << name;
        auto* flag = objectCast<Sprite>(dialog->getComponent("SPRITE_FLAG"));
        ASSERT_NE(nullptr, flag);
        Image* picture = flag->getImage();
        Image* background = dialog->getFrameImage();
        ASSERT_TRUE(picture && background);
        ASSERT_EQ(4, picture->getBytesPerPixel());
        ASSERT_EQ(4, background->getBytesPerPixel());
        const int left = flag->getAbsoluteX() - dialog->getAbsoluteX() - static_cast<int>(flag->getAnchorPoint().x);
        const int top = flag->getAbsoluteY() - dialog->getAbsoluteY() - static_cast<int>(flag->getAnchorPoint().y);
        int opaque = 0;
        int matching = 0;
        for (int y = 0; y < picture->getHeight(); y += 5) {
            for (int x = 0; x < picture->getWidth(); x += 5) {
                const uint32_t source = picture->row32(y)[x];
                if ((source >> 24) != 0xFF)
                    continue;
                ++opaque;
                matching += (background->row32(top + y)[left + x] & 0xFFFFFF) == (source & 0xFFFFFF);
            }
        }
        ASSERT_GT(opaque, 20);
        matchingFlag[won ? 1 : 0] = matching;
        scene->forgetDialog(dialog);
    }
    // Only a won level has its flag (the shines and the headline lie over part of it).
    EXPECT_LT(matchingFlag[0], 10);
    EXPECT_GT(matchingFlag[1], 60);
    ASSERT_TRUE(writeScenePicture(scene.get(), "dialog_levelend_painted.png"));
}

TEST_F(LevelEndTest, AnExamShowsItsVerdictAndRewardsItsStarsOnlyTheFirstTime)
{
    state().mode = 0;
    int exam = 0;
    for (; exam < state().levelManager.getLevelCount(); ++exam) {
        state().levelManager.selectLevel(exam);
        if (GameData::instance->isExamLevel())
            break;
    }
    ASSERT_TRUE(GameData::instance->isExamLevel());
    GameData::instance->startLevel(exam);
    const Level& level = GameData::instance->getCurrentLevel();
    ASSERT_GT(level.starsReward, 0);
    const int goal = level.starsGoal;
    struct Case {
        const char* name;
        bool won;
        bool skip;
        bool newRow;        // the reward is shown as new stars
        int newStars;       // what the attempt adds to the star total
        int recordedStars;  // the exam's stars in the profile afterwards
    };
    const Case cases[] = {
        {"lost", false, false, false, level.starsReward, 0},
        {"first win", true, false, true, level.starsReward, level.starsReward},
        // A passed exam pays once: the star total does not count the reward again.
        {"second win", true, false, false, 0, level.starsReward},
        {"third win, cut short", true, true, false, 0, level.starsReward},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int totalBefore = player->getTotalStars() + player->starsOffset;
        DialogLevelEnd* dialog = open(c.won ? goal + 2 : 0, 700);
        ASSERT_NE(nullptr, dialog);
        EXPECT_EQ(-1, dialog->getStarsEarned());
        EXPECT_EQ(-1, dialog->getMissedStars());
        EXPECT_EQ(c.newStars, dialog->getNewStars());
        if (c.skip) {
            frames(60);
            dialog->onLeftUp(dialog->getAbsoluteX() + 10, dialog->getAbsoluteY() + 10, 0);
        } else {
            runReveal(dialog);
        }
        ASSERT_TRUE(dialog->isSequenceDone());
        // The star rows of a career level never appear on an exam.
        for (const char* row : {"LABEL_QUALITY", "LABEL_PREVIOUS", "LABEL_GOAL", "LABEL_MISSED", "LABEL_FAILED"})
            EXPECT_FALSE(visible(dialog, row)) << row;
        EXPECT_EQ(c.won, visible(dialog, "LABEL_EXAMSUCCESS"));
        EXPECT_EQ(!c.won, visible(dialog, "LABEL_EXAMFAILURE"));
        EXPECT_EQ(c.newRow, visible(dialog, "LABEL_NEW"));
        if (c.newRow) {
            EXPECT_EQ(level.starsReward, shownValue(dialog, "TICKER_NEW"));
        }
        EXPECT_EQ(c.recordedStars, player->levelStars[level.levelIndex]);
        if (c.won) {
            EXPECT_EQ(player->getTotalStars() + player->starsOffset, shownValue(dialog, "TICKER_CASH"));
        } else {
            EXPECT_EQ(totalBefore, player->getTotalStars() + player->starsOffset);
        }
        EXPECT_EQ(c.won, visible(dialog, "BUTTON_NEXT"));
        EXPECT_EQ(!c.won, visible(dialog, "BUTTON_RESTART"));
        scene->forgetDialog(dialog);
    }
}

TEST_F(LevelEndTest, EveryRankWithAStarBonusAddsItToTheStarTotalAndTheOthersNone)
{
    setUpLevel0();
    RankTable* ranks = RankTable::getInstance();
    const TuningTable& t = tuning();
    const int goal = GameData::instance->getCurrentLevel().starsGoal;
    const int bonusAt[] = {0, 0, t.UNLOCK_STARBONUS0, 0, t.UNLOCK_STARBONUS1, 0, t.UNLOCK_STARBONUS2, 0,
                           t.UNLOCK_STARBONUS3, 0, 0, 0};
    const int top = std::min(ranks->getRankCount() - 1, static_cast<int>(std::size(bonusAt)) - 1);
    ASSERT_GE(top, 8);
    for (int rank = 1; rank <= top; ++rank) {
        SCOPED_TRACE(rank);
        player->score = ranks->getRankScore(rank) - 50;
        player->rank = rank - 1;
        player->levelScore.clear();
        player->levelStars.clear();
        const int offsetBefore = player->starsOffset;
        DialogLevelEnd* dialog = open(goal, 100);
        ASSERT_NE(nullptr, dialog);
        // The profile gets the bonus with the rank ...
        EXPECT_EQ(offsetBefore + bonusAt[rank], player->starsOffset);
        const int starsBefore = dialog->getNewTotalStars();
        ASSERT_TRUE(waitShown("DIALOG_RANKUP", 3000));
        clickOn(shown("DIALOG_RANKUP"));
        runReveal(dialog);
        // ... and the dialog's star total counts it in once the rank-up closes.
        EXPECT_EQ(starsBefore + bonusAt[rank], dialog->getNewTotalStars());
        EXPECT_EQ(starsBefore + bonusAt[rank], shownValue(dialog, "TICKER_CASH"));
        EXPECT_EQ(rank, dialog->getShownRank());
        scene->forgetDialog(dialog);
    }
}


namespace {

// The results stand after the level's play: nobody on screen says the hint.
class ResultsStandIn : public Phase {
public:
    void enter() override {}
};

// The pieces of the results a hint must leave in sight: the title and its
// ribbon, the theme and level lines, the pastries (as high as they hop), the
// star rows and "Your stars", the score rows, the rank meter (rank name, the
// next rank's score, the running score, the tube) and the buttons. Lines of
// text count by their ink, pictures by their whole box.
std::vector<std::pair<std::string, ScreenBox>> resultSights(Scene* scene, DialogLevelEnd* dialog, int hopHeight)
{
    std::vector<std::pair<std::string, ScreenBox>> sights;
    // Painted into the dialog's frame once shown: their nodes keep the place.
    for (const char* name : {"LABEL_RESULT", "SPRITE_FLAG"})
        if (auto* sprite = dynamic_cast<Sprite*>(dialog->getComponent(name)))
            sights.push_back({name, screenBoxOf(sprite)});
    auto addLine = [&](const std::string& name, GameNode* node) {
        auto* label = dynamic_cast<Sprite*>(node);
        if (!label || !label->isVisible())
            return;
        const ScreenBox ink = inkBoxOf(scene, label);
        sights.push_back({name, ink.isEmpty() ? screenBoxOf(label) : ink});
    };
    for (const char* name : {"LABEL_THEME", "LABEL_LEVEL", "LABEL_QUALITY", "LABEL_PREVIOUS", "LABEL_GOAL", "LABEL_NEW",
                             "LABEL_MISSED", "LABEL_FAILED", "LABEL_EXAMSUCCESS", "LABEL_EXAMFAILURE", "LABEL_CASH",
                             "LABEL_SCORE", "LABEL_TOTAL", "LABEL_RANKCUR", "LABEL_RANKNEW", "LABEL_RANKSCORE",
                             "LABEL_RANKMAX"})
        addLine(name, dialog->getComponent(name));
    // The rows' numbers live under their counters.
    for (const char* name : {"TICKER_QUALITY", "TICKER_PREVIOUS", "TICKER_GOAL", "TICKER_NEW", "TICKER_MISSED",
                             "TICKER_CASH", "TICKER_SCORE", "TICKER_TOTAL"})
        if (LabelTicker* ticker = dialog->getTicker(name))
            addLine(name, ticker->getLabel());
    for (const char* name : {"SPRITE_QUALITY_STAR", "SPRITE_PREVIOUS_STAR", "SPRITE_GOAL_STAR", "SPRITE_NEW_STAR",
                             "SPRITE_MISSED_STAR", "SPRITE_STAR", "SPRITE_RANKBARUNDER", "SPRITE_RANKBAREMPTY",
                             "SPRITE_RANKBARFULL", "SPRITE_RANKBARTOP", "SPRITE_RANKMAX", "BUTTON_NEXT",
                             "BUTTON_RESTART", "BUTTON_STOP"}) {
        auto* sprite = dynamic_cast<Sprite*>(dialog->getComponent(name));
        if (sprite && sprite->isVisible())
            sights.push_back({name, screenBoxOf(sprite)});
    }
    for (int i = 0; i < 4; ++i) {
        auto* cake = dynamic_cast<Sprite*>(dialog->getComponent("SPRITE_CAKE" + std::to_string(i)));
        if (!cake || !cake->isVisible())
            continue;
        ScreenBox box = screenBoxOf(cake);
        box.top -= hopHeight;
        sights.push_back({cake->getName(), box});
    }
    return sights;
}

} // namespace

// Every hint the results can show stands clear of their title, lines,
// pastries, rows, rank meter and buttons.
TEST_F(LevelEndTest, TheRankMeterHintStandsClearOfEveryFigureOfTheResults)
{
    state().mode = 0;
    GameData::instance->startLevel(1);
    player->rank = 0;
    player->levelStars[0] = 3;
    scene->setPhase(new ResultsStandIn(), false);
    const int goal = GameData::instance->getCurrentLevel().starsGoal;
    DialogLevelEnd* dialog = open(goal + 1, 1800);
    ASSERT_NE(nullptr, dialog);
    runReveal(dialog);
    ASSERT_TRUE(waitShown("DIALOG_HINT"));
    auto* hint = objectCast<DialogHint>(shown("DIALOG_HINT"));
    ASSERT_NE(nullptr, hint);
    EXPECT_EQ("HINT_RANKMETER", hint->hintName);
    frames(80);
    ASSERT_TRUE(writeScenePicture(scene.get(), "hint_results_HINT_RANKMETER.png"));
    Sprite* hand = hint->getHand();
    hint->setVisible(false);
    if (hand)
        hand->setVisible(false);
    const auto sights = resultSights(scene.get(), dialog, 0);
    hint->setVisible(true);
    if (hand)
        hand->setVisible(true);
    // The won level's rows all stand: a missing one would be checked by nobody.
    for (const char* name : {"LABEL_RESULT", "SPRITE_FLAG", "LABEL_THEME", "LABEL_LEVEL", "SPRITE_CAKE0",
                             "LABEL_QUALITY", "TICKER_QUALITY", "LABEL_CASH", "TICKER_CASH", "LABEL_SCORE",
                             "TICKER_TOTAL", "LABEL_RANKCUR", "LABEL_RANKNEW", "SPRITE_RANKBARUNDER",
                             "BUTTON_NEXT"}) {
        EXPECT_TRUE(std::any_of(sights.begin(), sights.end(), [&](const auto& sight) { return sight.first == name; }))
            << name << " is not in sight";
    }
    for (const auto& [name, box] : sights) {
        EXPECT_EQ(0, pixelsCoveredBy(scene.get(), {hint}, box)) << "the bubble covers " << name << " " << box.text();
        if (hand) {
            EXPECT_EQ(0, pixelsCoveredBy(scene.get(), {hand}, box)) << "the hand covers " << name << " " << box.text();
        }
    }
}

// The pastries drop in and hop now and then below the theme and level lines:
// at no moment of the reveal or of their hops does a pastry's pixel fall on
// those lines, whatever the theme's pastries (the tallest first).
TEST_F(LevelEndTest, ThePastriesHopBelowTheThemeAndLevelLines)
{
    for (int levelIndex : {4, 0, 16}) {
        SCOPED_TRACE("level " + std::to_string(levelIndex));
        state().mode = 0;
        GameData::instance->startLevel(levelIndex);
        scene->setPhase(new ResultsStandIn(), false);
        player->setHintSeen("HINT_RANKMETER");
        const int goal = GameData::instance->getCurrentLevel().starsGoal;
        DialogLevelEnd* dialog = open(goal + 1, 1800);
        ASSERT_NE(nullptr, dialog);
        std::vector<GameNode*> cakes;
        for (int i = 0; i < 4; ++i)
            cakes.push_back(dialog->getComponent("SPRITE_CAKE" + std::to_string(i)));
        int worst = 0;
        bool pictured = false;
        // The pastries rise into place from below, so a pastry moving down is
        // coming back from a hop: the run lasts until one has hopped.
        std::vector<int> lastY(cakes.size(), INT_MIN);
        bool hopped = false;
        for (int ms = 0; ms < 16000 && (ms < 8000 || !hopped); ms += 60) {
            frames(3);
            for (size_t i = 0; i < cakes.size(); ++i) {
                if (!cakes[i] || !cakes[i]->isVisible())
                    continue;
                hopped = hopped || (lastY[i] != INT_MIN && cakes[i]->getY() > lastY[i]);
                lastY[i] = cakes[i]->getY();
            }
            std::vector<ScreenBox> lines;
            for (const char* name : {"LABEL_THEME", "LABEL_LEVEL"}) {
                auto* label = dynamic_cast<Sprite*>(dialog->getComponent(name));
                if (label && label->isVisible())
                    lines.push_back(screenBoxOf(label));
            }
            if (lines.empty())
                continue;
            RefPointer<Image> with = renderedScene(scene.get());
            std::vector<bool> shown;
            for (GameNode* cake : cakes) {
                shown.push_back(cake && cake->isVisible());
                if (cake)
                    cake->setVisible(false);
            }
            RefPointer<Image> without = renderedScene(scene.get());
            for (size_t i = 0; i < cakes.size(); ++i)
                if (cakes[i])
                    cakes[i]->setVisible(shown[i]);
            for (const ScreenBox& line : lines) {
                const int covered = changedPixelsInside(with.get(), without.get(), line);
                if (covered > worst && !pictured) {
                    ASSERT_TRUE(writeScenePicture(scene.get(), "dialog_levelend_cakes_over_lines_" +
                                                                   std::to_string(levelIndex) + ".png"));
                    pictured = true;
                }
                worst = std::max(worst, covered);
            }
        }
        EXPECT_TRUE(hopped) << "no pastry hopped within 16 s";
        EXPECT_EQ(0, worst) << "pastry pixels on the theme or level line";
        if (levelIndex == 4) {
            ASSERT_TRUE(writeScenePicture(scene.get(), "dialog_levelend_birthday.png"));
        }
        // A rank-up opened by the reveal closes before the results go.
        runReveal(dialog);
        scene->forgetDialog(dialog);
        frames(20);
    }
}
