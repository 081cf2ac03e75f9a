// A level through its phases on the real layout and data, with a fake board.
#include <typeinfo>
#include <vector>

#include "ProductionFixture.h"
#include "framework/core/PropertyNode.h"
#include "framework/gui/Dialog.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/Trophies.h"
#include "game/effects/LabelTicker.h"
#include "game/production/Countertop.h"
#include "game/production/CountertopController.h"
#include "game/production/LevelSigns.h"
#include "game/production/PhaseEnd.h"
#include "game/production/PhaseIntro.h"
#include "game/production/PhasePlay.h"
#include "game/production/PlateStack.h"
#include "support/GameDataFixtures.h"

namespace {

std::string phaseName(Phase* phase)
{
    if (!phase)
        return "none";
    if (dynamic_cast<PhaseIntro*>(phase))
        return "intro";
    if (dynamic_cast<PhasePlay*>(phase))
        return "play";
    if (dynamic_cast<PhaseEnd*>(phase))
        return "end";
    if (dynamic_cast<PhaseResults*>(phase))
        return "results";
    if (dynamic_cast<PhaseIdle*>(phase))
        return "idle";
    return "other";
}

class PhasesTest : public ProductionTest {
protected:
    // Frames until the phase changes; the names in the order they were seen.
    std::vector<std::string> phasesUntil(const std::string& last, int maxFrames = 3000)
    {
        std::vector<std::string> seen{phaseName(phase())};
        for (int i = 0; i < maxFrames && seen.back() != last; ++i) {
            frame();
            if (phaseName(phase()) != seen.back())
                seen.push_back(phaseName(phase()));
        }
        return seen;
    }
};

TEST_F(PhasesTest, CareerLevelRunsIntroPlayEndAndResultsInOrder)
{
    state().mode = 0;
    GameData::instance->startLevel(0);
    const int pastries = static_cast<int>(state().order.size());
    scene->startLevel();
    EXPECT_EQ("intro", phaseName(phase()));
    // The intro drops one plate per pastry and fills the board before play.
    PlateStack* plates = phase()->getPieces()->plateStack.get();
    ASSERT_NE(nullptr, plates);
    EXPECT_EQ(pastries, plates->getCount());
    EXPECT_EQ((std::vector<std::string>{"intro", "play"}), phasesUntil("play"));
    ASSERT_TRUE(scene->board);
    EXPECT_EQ((std::vector<std::string>{"showCells", "attachCells", "runPlacementPass"}), scene->board->calls);
    EXPECT_TRUE(scene->saveOnLeave);
    int shown = 0;
    for (GameNode* plate = node("NODE_PLATES")->getFirstChild(); plate; plate = plate->getNextSibling())
        shown += plate->isVisible() ? 1 : 0;
    EXPECT_EQ(pastries, shown);

    // Serve the order: the level ends once the countertop is empty.
    state().order.clear();
    ASSERT_TRUE(runUntil([this] { return state().levelOver; }));
    EXPECT_EQ((std::vector<std::string>{"play", "end", "results"}), phasesUntil("results"));
    EXPECT_FALSE(scene->saveOnLeave);
    EXPECT_EQ(1, scene->deletedSaves);
    EXPECT_EQ((std::vector<std::string>{"showCells", "attachCells", "runPlacementPass", "finishCombo", "clearMatchHint",
                                        "dropAllCells"}),
              scene->board->calls);
    // Lost (no stars): one try, nothing else recorded.
    EXPECT_EQ(1, player->levelTries[0]);
    EXPECT_EQ(0, player->levelScore[0]);
}

// Without an end delay nothing rings the customer's last words away: the end
// waits for the player to dismiss them.
TEST_F(PhasesTest, WithoutAnEndDelayTheEndWaitsForThePlayerToDismissTheCustomer)
{
    setTuningInt("END_DELAY", 0);
    state().mode = 0;
    GameData::instance->startLevel(0);
    scene->startLevel();
    ASSERT_EQ("play", phasesUntil("play").back());
    answerCustomerHints = false;
    state().order.clear();
    ASSERT_EQ("end", phasesUntil("end").back());
    ASSERT_TRUE(runUntil([this] { return scene->isDialogShown("DIALOG_CUSTOMERHINT"); }, 500));
    frames(200);
    EXPECT_EQ("end", phaseName(phase()));
    answerCustomerHints = true;
    EXPECT_EQ("results", phasesUntil("results").back());
}

TEST_F(PhasesTest, CareerLevelEndsWinDelayAfterTheFlagAndAtOnceWithoutADelay)
{
    startCareerLevel(0);
    state().levelOver = true;
    const int delay = tuning().WIN_DELAY;
    ASSERT_GT(delay, 40);
    frames(delay / 20 - 1);
    EXPECT_EQ("play", phaseName(phase()));
    frame();
    EXPECT_EQ("end", phaseName(phase()));

    // A win delay of 0 would leave the level running for ever: it ends at once.
    startCareerLevel(0);
    setTuningInt("WIN_DELAY", 0);
    RefPointer<Phase> play(new PhasePlay(*phase()->getPieces()));
    scene->setPhase(play, false);
    state().levelOver = true;
    frame();
    EXPECT_EQ("end", phaseName(phase()));
}

TEST_F(PhasesTest, PendingTrophyHoldsTheEndAndPauseFreezesTheCountdowns)
{
    startCareerLevel(0);
    state().levelOver = true;
    scene->trophyWaiting = true;
    frames(200);
    EXPECT_EQ("play", phaseName(phase()));
    EXPECT_TRUE(scene->isPaused());
    // Paused: neither the win countdown nor the countertop's clocks move.
    scene->trophyWaiting = false;
    auto* play = dynamic_cast<PhasePlay*>(phase());
    const int remaining = play->getWinRemaining();
    const int pastryClock = countertop()->getController()->getPastryCountdown().remaining;
    state().playSessionInfo.score = 900;
    frames(100);
    EXPECT_EQ(remaining, play->getWinRemaining());
    EXPECT_EQ(0.0, levelsigns::scoreTicker()->getValue());
    EXPECT_EQ(pastryClock, countertop()->getController()->getPastryCountdown().remaining);
    scene->requestResume();
    frame();
    EXPECT_FALSE(scene->isPaused());
    frames(10);
    EXPECT_LT(0.0, levelsigns::scoreTicker()->getValue());
    EXPECT_TRUE(runUntil([this] { return phaseName(phase()) == "end"; }, 200));
}

TEST_F(PhasesTest, RestartRunsTheIntroAgainAndLeavingGoesToTheMap)
{
    startCareerLevel(0);
    state().order.clear();
    phasesUntil("results");
    state().playSessionInfo.score = 500;
    auto* results = dynamic_cast<PhaseResults*>(phase());
    ASSERT_NE(nullptr, results);
    results->restartOrLeave(0);
    EXPECT_EQ("intro", phaseName(phase()));
    EXPECT_EQ(0, state().playSessionInfo.score);
    EXPECT_EQ(GameData::instance->getCurrentLevel().recipes.size(), state().order.size());
    EXPECT_EQ(static_cast<int>(state().order.size()), phase()->getPieces()->plateStack->getCount());
    EXPECT_EQ((std::vector<std::string>{"intro", "play"}), phasesUntil("play"));

    // Leaving: any answer of the results dialog but a restart leaves.
    state().order.clear();
    const int left = scene->leftGame;
    phasesUntil("results");
    EXPECT_EQ(left, scene->leftGame);
    dynamic_cast<PhaseResults*>(phase())->restartOrLeave(1);
    EXPECT_EQ(left + 1, scene->leftGame);
}

TEST_F(PhasesTest, LevelSavedMidPlayResumesWithTheSameCountertopBoardAndClock)
{
    startCareerLevel(0);
    ASSERT_TRUE(runUntil([this] { return static_cast<bool>(countertop()->getPastry(1)); }));
    RefPointer<Pastry> first = countertop()->getPastry(0);
    const std::string ingredient = first->ingredients[0].name;
    ASSERT_TRUE(countertop()->deliverIngredients({ingredient, 0, 0}, false, 400, 100, 0, 3));
    frames(60);
    state().playSessionInfo.score = 1234;
    state().playSessionInfo.starCount = 3;
    state().playSessionInfo.startTime = PlaySessionInfo::currentCalendarTime() - 90;
    const int queued = static_cast<int>(state().order.size());
    const int amount = first->ingredients[0].amount;
    const std::string recipe = first->recipe->getName();

    RefPointer<PropertyNode> saved(new PropertyNode("game", "Node"));
    GameData::instance->saveGame(saved.get());
    scene->hide();
    EXPECT_EQ("idle", phaseName(phase()));
    EXPECT_FALSE(scene->saveOnLeave);
    GameData::instance->startLevel(3);
    GameData::instance->loadGame(saved.get());

    scene->resumeLevel();
    EXPECT_EQ("play", phaseName(phase()));
    ASSERT_NE(nullptr, countertop());
    RefPointer<Pastry> restored = countertop()->getPastry(0);
    ASSERT_TRUE(restored);
    EXPECT_EQ(recipe, restored->recipe->getName());
    EXPECT_EQ(amount, restored->ingredients[0].amount);
    EXPECT_TRUE(countertop()->getPastry(1));
    EXPECT_EQ(queued, static_cast<int>(state().order.size()));
    EXPECT_TRUE(countertop()->getSpotNode(0)->isVisible());
    EXPECT_TRUE(spotChild(0, "INGREDIENT0")->isVisible());
    // The resumed board is put back on its nodes, and the score shows at once.
    EXPECT_EQ((std::vector<std::string>{"attachCells", "runPlacementPass"}), scene->board->calls);
    LabelTicker* ticker = levelsigns::scoreTicker();
    ASSERT_NE(nullptr, ticker);
    EXPECT_EQ(1234.0, ticker->getValue());
    auto* score = dynamic_cast<Label*>(ticker->getLabel());
    ASSERT_NE(nullptr, score);
    EXPECT_EQ(formatGroupedNumber(1234, getDigitGroupingSymbol()), score->getText());
    EXPECT_EQ(3, state().playSessionInfo.starCount);
    EXPECT_GE(PlaySessionInfo::currentCalendarTime() - state().playSessionInfo.startTime, 90);
    // Play goes on: the next pastry still comes.
    const int before = static_cast<int>(state().order.size());
    EXPECT_TRUE(runUntil([&] { return static_cast<int>(state().order.size()) < before; }));
}

struct RecordCase {
    const char* name;
    int stars;        // the session's stars against the level's goal (+ or -)
    int recordedScore;
    bool expectWon;
    int expectTries;
};

TEST_F(PhasesTest, ResultsRecordWinsAndLossesInTheProfile)
{
    state().mode = 0;
    GameData::instance->startLevel(0);
    const int goal = GameData::instance->getCurrentLevel().starsGoal;
    const RecordCase cases[] = {
        {"exactly the goal wins", 0, 0, true, 1},
        {"one short loses and counts a try", -1, 0, false, 1},
        {"a loss after a recorded score counts no try", -1, 700, false, 0},
    };
    for (const RecordCase& c : cases) {
        SCOPED_TRACE(c.name);
        player->levelTries.clear();
        player->levelScore.clear();
        player->levelScore[0] = c.recordedScore;
        player->arcadeState.clear();
        player->arcadeSet0Notice = false;
        // The level is the highest one reached already: winning it again is no new level.
        player->highestLevelReached = 0;
        player->newLevelNotice = true;
        state().playSessionInfo.starCount = goal + c.stars;
        EXPECT_EQ(c.expectWon, PhaseEnd::isLevelWon());
        PhaseResults::recordLevel(PhaseEnd::isLevelWon());
        EXPECT_EQ(c.expectTries, player->levelTries[0]);
        EXPECT_EQ(0, player->highestLevelReached);
        EXPECT_FALSE(player->newLevelNotice);
        // Winning level 0 for the first time opens the first arcade set.
        EXPECT_EQ(c.expectWon && c.recordedScore == 0, player->arcadeSet0Notice);
    }
    state().mode = 1;
    state().playSessionInfo.starCount = 1000;
    EXPECT_FALSE(PhaseEnd::isLevelWon());
}

TEST_F(PhasesTest, PassingSeveralRanksGivesEveryStepsRewardInOrder)
{
    state().mode = 0;
    GameData::instance->startLevel(1);
    RankTable* ranks = RankTable::getInstance();
    ASSERT_GE(ranks->getRankCount(), 4);
    player->rank = 0;
    player->score = 0;
    player->starsOffset = 0;
    state().playSessionInfo.starCount = GameData::instance->getCurrentLevel().starsGoal;
    state().playSessionInfo.score = ranks->getRankScore(3);
    PhaseResults::recordLevel(true);
    EXPECT_EQ(3, player->rank);
    EXPECT_TRUE(player->hasToolLevel(0));
    EXPECT_TRUE(player->toolLevel0Notice);
    EXPECT_EQ(tuning().UNLOCK_STARBONUS0, player->starsOffset);
    EXPECT_EQ(1, player->arcadeState[1]);
    EXPECT_FALSE(player->starBonus1Notice);
    EXPECT_EQ(1, player->getTrophies()->getState(5));
    EXPECT_EQ(1, player->highestLevelReached);
    EXPECT_TRUE(player->newLevelNotice);
    EXPECT_EQ(ranks->getRankScore(3), player->levelScore[1]);
}

TEST_F(PhasesTest, EachRankStepGivesItsOwnRewardAndStepsAboveTheTableNothing)
{
    state().mode = 0;
    GameData::instance->startLevel(1);
    RankTable* ranks = RankTable::getInstance();
    const TuningTable& t = tuning();
    struct Step {
        int step;
        int starBonus;
        std::vector<int> arcadeSets;
        int toolLevel; // -1: none
        int trophy;    // -1: none
        bool TortelunePlayer::*notice;
    };
    const Step steps[] = {
        {0, 0, {}, 0, 5, &TortelunePlayer::toolLevel0Notice},
        {1, t.UNLOCK_STARBONUS0, {}, -1, -1, &TortelunePlayer::starBonus0Notice},
        {2, 0, {1}, -1, -1, &TortelunePlayer::arcadeSet1Notice},
        {3, t.UNLOCK_STARBONUS1, {}, -1, -1, &TortelunePlayer::starBonus1Notice},
        {4, 0, {2, 3}, -1, -1, &TortelunePlayer::arcadeSets2And3Notice},
        {5, t.UNLOCK_STARBONUS2, {}, -1, -1, &TortelunePlayer::starBonus2Notice},
        {6, 0, {}, 1, 1, &TortelunePlayer::toolLevel1Notice},
        {7, t.UNLOCK_STARBONUS3, {}, -1, -1, &TortelunePlayer::starBonus3Notice},
        {8, 0, {4, 5}, -1, 6, &TortelunePlayer::arcadeSets4And5Notice},
        {9, 0, {}, -1, -1, nullptr},
        {10, 0, {}, -1, -1, nullptr},
    };
    for (const Step& c : steps) {
        if (c.step + 1 >= ranks->getRankCount())
            break;
        SCOPED_TRACE(c.step);
        // A fresh profile one level win below rank step + 1.
        player->rank = c.step;
        player->score = ranks->getRankScore(c.step + 1) - 10;
        player->starsOffset = 0;
        player->arcadeState.clear();
        player->toolLevels.clear();
        for (int trophy = 0; trophy < player->getTrophies()->getCount(); ++trophy)
            player->getTrophies()->setState(trophy, 0);
        for (bool TortelunePlayer::*flag :
             {&TortelunePlayer::toolLevel0Notice, &TortelunePlayer::starBonus0Notice,
              &TortelunePlayer::arcadeSet1Notice, &TortelunePlayer::starBonus1Notice,
              &TortelunePlayer::arcadeSets2And3Notice, &TortelunePlayer::starBonus2Notice,
              &TortelunePlayer::toolLevel1Notice, &TortelunePlayer::starBonus3Notice,
              &TortelunePlayer::arcadeSets4And5Notice})
            player->*flag = false;
        state().playSessionInfo.starCount = GameData::instance->getCurrentLevel().starsGoal;
        state().playSessionInfo.score = 20;
        PhaseResults::recordLevel(true);
        EXPECT_EQ(c.step + 1, player->rank);
        EXPECT_EQ(c.starBonus, player->starsOffset);
        int unlocked = 0;
        for (const auto& [set, open] : player->arcadeState)
            unlocked += open == 1 ? 1 : 0;
        EXPECT_EQ(static_cast<int>(c.arcadeSets.size()), unlocked);
        for (int set : c.arcadeSets)
            EXPECT_EQ(1, player->arcadeState[set]) << "set " << set;
        EXPECT_EQ(c.toolLevel == 0, player->hasToolLevel(0));
        EXPECT_EQ(c.toolLevel == 1, player->hasToolLevel(1));
        for (int trophy : {1, 5, 6})
            EXPECT_EQ(trophy == c.trophy ? 1 : 0, player->getTrophies()->getState(trophy)) << "trophy " << trophy;
        if (c.notice) {
            EXPECT_TRUE(player->*c.notice);
        }
    }
}

TEST_F(PhasesTest, LeavingTheResultsClosesTheLevelResultsAndRankUpButNotTheArcadeResults)
{
    for (const char* name : {"DIALOG_ARCADE_END", "DIALOG_LEVEL_END", "DIALOG_RANKUP"}) {
        Dialog* dialog = scene->getOrCreateDialog(name, name);
        ASSERT_NE(nullptr, dialog) << name;
        scene->showDialog(dialog);
    }
    RefPointer<PhaseResults> results(new PhaseResults());
    results->leave();
    EXPECT_FALSE(scene->isDialogShown("DIALOG_LEVEL_END"));
    EXPECT_FALSE(scene->isDialogShown("DIALOG_RANKUP"));
    EXPECT_EQ(nullptr, scene->getDialog("DIALOG_LEVEL_END"));
    EXPECT_TRUE(scene->isDialogShown("DIALOG_ARCADE_END"));
    scene->forgetDialog(scene->getDialog("DIALOG_ARCADE_END"));
}

} // namespace
